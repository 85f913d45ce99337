#pragma once

// Correctly rounded atan, tan, sin and cos: each returns the double nearest
// the exact mathematical value (ties to even), the same bits on every machine,
// compiler and C library, since the diagram's plot list depends on the last
// bit of these results. Built from IEEE +, -, *, / alone (arithmetic/); the
// C library's functions are correctly rounded on no platform we build for.
//
// Each is correct for every double. NaN gives NaN; tan, sin and cos of an
// infinity give NaN; atan of +-infinity is the double nearest +-pi/2; the sign
// of a zero is kept (cos(+-0) = 1).

namespace kaldra {

double Atan(double x);
double Tan(double x);
double Sin(double x);
double Cos(double x);

}  // namespace kaldra
