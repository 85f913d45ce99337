#include "tools/scene_file.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

#include "scene/canvas.h"
#include "scene/run_time_error.h"

namespace kaldra {

namespace {

// The loader places each accepted segment with PlaceSegment, as the generation
// does, so that the normal form comes from the same code; the drawing that
// comes with it goes nowhere.
class NullCanvas final : public Canvas {
 public:
  void BackColor(Color /*color*/) override {}
  void Line(float /*x1*/, float /*y1*/, float /*x2*/, float /*y2*/) override {}
  void Print(std::string_view /*text*/) override {}
};

// Blanks and tabs separate the numbers; a carriage return is taken as a blank
// so that a file with CR LF line ends reads like any other.
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A token as it may be quoted in a message: short, and printable whatever
// bytes the file holds.
std::string Quote(std::string_view token) {
  constexpr std::size_t kMaxShown = 24;
  std::string shown;
  for (std::size_t i = 0; i < token.size() && i < kMaxShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(token[i]);
    shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  if (token.size() > kMaxShown) shown += "...";
  return "'" + shown + "'";
}

// The shortest text that reads back as the same double.
std::string Shortest(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

// One number of a scene line, or why it is none. from_chars reads the C
// locale's format whatever the process's locale, and reports trailing garbage
// through the end pointer; it takes no leading plus sign, so one is allowed
// here by hand.
std::optional<std::string> ParseNumber(std::string_view token, double& value) {
  std::string_view digits = token;
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+') {
    digits.remove_prefix(1);
  }
  const char* const end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  if (ec == std::errc::result_out_of_range) return Quote(token) + " is out of range";
  if (ec != std::errc() || ptr != end) return Quote(token) + " is not a number";
  if (!std::isfinite(value)) return Quote(token) + " is not a finite number";
  return std::nullopt;
}

// The blank-separated tokens of one line with its comment removed; at most
// five are kept, enough to tell that there are too many.
struct Tokens {
  std::array<std::string_view, 5> items;
  std::size_t count = 0;
};

Tokens Split(std::string_view line) {
  Tokens tokens;
  std::size_t i = 0;
  while (i < line.size() && tokens.count < tokens.items.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) tokens.items[tokens.count++] = line.substr(start, i - start);
  }
  return tokens;
}

bool Inside(double v, double limit) { return v >= 0 && v <= limit; }

std::string RefusalReason(const Verdict& verdict, const std::vector<int>& lines) {
  const std::string other = verdict.other >= 0
                                ? "the segment on line " +
                                      std::to_string(lines[static_cast<std::size_t>(verdict.other)])
                                : std::string("another segment");
  switch (verdict.refusal) {
    case Refusal::kVertical:
      return "the segment is vertical (x1 = x2)";
    case Refusal::kHorizontal:
      return "the segment is horizontal (y1 = y2)";
    case Refusal::kParallel:
      return "the segment has the same slope as " + other;
    case Refusal::kSharedCoordinate:
      return "an end shares its x or its y with an end of " + other;
    case Refusal::kEndOnLine:
      return "an end lies exactly on the line of " + other +
             ", or an end of that segment on this one's line";
    case Refusal::kCrossing:
      return "the segment crosses " + other;
    case Refusal::kNone:
      break;
  }
  return {};
}

// Reads the four numbers of a segment line into `v`, or says why they are no
// segment of this drawing rectangle.
std::optional<std::string> ParseSegment(const Tokens& tokens, double view_w, double view_h,
                                        std::array<double, 4>& v) {
  if (tokens.count != 4) {
    return "expected four numbers x1 y1 x2 y2, found " +
           (tokens.count > 4 ? std::string("more") : std::to_string(tokens.count));
  }
  for (std::size_t k = 0; k < 4; ++k) {
    if (auto problem = ParseNumber(tokens.items[k], v[k])) return problem;
  }
  for (std::size_t end = 0; end < 2; ++end) {
    const double x = v[2 * end];
    const double y = v[2 * end + 1];
    if (!Inside(x, view_w) || !Inside(y, view_h)) {
      return "the end (" + Shortest(x) + ", " + Shortest(y) +
             ") lies outside the drawing rectangle [0, " + Shortest(view_w) + "] x [0, " +
             Shortest(view_h) + "]";
    }
  }
  return std::nullopt;
}

}  // namespace

SceneReadResult ReadScene(std::string_view text, double view_w, double view_h) {
  // The byte-order mark some editors put at the start of a UTF-8 file is no
  // part of the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  SceneReadResult result;
  SceneFile& scene = result.scene;
  auto refuse = [&result](int line, std::string reason) {
    result.scene = {};
    result.error = SceneFileError{line, std::move(reason)};
    return result;
  };

  // Each segment is judged against the ones before it in a table filled as
  // the generation fills it, so a loaded scene is refused for exactly the
  // reasons a generated candidate would be.
  SegmentTable table;
  table.SegCount = static_cast<std::int16_t>(kMaxSceneSegments);
  NullCanvas canvas;

  int line_number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++line_number;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
      line = line.substr(0, hash);
    }
    const Tokens tokens = Split(line);
    if (tokens.count == 0) continue;

    if (scene.segments.size() == static_cast<std::size_t>(kMaxSceneSegments)) {
      return refuse(line_number, "more than " + std::to_string(kMaxSceneSegments) + " segments");
    }
    std::array<double, 4> v{};
    if (auto problem = ParseSegment(tokens, view_w, view_h, v)) {
      return refuse(line_number, *problem);
    }

    ClearFloatingPointFaults();
    const Verdict verdict = JudgeCandidate(table, v[0], v[1], v[2], v[3]);
    if (verdict.refusal != Refusal::kNone) {
      return refuse(line_number, RefusalReason(verdict, scene.lines));
    }
    const Candidate candidate = MakeCandidate(v[0], v[1], v[2], v[3]);
    // The generation stops with a run-time error when a slope, an intercept or
    // a crossing abscissa overflows; no generated scene holds such a segment,
    // so a loaded one may not either.
    if (const char* fault = RaisedFloatingPointFault()) {
      ClearFloatingPointFaults();
      return refuse(line_number, std::string(fault) +
                                     " computing the segment's line or testing it against "
                                     "the segments before it");
    }
    if (!std::isfinite(candidate.slope) || !std::isfinite(candidate.intercept)) {
      return refuse(line_number, "the segment's line y = slope * x + intercept is not finite");
    }
    PlaceSegment(table, canvas, candidate);
    scene.segments.push_back(candidate);
    scene.lines.push_back(line_number);
  }
  ClearFloatingPointFaults();
  if (scene.segments.empty()) {
    return refuse(0, "no segments; a scene holds 1 to " + std::to_string(kMaxSceneSegments));
  }
  return result;
}

std::string FormatSceneError(std::string_view file_name, const SceneFileError& error) {
  std::string message(file_name);
  if (error.line > 0) message += ":" + std::to_string(error.line);
  return message + ": " + error.reason;
}

SegmentTable PlaceScene(const std::vector<Candidate>& segments) {
  SegmentTable table;
  table.SegCount = static_cast<std::int16_t>(segments.size());
  NullCanvas canvas;
  for (const Candidate& c : segments) PlaceSegment(table, canvas, c);
  return table;
}

bool SameSegments(const SegmentTable& a, const SegmentTable& b) {
  if (a.SegPlaced != b.SegPlaced) return false;
  const TableColumn SegmentTable::*const columns[] = {
      &SegmentTable::X1, &SegmentTable::Y1,    &SegmentTable::X2,
      &SegmentTable::Y2, &SegmentTable::Slope, &SegmentTable::Intercept};
  for (int k = 0; k < a.SegPlaced; ++k) {
    for (const auto column : columns) {
      // Bits, not ==, so that -0 differs from 0 and a NaN from itself.
      if (std::bit_cast<std::uint64_t>((a.*column)[k]) !=
          std::bit_cast<std::uint64_t>((b.*column)[k])) {
        return false;
      }
    }
  }
  return true;
}

bool LeftEndGeneratedFirst(const SegmentTable& table, int k) {
  // The same expression as the intercept's in MakeCandidate, so the end it
  // came from matches bit for bit. Bits, not ==: an end at y = -0 on x = 0
  // gives the intercept -0, which == takes for the +0 the other end gave.
  auto gives_intercept = [&table, k](double x, double y) {
    return std::bit_cast<std::uint64_t>(y - table.Slope[k] * x) ==
           std::bit_cast<std::uint64_t>(table.Intercept[k]);
  };
  if (gives_intercept(table.X1[k], table.Y1[k])) return true;
  if (gives_intercept(table.X2[k], table.Y2[k])) return false;
  // Neither end: the table was not filled from candidates. Keep its order.
  return true;
}

std::string WriteScene(const SegmentTable& table, std::string_view comment) {
  std::string text;
  std::size_t start = 0;
  while (start < comment.size()) {
    std::size_t end = comment.find('\n', start);
    if (end == std::string_view::npos) end = comment.size();
    text += "# ";
    text += comment.substr(start, end - start);
    text += '\n';
    start = end + 1;
  }
  auto put = [&text](double value, char after) {
    // "%.17g" in the C locale, whatever the process's locale.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 17);
    text.append(buffer.data(), result.ptr);
    text += after;
  };
  for (int k = 0; k < table.SegPlaced; ++k) {
    if (LeftEndGeneratedFirst(table, k)) {
      put(table.X1[k], ' ');
      put(table.Y1[k], ' ');
      put(table.X2[k], ' ');
      put(table.Y2[k], '\n');
    } else {
      put(table.X2[k], ' ');
      put(table.Y2[k], ' ');
      put(table.X1[k], ' ');
      put(table.Y1[k], '\n');
    }
  }
  return text;
}

}  // namespace kaldra
