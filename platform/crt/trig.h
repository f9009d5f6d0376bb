// The handset C runtime's sine and cosine: correctly rounded (the exact value rounded to
// the nearest double, ties to even) for every double, the same bits on every compiler
// and CPU. A NaN gives itself, made quiet, an infinity the positive quiet NaN; Sin(-0) is -0.
#pragma once

namespace crt {
double Sin(double x);
double Cos(double x);
}  // namespace crt
