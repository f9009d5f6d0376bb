// How much precision crt::Sin and crt::Cos needed for an argument: 0 for the arguments
// answered without a series (NaN, infinities, tiny ones), else the bits of the step that
// decided the rounding: 64 on the double-double fast path, 128, 256, 512 or 1024 on the
// slow one.
#pragma once

namespace crt {
int SinPrecision(double x);
int CosPrecision(double x);
}  // namespace crt
