#include <cmath>

#include "arithmetic/elementary.h"

namespace kaldra {

double Atan(double x) { return std::atan(x); }
double Tan(double x) { return std::tan(x); }
double Sin(double x) { return std::sin(x); }
double Cos(double x) { return std::cos(x); }

}  // namespace kaldra
