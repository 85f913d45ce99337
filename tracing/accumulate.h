#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "arithmetic/double_bits.h"
#include "scene/float_fault.h"

namespace kaldra {

// Where an accumulated walk, v = v + step repeated, stands after a run.
struct Stride {
  double v;              // the first value not below the bound, or where the walk stalled
  std::uint64_t steps;   // the values passed, each one below the bound
  bool stalled = false;  // v + step == v: the walk stopped below the bound
};

// The whole part of a nonnegative x below 2^63, without a library call.
inline double Whole(double x) { return static_cast<double>(static_cast<std::int64_t>(x)); }

// Runs v = v + step while v < bound, in as few operations as the rounding
// allows, and gives exactly the values and the count of the plain loop.
//
// Why it can jump. While v and every sum stay within one binade, where the
// doubles are the multiples of one spacing u, v + step rounds to v plus the
// step rounded to a multiple of u, the same delta every time: v is such a
// multiple, so the sum's nearest double is v plus the step's nearest multiple.
// k such additions then land exactly on v + k * delta, itself a double. The
// stretch ends where an exact sum could round differently. There, near zero
// (|v| < 1), where the step lies exactly half-way between two multiples of u
// (a tie whose outcome depends on v), and for runs of a few dozen values, the
// walk takes single steps as the plain loop does.
//
// Where the step is less than half the spacing of the doubles (|v| of 2^52 and
// more for a step of 0.5), v + step rounds back to v: the plain loop would
// never end. The run stops there, stalled, and its caller reports the walk.
//
// Precondition: 0 < step < 1, and v and bound finite.
inline Stride AccumulateBelow(double v, double step, double bound) {
  std::uint64_t steps = 0;
  while (v < bound) {
    const double size = std::fabs(v);
    double k_stretch = 0;
    double delta = 0;
    // A short run is quicker stepped than worked out.
    if (size >= 1 && bound - v > 32 * step) {
      // The binade [low, 2 low) of |v|, its spacing u, and the step in units
      // of u (exact: u is a power of two), below 2^52 for every step below
      // one.
      const double low = arithmetic::BinadeOf(size);
      const double u = low * 0x1p-52;
      const double units = step / u;
      const double whole = static_cast<double>(static_cast<std::int64_t>(units));
      const double fraction = units - whole;
      if (fraction != 0.5 && units < 0x1p52) {
        delta = (fraction > 0.5 ? whole + 1 : whole) * u;
        // Going up, a sum that lands on 2 low itself still rounds there, from
        // either side, since it is within u / 2 of it. Going down towards
        // zero, the spacing below low is u / 2, so the sums stop a spacing
        // short of -low. The differences are exact.
        const double room = v > 0 ? 2 * low - v : -(low + u) - v;
        if (delta > 0 && room > 0) k_stretch = Whole(room / delta);
      }
    }
    if (k_stretch < 2) {
      const double next = v + step;
      if (next == v) return {v, steps, true};
      v = next;
      ++steps;
      continue;
    }
    // The values below the bound among v, v + delta, ..., at most the stretch.
    // A bound within the stretch's binade is an exact difference away from v,
    // and a rounded quotient never passes an integer the exact one does not,
    // so the count can only be one short (when the quotient rounds down onto
    // an integer), which the exact sum tells. A bound beyond the binade lies
    // beyond the whole stretch.
    double k = std::min(k_stretch, (bound - v) / delta);
    k = std::max(1.0, Whole(k) < k ? Whole(k) + 1 : Whole(k));
    if (k < k_stretch && v + k * delta < bound) ++k;
    v = v + k * delta;
    steps += static_cast<std::uint64_t>(k);
  }
  return {v, steps};
}

// Walks v = first, first + step, ... while v <= last, accumulated one step at
// a time as every walk of the diagram is, never first + k * step: the two
// round differently, and the samples must fall where they always have. Each
// sample the window does not cover goes to `visit(v)`; a run the window
// covers is passed over by AccumulateBelow, which lands on the same values.
// Returns how many samples were walked, covered or not. A walk whose step no
// longer moves it, which would never end, stops with a stalled-walk fault once
// its last sample has been visited or covered.
// Precondition: first and last finite.
template <typename Window, typename Visit>
std::uint64_t WalkAccumulated(double first, double last, double step, const Window& window,
                              Visit&& visit) {
  std::uint64_t samples = 0;
  // v <= last, for a double v, is v < the next double above last.
  const double past_last = arithmetic::NextUp(last);
  double v = first;
  while (v < past_last) {
    if (window.Covers(v)) {
      const Stride run = AccumulateBelow(v, step, std::min(window.End(), past_last));
      v = run.v;
      samples += run.steps;
      if (run.stalled) {
        ++samples;  // the sample at v, covered, before the step that failed
        ThrowFloatFault(FloatFault::kStalledWalk);
      }
      continue;
    }
    ++samples;
    visit(v);
    const double next = v + step;
    if (next == v) ThrowFloatFault(FloatFault::kStalledWalk);
    v = next;
  }
  return samples;
}

}  // namespace kaldra
