#pragma once

#include <cmath>
#include <cstdint>
#include <utility>

#include "geometry/constructions.h"
#include "scene/scene.h"
#include "tracing/foot_inside.h"
#include "tracing/tie_band.h"

namespace kaldra {

// The closer-segment question of one trace, answered as CountCloserSegments
// answers it: is any segment other than the pair strictly closer to the
// sample than the pair's own distance d? The answer does not depend on the
// order in which the segments are asked, so the segment that found the last
// sample closer is asked first: along a curve, the same third segment tends
// to win sample after sample.
class CloserTest {
 public:
  CloserTest(const Scene& scene, int i, int j) {
    int k = 0;
    for (const Segment& s : scene.Segments()) {
      if (k != i && k != j) others_[count_++] = &s;
      ++k;
    }
  }

  // `s` is the squared distance d * d from plain products; `exact_d` yields d
  // exactly as the trace defines it. It is called only near a tie, possibly
  // more than once, so a trace whose d is costly computes it once and keeps it.
  template <typename ExactD>
  bool AnyCloser(double x, double y, double s, ExactD&& exact_d) {
    for (int n = 0; n < count_; ++n) {
      if (Closer(*others_[n], x, y, s, exact_d)) {
        std::swap(others_[0], others_[n]);
        return true;
      }
    }
    return false;
  }

  // The segment that AnyCloser found closer the last time it answered yes.
  const Segment& LastCloser() const { return *others_[0]; }

 private:
  template <typename Distance>
  static bool Closer(const Segment& k, double x, double y, double s, Distance& distance) {
    // The line first: no point of the segment is nearer than its line.
    const double num = k.slope * x - y + k.intercept;
    switch (CompareSquared(num * num, s * k.norm2)) {
      case Order::kGreater:
        return false;
      case Order::kTie:
        if (!(std::fabs(num) / k.norm < distance())) return false;
        break;
      case Order::kLess:
        break;
    }
    if (FootInside(k, (y - k.perp * x) - k.intercept)) return true;
    // The foot is off the segment, so an end is its nearest point; a segment
    // at exactly d is not closer.
    return EndCloser(k.x1, k.y1, x, y, s, distance) || EndCloser(k.x2, k.y2, x, y, s, distance);
  }

  template <typename Distance>
  static bool EndCloser(double ex, double ey, double x, double y, double s, Distance& distance) {
    switch (CompareSquared(SquaredDistance(x, y, ex, ey), s)) {
      case Order::kLess:
        return true;
      case Order::kGreater:
        return false;
      case Order::kTie:
        return PointDistance(x, y, ex, ey) < distance();
    }
    return false;
  }

  const Segment* others_[Scene::kMaxSegments] = {};
  int count_ = 0;
};

}  // namespace kaldra
