// Every constant and table entry of arithmetic/, recomputed with MPFR at
// 4000 bits.

#include <mpfr.h>

#include <cstdint>

#include <gtest/gtest.h>

#include "arithmetic/atan_table.h"
#include "arithmetic/pi_constants.h"
#include "arithmetic/sin_cos_table.h"
#include "tests/arithmetic/mpfr_reference.h"

namespace kaldra::arithmetic {
namespace {

using testing::Hex;

class Exact {
 public:
  Exact() { mpfr_init2(v_, 4000); }
  ~Exact() { mpfr_clear(v_); }
  Exact(const Exact&) = delete;
  Exact& operator=(const Exact&) = delete;
  mpfr_ptr operator*() { return v_; }

 private:
  mpfr_t v_;
};

// The double nearest v and the double nearest the rest.
void ExpectNearestDoubleDouble(const DoubleDouble& entry, mpfr_ptr v, const char* what, int i) {
  Exact rest;
  const double hi = mpfr_get_d(v, MPFR_RNDN);
  mpfr_sub_d(*rest, v, hi, MPFR_RNDN);
  EXPECT_EQ(Hex(entry.hi), Hex(hi)) << what << " " << i;
  EXPECT_EQ(Hex(entry.lo), Hex(mpfr_get_d(*rest, MPFR_RNDN))) << what << " " << i;
}

// Word i of the bits after the point of v: floor(frac(v 2^(64 i)) 2^64).
std::uint64_t WordAfterPoint(mpfr_ptr v, int i) {
  Exact t;
  mpfr_mul_2ui(*t, v, 64 * i, MPFR_RNDN);
  mpfr_frac(*t, *t, MPFR_RNDN);
  mpfr_mul_2ui(*t, *t, 64, MPFR_RNDN);
  mpfr_floor(*t, *t);
  return mpfr_get_ui(*t, MPFR_RNDN);
}

void HalfPi(mpfr_ptr v) {
  mpfr_const_pi(v, MPFR_RNDN);
  mpfr_div_2ui(v, v, 1, MPFR_RNDN);
}

TEST(Tables, AtanEntriesAreAtanOfSteps) {
  Exact v;
  for (int i = 0; i < kAtanTableSize; ++i) {
    mpfr_set_ui(*v, i, MPFR_RNDN);
    mpfr_div_2ui(*v, *v, 7, MPFR_RNDN);
    mpfr_atan(*v, *v, MPFR_RNDN);
    ExpectNearestDoubleDouble(kAtanTable[i], *v, "atan", i);
  }
}

TEST(Tables, SinCosEntriesAreSinAndCosOfSteps) {
  Exact a;
  Exact v;
  for (int j = 0; j < kSinCosTableSize; ++j) {
    mpfr_set_ui(*a, j, MPFR_RNDN);
    mpfr_div_2ui(*a, *a, 7, MPFR_RNDN);
    mpfr_sin(*v, *a, MPFR_RNDN);
    ExpectNearestDoubleDouble(kSinCosTable[j].sin, *v, "sin", j);
    mpfr_cos(*v, *a, MPFR_RNDN);
    ExpectNearestDoubleDouble(kSinCosTable[j].cos, *v, "cos", j);
  }
}

TEST(Tables, WordsAreTheBitsOfTwoOverPiAndHalfPi) {
  Exact v;
  mpfr_const_pi(*v, MPFR_RNDN);
  mpfr_ui_div(*v, 2, *v, MPFR_RNDN);
  for (int i = 0; i < kTwoOverPiWordCount; ++i) {
    EXPECT_EQ(kTwoOverPiWords[i], WordAfterPoint(*v, i)) << "2/pi word " << i;
  }
  HalfPi(*v);
  for (int i = 0; i < kHalfPiFractionWordCount; ++i) {
    EXPECT_EQ(kHalfPiFractionWords[i], WordAfterPoint(*v, i)) << "pi/2 word " << i;
  }
}

TEST(Tables, DoublesNearPi) {
  Exact v;
  HalfPi(*v);
  ExpectNearestDoubleDouble({kHalfPiHi, kHalfPiLo}, *v, "pi/2", 0);
  mpfr_div_2ui(*v, *v, 1, MPFR_RNDN);
  EXPECT_EQ(Hex(kQuarterPi), Hex(mpfr_get_d(*v, MPFR_RNDD)));
  EXPECT_EQ(Hex(kQuarterPi), Hex(mpfr_get_d(*v, MPFR_RNDN)));
  mpfr_ui_div(*v, 1, *v, MPFR_RNDN);
  mpfr_div_2ui(*v, *v, 1, MPFR_RNDN);
  EXPECT_EQ(Hex(kTwoOverPi), Hex(mpfr_get_d(*v, MPFR_RNDN)));
}

TEST(Tables, HalfPiPiecesAreSuccessiveTruncationsTo43Bits) {
  Exact rest;
  HalfPi(*rest);
  mpfr_t piece;
  mpfr_init2(piece, 43);
  for (int k = 0; k < 4; ++k) {
    mpfr_set(piece, *rest, MPFR_RNDZ);
    EXPECT_EQ(Hex(kHalfPiPieces[k]), Hex(mpfr_get_d(piece, MPFR_RNDN))) << "piece " << k;
    mpfr_sub(*rest, *rest, piece, MPFR_RNDN);
    if (k == 0) {
      EXPECT_GT(mpfr_get_d(*rest, MPFR_RNDN), 0x1p-44);
    }
  }
  mpfr_clear(piece);
  EXPECT_GT(mpfr_get_d(*rest, MPFR_RNDN), 0);
  EXPECT_LT(mpfr_get_d(*rest, MPFR_RNDN), 0x1p-173);
}

}  // namespace
}  // namespace kaldra::arithmetic
