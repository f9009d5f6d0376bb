// Argument reduction: |x| = k·pi/2 + r with |r| <= pi/4, exactly in 64-bit integers, for
// every finite double. r comes out as a normalized N-limb mantissa and an exponent.
//
// |x| = m·2^q (m the 53-bit integer significand). Bit i of 2/pi weighs 2^-i; the bits
// with i < q - 1 make m·2^q·(2/pi) a multiple of 4, so they cannot change k mod 4 or r and
// are skipped; a window of W limbs from bit q - 1 on gives y = m·window·2^(2-64W), whose
// value mod 4 is the low W limbs of the product. The bits of 2/pi past the window add
// less than m·2^(2-64W) < 2^(55-64W) to y. With W = N + 2 and |y - k| >= 2^-64 (checked;
// else W = N + 3 and 2^-128) the fraction f = y - k keeps a relative error below
// 2^(-8-64N) before it is cut to N limbs. (The nearest any double comes to a multiple of
// pi/2 is about 2^-61, so the wider window is only a safeguard.)
//
// Relative errors of r, in units u = 2^-64N: f cut to N limbs < 2u, pi/4 cut to N limbs
// < 2u, the product f·pi/2 cut to N limbs < 2u; all told below 6.01u. Below pi/4, r is x
// itself, exact.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/crt/constants.h"
#include "platform/crt/wide.h"

namespace crt {

template <int N>
struct Reduced {
  Limbs<N> mantissa;  // |r| = 0.mantissa · 2^exponent, top bit set
  int exponent;
  bool negative;      // r < 0
  unsigned quadrant;  // k mod 4
};

inline constexpr u64 PI_OVER_FOUR_BITS = 0x3FE921FB54442D18;  // the largest double below pi/4

namespace detail {

// Reduces with a W-limb window; false if |f| is too small for W's guard bits.
template <int N, int W>
bool ReduceWith(u64 abs_bits, Reduced<N>& out) {
  const int biased = static_cast<int>(abs_bits >> 52);
  const u64 m = (abs_bits & ((u64{1} << 52) - 1)) | (u64{1} << 52);
  // Bit q - 1 of 2/pi, q = biased - 1075, sits at bit 63 + q - 1 of the table.
  const int position = biased - 1013;
  const int first = position / 64;
  const int shift = position % 64;
  static_assert(sizeof(TWO_OVER_PI) / sizeof(u64) > (2046 - 1013) / 64 + W, "2/pi table too short");
  Limbs<W> window;
  for (int i = 0; i < W; ++i) {
    const u64 hi = TWO_OVER_PI[first + i];
    const u64 lo = TWO_OVER_PI[first + i + 1];
    window[i] = shift == 0 ? hi : (hi << shift) | (lo >> (64 - shift));
  }
  // The low W limbs of m·window: y mod 4 in units of 2^(2-64W).
  Limbs<W> y;
  u64 carry = 0;
  for (int i = W - 1; i >= 0; --i) {
    const u128 t = static_cast<u128>(m) * window[i] + carry;
    y[i] = Low(t);
    carry = High(t);
  }
  unsigned k = static_cast<unsigned>(y[0] >> 62);
  // The fraction of y, as a fraction of W limbs, taken to [-1/2, 1/2).
  Limbs<W> f = TopShiftedLeft<W, W>(y, 0, 2);
  const bool negative = f[0] >> 63 != 0;
  if (negative) {
    f = Sub<W>(Limbs<W>{}, f);
    k += 1;
  }
  const int zeros = LeadingZeros<W>(f);
  if (zeros > 64 * (W - N - 1)) {
    return false;
  }
  const Limbs<N> fraction = TopShiftedLeft<N, W>(f, zeros / 64, zeros % 64);
  Limbs<N> half_pi;
  for (int i = 0; i < N; ++i) half_pi[i] = PI_OVER_FOUR[i];
  int drop = 0;
  out.mantissa = MulNormalized<N>(fraction, half_pi, drop);
  out.exponent = 1 - zeros - drop;
  out.negative = negative;
  out.quadrant = k & 3;
  return true;
}

}  // namespace detail

// Reduces a finite |x| >= 2^-1022 given by its bits; false only if no window decides
// (never, for a double).
template <int N>
bool Reduce(u64 abs_bits, Reduced<N>& out) {
  if (abs_bits <= PI_OVER_FOUR_BITS) {
    out.mantissa = Limbs<N>{};
    out.mantissa[0] = ((abs_bits & ((u64{1} << 52) - 1)) | (u64{1} << 52)) << 11;
    out.exponent = static_cast<int>(abs_bits >> 52) - 1022;
    out.negative = false;
    out.quadrant = 0;
    return true;
  }
  return detail::ReduceWith<N, N + 2>(abs_bits, out) || detail::ReduceWith<N, N + 3>(abs_bits, out);
}

}  // namespace crt
