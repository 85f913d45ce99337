#include "web/traced_index.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "instrument/scene_edit.h"
#include "scene/run_time_error.h"
#include "tracing/canvas_bounds.h"
#include "tracing/plotter.h"
#include "tracing/traces.h"

namespace kaldra {

namespace {

// A canvas that keeps no picture: the points that land on it go to its plot
// sink, and the pixel each one writes goes to one row that every row of the
// surface shares (a stride of 0), so recording touches a row of memory, not
// a whole canvas. The traces draw no lines and no text.
class PlotRecorder final : public Canvas {
 public:
  PlotRecorder(int width, int height) : row_(static_cast<std::size_t>(width)) {
    AttachSurface({row_.data(), width, height, 0});
  }
  void BackColor(Color /*color*/) override {}
  void Line(float /*x1*/, float /*y1*/, float x2, float y2) override { SetCurrentPosition(x2, y2); }
  void Print(std::string_view /*text*/) override {}

 private:
  std::vector<std::uint32_t> row_;
};

// The record's numbers, little-endian on every machine WebAssembly runs on.
template <typename T>
void Put(std::string& out, T value) {
  static_assert(std::is_trivially_copyable_v<T>);
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

// Reads the next value, or says there is none left.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  template <typename T>
  bool Get(T& value) {
    if (rest_.size() < sizeof(T)) return false;
    std::memcpy(&value, rest_.data(), sizeof(T));
    rest_.remove_prefix(sizeof(T));
    return true;
  }
  bool Get(std::string& text, std::uint32_t size) {
    if (rest_.size() < size) return false;
    text.assign(rest_.substr(0, size));
    rest_.remove_prefix(size);
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }
  std::size_t Left() const { return rest_.size(); }

 private:
  std::string_view rest_;
};

constexpr std::size_t kPointBytes = 2 * sizeof(float) + sizeof(Color);

}  // namespace

TracedIndex TraceIndex(const Scene& scene, int width, int height, int k) {
  PlotRecorder recorder(width, height);
  Plotter out(recorder);
  const CanvasBounds bounds = CanvasBounds::Around(width, height);
  const int per_sweep = scene.Count() - 1;
  const auto trace = k < per_sweep ? TracePairOfSweepOne : TracePairOfSweepTwo;
  const auto outer = static_cast<std::int16_t>(k % per_sweep);
  TracedIndex traced;
  try {
    for (std::int16_t j = CheckedAdd(outer, 1); j < scene.SegCount(); j = CheckedAdd(j, 1)) {
      traced.pairs.push_back({j, {}});
      recorder.SetPlotSink(&traced.pairs.back().points);
      trace({scene, out, bounds, outer, j, Skipping::kOn});
    }
  } catch (const RunTimeError& e) {
    traced.fault = e.what();
  }
  recorder.SetPlotSink(nullptr);
  return traced;
}

std::vector<double> SceneNumbers(const Scene& scene) {
  std::vector<double> numbers = {scene.Width(), scene.Height()};
  for (const EditEnds& e : SegmentsOf(scene)) {
    numbers.insert(numbers.end(), {e.first_x, e.first_y, e.second_x, e.second_y});
  }
  return numbers;
}

std::optional<Scene> SceneFromNumbers(std::span<const double> numbers) {
  if (numbers.size() < 2 || numbers.size() % 4 != 2) return std::nullopt;
  EditedSegments segments;
  for (std::size_t k = 2; k < numbers.size(); k += 4) {
    segments.push_back({numbers[k], numbers[k + 1], numbers[k + 2], numbers[k + 3]});
  }
  return JudgeSegments(segments, -1, numbers[0], numbers[1]).scene;
}

std::string ToBytes(const TracedIndex& traced) {
  std::size_t size = 8 + traced.fault.size();
  for (const TracedIndex::Pair& pair : traced.pairs) size += 8 + pair.points.size() * kPointBytes;
  std::string out;
  out.reserve(size);
  Put(out, static_cast<std::uint32_t>(traced.fault.size()));
  out += traced.fault;
  Put(out, static_cast<std::uint32_t>(traced.pairs.size()));
  for (const TracedIndex::Pair& pair : traced.pairs) {
    Put(out, static_cast<std::uint32_t>(pair.j));
    Put(out, static_cast<std::uint32_t>(pair.points.size()));
    for (const PlotPoint& p : pair.points) {
      Put(out, p.x);
      Put(out, p.y);
      Put(out, p.color);
    }
  }
  return out;
}

std::optional<TracedIndex> FromBytes(std::string_view bytes) {
  Reader in(bytes);
  TracedIndex traced;
  std::uint32_t fault_size = 0;
  std::uint32_t pairs = 0;
  if (!in.Get(fault_size) || !in.Get(traced.fault, fault_size) || !in.Get(pairs)) {
    return std::nullopt;
  }
  for (std::uint32_t k = 0; k < pairs; ++k) {
    std::uint32_t j = 0;
    std::uint32_t points = 0;
    if (!in.Get(j) || !in.Get(points) || in.Left() / kPointBytes < points) return std::nullopt;
    TracedIndex::Pair& pair = traced.pairs.emplace_back();
    pair.j = static_cast<int>(j);
    pair.points.resize(points);
    for (PlotPoint& p : pair.points) {
      in.Get(p.x);
      in.Get(p.y);
      in.Get(p.color);
    }
  }
  if (!in.AtEnd()) return std::nullopt;
  return traced;
}

}  // namespace kaldra
