#include "instrument/probe.h"

#include "scene/decimal_text.h"

namespace kaldra {

namespace {

std::string Px(double distance) { return FixedText(distance, 2) + " px"; }

std::string Named(const SegmentDistance& s) {
  return "segment " + std::to_string(s.segment) + " at " + Px(s.distance);
}

// "2", "2 and 5", "1, 2 and 5".
std::string Numbers(const std::vector<SegmentDistance>& segments) {
  std::string text;
  for (std::size_t k = 0; k < segments.size(); ++k) {
    text += (k == 0                     ? ""
             : k + 1 == segments.size() ? " and "
                                        : ", ") +
            std::to_string(segments[k].segment);
  }
  return text;
}

}  // namespace

ProbeReading ReadProbe(const Scene& scene, CanvasPoint at) {
  const std::vector<SegmentDistance> by_distance = SegmentsByDistance(scene, at);
  ProbeReading reading{at, {}, std::nullopt, LargestEmptyCircle(scene, at)};
  for (const SegmentDistance& s : by_distance) {
    if (s.distance - by_distance.front().distance < kOnDiagramPx) {
      reading.nearest.push_back(s);
    } else {
      reading.next = s;
      break;
    }
  }
  return reading;
}

std::vector<std::string> ProbeText(const ProbeReading& reading) {
  std::vector<std::string> lines;
  if (reading.OnDiagram()) {
    lines.push_back("on the diagram of segments " + Numbers(reading.nearest));
    for (const SegmentDistance& s : reading.nearest) lines.push_back(Named(s));
  } else {
    lines.push_back("nearest: " + Named(reading.nearest.front()));
    if (reading.next) lines.push_back("next: " + Named(*reading.next));
  }
  lines.push_back("largest empty circle: radius " + Px(reading.circle.radius));
  return lines;
}

}  // namespace kaldra
