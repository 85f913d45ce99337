#pragma once

#include <mpfr.h>

#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>

// The tests' oracle: MPFR's correctly rounded values, and how to compare and
// print doubles bit for bit.

namespace kaldra::testing {

using MpfrFunction = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// f(x) rounded to nearest at 53 bits in the double exponent range, with
// subnormals emulated.
inline double MpfrValue(MpfrFunction f, double x) {
  mpfr_set_emin(-1073);
  mpfr_set_emax(1024);
  mpfr_t in;
  mpfr_t out;
  mpfr_init2(in, 53);
  mpfr_init2(out, 53);
  mpfr_set_d(in, x, MPFR_RNDN);
  const int ternary = f(out, in, MPFR_RNDN);
  mpfr_subnormalize(out, ternary, MPFR_RNDN);
  const double value = mpfr_get_d(out, MPFR_RNDN);
  mpfr_clear(in);
  mpfr_clear(out);
  return value;
}

// The same bits, or both NaN: -0 and +0 differ.
inline bool SameDouble(double a, double b) {
  if (a != a && b != b) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

inline std::string Hex(double x) {
  std::ostringstream out;
  out << std::hexfloat << x;
  return out.str();
}

}  // namespace kaldra::testing
