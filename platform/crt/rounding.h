// Rounding an N-limb approximation to the nearest double, if its error bound lets it be
// decided: the value is 0.m·2^e, m normalized, known to within `error` units of m's last
// limb. The only rounding boundaries for round-to-nearest are the midpoints between
// doubles; the true value is never one (sine and cosine of a nonzero double are
// transcendental), so it rounds as the approximation does unless a midpoint lies within
// the bound. Results here are normal doubles in [2^-64, 1].
#pragma once

#include <cstring>

#include "platform/crt/wide.h"

namespace crt {

// Rounds 0.m·2^e to nearest into `out`; false if a midpoint lies within `error` units
// (`out` is the approximation's rounding all the same).
template <int N>
bool RoundToNearest(const Limbs<N>& m, int e, u64 error, double& out) {
  const u64 rest = m[0] & 0x7FF;  // the bits below the double's 53
  bool middle_zero = true;
  bool middle_ones = true;
  for (int i = 1; i < N - 1; ++i) {
    middle_zero = middle_zero && m[i] == 0;
    middle_ones = middle_ones && m[i] == ~u64{0};
  }
  const u64 last = m[N - 1];
  const bool just_above = rest == 0x400 && middle_zero && last <= error;
  const bool just_below = rest == 0x3FF && middle_ones && ~last < error;

  u64 significand = (m[0] >> 11) + (rest >= 0x400 ? 1 : 0);
  int exponent = e;
  if (significand >> 53 != 0) {
    significand >>= 1;
    exponent += 1;
  }
  // significand·2^(exponent-53), significand in [2^52, 2^53).
  const u64 bits = (static_cast<u64>(exponent + 1022) << 52) | (significand & ((u64{1} << 52) - 1));
  std::memcpy(&out, &bits, sizeof out);
  return !just_above && !just_below;
}

}  // namespace crt
