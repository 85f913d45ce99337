#pragma once

namespace kaldra {

// Stand-ins until the correctly rounded functions land.
double Atan(double x);
double Tan(double x);
double Sin(double x);
double Cos(double x);

}  // namespace kaldra
