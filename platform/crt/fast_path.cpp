// The fast path: r = |x| - k·pi/2 as a double-double (exact below pi/4, Cody and Waite's
// below 2^27, else the 128-bit reduction of reduce.h), r = a + b with a = j/128 from a table of sin a and cos a in
// double-double and |b| <= 2^-8, then
//   sin r = sin a + cos a·b - sin a·z + cos a·w,  cos r = cos a - sin a·b - cos a·z - sin a·w
// with z = 1 - cos b = b^2/2 - b^4/24 + b^6/720 and w = sin b - b = -b^3/6 + b^5/120 - b^7/5040.
// The first two terms are summed in double-double (cos a·b by an exact product); z and w
// are small and taken in doubles.
//
// Error bound (e = 2^-53, R the result, |a·| meaning |sin a| for sine, |cos a| for cosine):
// - r: from the 128-bit reduction, relative 6.01·2^-128 and 2^-105 for its cut to two
//   doubles; as the derivatives are at most 1 and r <= 1.12R, below 2^-104·R. Cody and
//   Waite's reduction errs by an absolute amount, added to the bound as it stands.
// - the table: 2^-107 relative on each entry; the exact product cos a·bh, and the cross
//   terms cos a·bl + (cos a)lo·bh below 2^-104·|b|; summed: below 2^-103·R.
// - series cut after b^6 and b^7: below 2^-79 absolute.
// - z from bd = fl(bh + bl) (e) and bd^2 (3e with the product), its Horner steps (1.01e):
//   z within 5.01e relative; times (a·)hi, 7e: 7e·2^-17·|a·| absolute. |sin a| <= 2R for
//   sine (a <= 2r when j >= 1), |cos a| <= 1.42R for cosine: below 2^-66.2·R.
// - w: within 9e relative of |w| <= |b|^3/6 <= 2^-26.6, and |b|/R <= 1.12 for sine
//   (2^-68.2·R); for cosine 9e·2^-26.6 against R >= 0.707 (2^-75·R).
// - the small terms summed into the low part: four additions of parts below 2^-16·R:
//   below 2^-67·R; their sum added once more: 2^-69·R.
// All told below 2^-65.1·R; the rounding test allows 2^-64·R.
#include "platform/crt/fast_path.h"

#include <cstring>

#include "platform/crt/constants.h"
#include "platform/crt/reduce.h"

namespace crt {
namespace {

double FromBits(u64 bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

u64 BitsOf(double d) {
  u64 bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

// Below 2^27, Cody and Waite's reduction in doubles: k·HALF_PI_1..3 are exact for k < 2^27,
// x - k·HALF_PI_1 is exact (Sterbenz: x is within pi/4 of k·pi/2, k >= 1), and the rest is
// carried in two exact sums. It leaves |k·HALF_PI_4| <= 2^-53 rounded once (2^-106),
// pi/2's own remainder times k (2^-108), and two roundings on the low part, below 2^-52
// (2^-104): under 2^-103 absolute, taken as 2^-100 (the derivatives are at most 1).
constexpr u64 CODY_WAITE_LIMIT = 0x41A0000000000000;  // 2^27
constexpr double TWO_OVER_PI_DOUBLE = 0x1.45f306dc9c883p-1;
constexpr double ROUNDER = 0x1.8p52;  // adding and taking it away rounds to an integer

// 2^e for a normal result.
double PowerOfTwo(int e) { return FromBits(static_cast<u64>(e + 1023) << 52); }

// a·b = p + err exactly (Dekker: no fused multiply-add), for |a|, |b| well inside range.
void TwoProduct(double a, double b, double& p, double& err) {
  constexpr double SPLIT = 134217729.0;  // 2^27 + 1
  const double ca = SPLIT * a;
  const double a_hi = ca - (ca - a);
  const double a_lo = a - a_hi;
  const double cb = SPLIT * b;
  const double b_hi = cb - (cb - b);
  const double b_lo = b - b_hi;
  p = a * b;
  err = ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo;
}

// a + b = s + err exactly (Knuth).
void TwoSum(double a, double b, double& s, double& err) {
  s = a + b;
  const double bb = s - a;
  err = (a - (s - bb)) + (b - bb);
}

// The double nearest hi + lo if no midpoint lies within `bound` of it; |lo| <= ulp(hi)/2.
bool Decide(double hi, double lo, double bound, double& out) {
  const u64 bits = BitsOf(hi);
  const double half_ulp = PowerOfTwo(static_cast<int>(bits >> 52) - 1023 - 53);
  const double half_below = (bits & ((u64{1} << 52) - 1)) == 0 ? half_ulp * 0.5 : half_ulp;
  const double above = lo - half_ulp;
  const double below = lo + half_below;
  // A rounded difference above the bound means the exact one is too.
  if ((above < 0 ? -above : above) <= bound || (below < 0 ? -below : below) <= bound) return false;
  out = hi + lo;
  return true;
}

}  // namespace

bool FastPath(u64 abs_bits, unsigned shift, double& out) {
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
    if (r.negative) {
      rh = -rh;
      rl = -rl;
    }
    quadrant = r.quadrant;
  } else if (abs_bits > PI_OVER_FOUR_BITS) {
    const double x = rh;
    const double k = (x * TWO_OVER_PI_DOUBLE + ROUNDER) - ROUNDER;
    quadrant = static_cast<unsigned>(static_cast<u64>(k) & 3);
    double s1 = 0;
    double e1 = 0;
    TwoSum(x - k * HALF_PI_1, -(k * HALF_PI_2), s1, e1);
    double s2 = 0;
    double e2 = 0;
    TwoSum(s1, -(k * HALF_PI_3), s2, e2);
    TwoSum(s2, (e1 + e2) - k * HALF_PI_4, rh, rl);
    reduction_error = 0x1p-100;
  }
  quadrant = (quadrant + shift) & 3;
  const bool cosine = (quadrant & 1) != 0;
  bool negative = (quadrant & 2) != 0;
  if (rh < 0) {
    rh = -rh;
    rl = -rl;
    if (!cosine) negative = !negative;
  }

  const int j = static_cast<int>(rh * 128.0 + 0.5);
  const SinCosEntry& entry = SIN_COS_TABLE[j];
  const double bh = rh - static_cast<double>(j) * 0.0078125;  // exact
  const double bl = rl;
  const double bd = bh + bl;
  const double b2 = bd * bd;
  const double z = b2 * (0.5 - b2 * (1.0 / 24.0 - b2 * (1.0 / 720.0)));
  const double w = -(bd * b2) * (1.0 / 6.0 - b2 * (1.0 / 120.0 - b2 * (1.0 / 5040.0)));

  // main = first + second·b, small = -first·z + second·w, for sine (first = sin a,
  // second = cos a) and cosine (first = cos a, second = -sin a).
  const double first_hi = cosine ? entry.cos_hi : entry.sin_hi;
  const double first_lo = cosine ? entry.cos_lo : entry.sin_lo;
  const double second_hi = cosine ? -entry.sin_hi : entry.cos_hi;
  const double second_lo = cosine ? -entry.sin_lo : entry.cos_lo;
  double p_hi = 0;
  double p_lo = 0;
  TwoProduct(second_hi, bh, p_hi, p_lo);
  const double cross = second_hi * bl + second_lo * bh;
  const double small = second_hi * w - first_hi * z;
  double s_hi = 0;
  double s_lo = 0;
  TwoSum(first_hi, p_hi, s_hi, s_lo);
  const double tail = ((small + cross) + p_lo) + first_lo;
  const double lo_sum = s_lo + tail;
  const double hi = s_hi + lo_sum;
  const double lo = lo_sum - (hi - s_hi);

  double magnitude = 0;
  if (!Decide(hi, lo, hi * 0x1p-64 + reduction_error, magnitude)) return false;
  out = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace crt
