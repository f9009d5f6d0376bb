// The handset C runtime's mathematics, as the game calls it: sin and cos correctly
// rounded, so a drive replays bit for bit on every build, where the host C library's
// differ by library and CPU. Game code includes this instead of <cmath>. The names come
// in through a using-directive, not as ::sin, which would be a second function beside the
// C library's (C linkage) in one program; and as a file that includes both cannot call
// sin without ambiguity, it fails to compile instead of quietly taking the host's.
#pragma once

#include <cstdint>
#include <cstring>

namespace crt {
double Sin(double x);
double Cos(double x);
}  // namespace crt

namespace handset_math {

// NOLINTBEGIN(readability-identifier-naming): the C library's names, so game code reads as
// it would over <cmath>
inline double sin(double x) { return crt::Sin(x); }
inline double cos(double x) { return crt::Cos(x); }

inline double fabs(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  bits &= ~(std::uint64_t{1} << 63);
  std::memcpy(&x, &bits, sizeof x);
  return x;
}
// NOLINTEND(readability-identifier-naming)

}  // namespace handset_math

using namespace handset_math;
