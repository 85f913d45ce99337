#pragma once

#include <cmath>

namespace kaldra {

// Squares and square roots of the drawing are taken with the general power
// function, as the diagram has always been computed. pow(x, 2.0) and x * x
// differ in the last bit about once in a thousand, and pow(x, 0.5) and
// sqrt(x) as often, which is enough to move a sample across a tie; the build
// passes -fno-builtin-pow so that the compiler keeps these calls.
inline double Square(double x) { return std::pow(x, 2.0); }
inline double Root(double x) { return std::pow(x, 0.5); }

}  // namespace kaldra
