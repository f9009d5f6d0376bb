// The fast path: r = |x| - k·pi/2 as a double-double rh + rl (x itself below pi/4, Cody and
// Waite's reduction below 2^27, else reduce.h at 128 bits), r = a + b with a = j/256 the
// nearest, from a table of sin a and cos a in double-double, |b| <= 2^-9, then
//   sin r = sin a + cos a·b - sin a·z + cos a·w,  cos r = cos a - sin a·b - cos a·z - sin a·w
// with z = 1 - cos b = b^2/2 - b^4/24 + b^6/720 and w = sin b - b = -b^3/6 + b^5/120 - b^7/5040.
// The first two terms are summed in double-double (the product by an exact one); z and w
// are small and taken in doubles. "first" is sin a (sine) or cos a (cosine), R the result.
//
// Error bound, e = 2^-53. b = bh + bl exactly, bh = rh - a exact (a multiple of ulp(rh),
// no larger than rh).
// - r from reduce.h: relative 6.01·2^-128, and below 2^-105 for its cut to two doubles;
//   the derivatives are at most 1 and r <= 1.12R: below 2^-104·R. Cody and Waite's errs by
//   an absolute amount (below), added to the bound as it stands.
// - table entries within 2^-106 relative; the cross terms second·bl + (second)lo·bh and
//   the double-double sums: below 2^-103·R, but for the roundings that scale with |bl|
//   (below 7e·|bl|, as bl may be as large as 2^-24 after Cody and Waite's reduction),
//   which the bound adds as |rl|·2^-50.
// - the series cut after b^6 and b^7: below 2^-86·R.
// - z: bd = fl(bh + bl) within e of b, bd^2 within 3.01e of b^2, Horner 1.01e, its own
//   product e: 5.02e; times first_hi, with first_lo left out: 7.02e on |first·z| <=
//   |first|·2^-19.0. |sin a| <= 2.001R (sin a <= sin 2r when j >= 1), |cos a| <= 1.43R
//   (R >= 0.70): below 2^-68.19·R.
// - w: 10.01e on |w| <= |b|^3/6 <= 2^-29.58, against R >= 0.99·2^-9 if j >= 1 and
//   |w|/R <= 2^-20.58 if j = 0: below 2^-70.25·R.
// - the low parts' sum: four roundings on parts below 2^-17.78·R (2^-68.78·R), and one
//   more adding it to the exact sum's error (2^-70.7·R).
// All told below 2^-67.1·R; the rounding test allows 2^-66·R. The split into hi and lo
// at the end is exact, as |lo_sum| <= |s_hi| (hence the renormalization of r near
// multiples of pi/2), and leaves lo within hi's rounding interval.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/crt/constants.h"
#include "platform/crt/reduce.h"

namespace crt {
namespace fast {

inline double FromBits(u64 bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

inline u64 BitsOf(double d) {
  u64 bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

// Below 2^27, Cody and Waite's reduction in doubles: k < 2^27, so k·HALF_PI_1 and
// k·HALF_PI_2 (26 bits each) are exact; x - k·HALF_PI_1 is exact (a multiple of ulp(x),
// smaller than x), the next step an exact sum whose sum s is below 1 and error below
// 2^-54. Left: k·HALF_PI_3 (< 2^-53.9) rounded once, below k·2^-106.9; pi/2's remainder
// (2^-109) times k; and the low part's one subtraction, below 2^-107 + k·2^-106.9: all
// told below k·2^-105 absolute, added to the bound as k·2^-103 (the derivatives are at
// most 1).
inline constexpr u64 CODY_WAITE_LIMIT = 0x41A0000000000000;  // 2^27
inline constexpr double TWO_OVER_PI_DOUBLE = 0x1.45f306dc9c883p-1;
inline constexpr double ROUNDER = 0x1.8p52;  // adding it rounds to an integer, left in the low bits
inline constexpr u64 SIGN = u64{1} << 63;

// 2^e for a normal result.
inline double PowerOfTwo(int e) { return FromBits(static_cast<u64>(e + 1023) << 52); }

// a·b = p + err exactly (Dekker: no fused multiply-add), for |a|, |b| well inside range;
// a_hi is a's top 26 bits, split beforehand.
inline void TwoProduct(double a, double a_hi, double b, double& p, double& err) {
  constexpr double SPLIT = 134217729.0;  // 2^27 + 1
  const double a_lo = a - a_hi;
  const double cb = SPLIT * b;
  const double b_hi = cb - (cb - b);
  const double b_lo = b - b_hi;
  p = a * b;
  err = ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo;
}

// a + b = s + err exactly (Knuth).
inline void TwoSum(double a, double b, double& s, double& err) {
  s = a + b;
  const double bb = s - a;
  err = (a - (s - bb)) + (b - bb);
}

// The double nearest hi + lo if no midpoint lies within `bound` of it; |lo| <= ulp(hi)/2.
inline bool Decide(double hi, double lo, double bound, double& out) {
  // The nearest midpoint is on lo's side, half an ulp of hi away, or a quarter below a
  // power of two; hi = fl(hi + lo) keeps lo within it. No branch on lo's sign.
  const u64 bits = BitsOf(hi);
  const u64 lo_bits = BitsOf(lo);
  const bool power_of_two = (bits & ((u64{1} << 52) - 1)) == 0;
  const int below_power = static_cast<int>(lo_bits >> 63) & static_cast<int>(power_of_two);
  const double to_midpoint =
      PowerOfTwo(static_cast<int>(bits >> 52) - 1023 - 53 - below_power) - FromBits(lo_bits & ~SIGN);
  // A rounded difference above the bound means the exact one is too.
  if (!(to_midpoint > bound)) return false;
  out = hi + lo;
  return true;
}

}  // namespace fast

// sin|x| (shift 0) or cos|x| (shift 1) for finite |x| >= 2^-27 given by its bits, correctly
// rounded; false, and nothing written, where the bound leaves the rounding open.
inline bool FastPath(u64 abs_bits, unsigned shift, double& out) {
  using namespace fast;
  // r = rh + rl, |rl| < 2^-24, and |rl| <= ulp(rh) if |rh| < 2^-20. No branch on signs
  // or quadrants, which vary unpredictably.
  double rh = FromBits(abs_bits);
  double rl = 0.0;
  double reduction_error = 0.0;
  unsigned quadrant = 0;
  if (abs_bits >= CODY_WAITE_LIMIT) {
    Reduced<2> r;
    if (!Reduce<2>(abs_bits, r)) return false;
    // The mantissa's top 53 bits and the next 53, both exact in a double.
    const double scale = PowerOfTwo(r.exponent - 53);
    rh = static_cast<double>(r.mantissa[0] >> 11) * scale;
    const u64 next = ((r.mantissa[0] & 0x7FF) << 42) | (r.mantissa[1] >> 22);
    rl = static_cast<double>(next) * scale * PowerOfTwo(-53);
    const u64 sign = r.negative ? SIGN : 0;
    rh = FromBits(BitsOf(rh) ^ sign);
    rl = FromBits(BitsOf(rl) ^ sign);
    quadrant = r.quadrant;
  } else if (abs_bits > PI_OVER_FOUR_BITS) {
    const double x = rh;
    const double k = (x * TWO_OVER_PI_DOUBLE + ROUNDER) - ROUNDER;
    quadrant = static_cast<unsigned>(static_cast<u64>(k) & 3);
    TwoSum(x - k * HALF_PI_1, -(k * HALF_PI_2), rh, rl);
    rl = rl - k * HALF_PI_3;
    reduction_error = k * 0x1p-103 + FromBits(BitsOf(rl) & ~SIGN) * 0x1p-50;
    // Near a multiple of pi/2, rl could outweigh rh, and the last sum below would not be
    // exact; otherwise |rl| < 2^-24 stays below what it is added to.
    if (FromBits(BitsOf(rh) & ~SIGN) < 0x1p-20) TwoSum(rh, rl, rh, rl);
  }
  quadrant = (quadrant + shift) & 3;
  const unsigned cosine = quadrant & 1;
  // Work on |r|: sin(-r) = -sin r, cos(-r) = cos r.
  const u64 r_sign = BitsOf(rh) & SIGN;
  rh = FromBits(BitsOf(rh) ^ r_sign);
  rl = FromBits(BitsOf(rl) ^ r_sign);
  const u64 sign = (quadrant & 2 ? SIGN : 0) ^ (cosine ? 0 : r_sign);

  const double scaled = rh * 256.0 + ROUNDER;
  const int j = static_cast<int>(BitsOf(scaled) & 0xFF);
  const SinCosEntry& entry = SIN_COS_TABLE[j];
  const double bh = rh - (scaled - ROUNDER) * 0.00390625;  // exact
  const double bl = rl;
  const double bd = bh + bl;
  const double b2 = bd * bd;
  const double z = b2 * (0.5 - b2 * (1.0 / 24.0 - b2 * (1.0 / 720.0)));
  const double w = -(bd * b2) * (1.0 / 6.0 - b2 * (1.0 / 120.0 - b2 * (1.0 / 5040.0)));

  // main = first + second·b, small = -first·z + second·w, for sine (first = sin a,
  // second = cos a) and cosine (first = cos a, second = -sin a).
  const double* first = entry.part + 2 * std::size_t{cosine};
  const double* second = first + 2;
  double p_hi = 0;
  double p_lo = 0;
  TwoProduct(second[0], entry.part[6 + cosine], bh, p_hi, p_lo);
  const double cross = second[0] * bl + second[1] * bh;
  const double small = second[0] * w - first[0] * z;
  double s_hi = 0;
  double s_lo = 0;
  TwoSum(first[0], p_hi, s_hi, s_lo);
  const double tail = ((small + cross) + p_lo) + first[1];
  const double lo_sum = s_lo + tail;
  const double hi = s_hi + lo_sum;
  const double lo = lo_sum - (hi - s_hi);

  double magnitude = 0;
  if (!Decide(hi, lo, hi * 0x1p-66 + reduction_error, magnitude)) return false;
  out = FromBits(BitsOf(magnitude) ^ sign);
  return true;
}

}  // namespace crt
