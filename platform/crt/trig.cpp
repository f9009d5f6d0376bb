// crt::Sin and crt::Cos: the special and tiny arguments, then the double-double fast path
// (fast_path.h), and for the rare argument whose result lies too near a midpoint for
// that, the slow path: reduction, series and rounding in fixed point at 128 bits, and if
// need be at 256, 512 and 1024.
//
// Tiny arguments: for 0 < |x| < 2^-26, 0 < x - sin x < x^3/6, below half the spacing of
// doubles just under x (x·2^-54 at worst, when x is a power of two), so sin x rounds to
// x. For |x| < 2^-27, 0 < 1 - cos x < x^2/2 < 2^-55, below half the spacing under 1
// (2^-54), so cos x rounds to 1.
//
// Slow path precision: sin and cos come out within 14.4 units of the last limb
// (series.h), tested with 16. At 128 bits that leaves a midpoint undecided about once in
// 2^70 arguments, at 256 bits once in 2^198. Published searches for
// the hardest binary64 arguments of sine and cosine find none that needs 256 bits. The
// steps end at 1024 bits so the function always returns; there the rounding is taken as it
// stands, wrong only for a value within 2^-1019 relative of a midpoint.
#include "platform/crt/trig.h"

#include <cstring>

#include "platform/crt/fast_path.h"
#include "platform/crt/precision.h"
#include "platform/crt/reduce.h"
#include "platform/crt/rounding.h"
#include "platform/crt/series.h"

namespace crt {
namespace {

using fast::BitsOf;
using fast::SIGN;

constexpr u64 INFINITY_BITS = 0x7FF0000000000000;
constexpr u64 SIN_TINY = 0x3E50000000000000;  // 2^-26
constexpr u64 COS_TINY = 0x3E40000000000000;  // 2^-27
constexpr u64 ERROR_UNITS = 16;

// sin|x| (shift 0) or cos|x| (shift 1, as cos x = sin(x + pi/2)) at N limbs.
template <int N>
bool Evaluate(u64 abs_bits, unsigned shift, bool last, double& out) {
  Reduced<N> r;
  if (!Reduce<N>(abs_bits, r)) return false;
  const unsigned quadrant = (r.quadrant + shift) & 3;
  const bool cosine = (quadrant & 1) != 0;
  bool negative = (quadrant & 2) != 0;
  Value<N> v;
  if (cosine) {
    v = CosSeries<N>(r);
  } else {
    v = SinSeries<N>(r);
    negative = negative != r.negative;
  }
  double magnitude = 1.0;
  if (!v.one && !RoundToNearest<N>(v.mantissa, v.exponent, ERROR_UNITS, magnitude) && !last) return false;
  out = negative ? -magnitude : magnitude;
  return true;
}

// The slow path: the magnitude, and the precision in bits that decided it.
[[gnu::noinline]] double Slow(u64 abs_bits, unsigned shift, int& bits) {
  double out = 0.0;
  bits = 128;
  if (Evaluate<2>(abs_bits, shift, false, out)) return out;
  bits = 256;
  if (Evaluate<4>(abs_bits, shift, false, out)) return out;
  bits = 512;
  if (Evaluate<8>(abs_bits, shift, false, out)) return out;
  bits = 1024;
  Evaluate<16>(abs_bits, shift, true, out);
  return out;
}

// sin|x| or cos|x| (shift 1) for |x| past the tiny ones, and the bits it took.
inline double Magnitude(u64 abs_bits, unsigned shift, int& bits) {
  double out = 0.0;
  bits = 64;
  if (FastPath(abs_bits, shift, out)) return out;
  return Slow(abs_bits, shift, bits);
}

// NaN for a NaN (itself, made quiet) or an infinity, in integers: NaNs from arithmetic
// differ in sign and payload between CPUs.
inline double NotANumber(u64 x_bits) {
  const u64 quiet = u64{1} << 51;
  const u64 bits = (x_bits & ~SIGN) == INFINITY_BITS ? INFINITY_BITS | quiet : x_bits | quiet;
  double out;
  std::memcpy(&out, &bits, sizeof out);
  return out;
}

// Either function of x, and its precision (0 when no series was needed).
inline double SinOrCos(double x, unsigned shift, int& bits) {
  const u64 x_bits = BitsOf(x);
  const u64 abs_bits = x_bits & ~SIGN;
  bits = 0;
  if (abs_bits >= INFINITY_BITS) return NotANumber(x_bits);
  if (shift == 0) {
    if (abs_bits < SIN_TINY) return x;
    const double magnitude = Magnitude(abs_bits, 0, bits);
    return (x_bits & SIGN) != 0 ? -magnitude : magnitude;
  }
  if (abs_bits < COS_TINY) return 1.0;
  return Magnitude(abs_bits, 1, bits);
}

}  // namespace

double Sin(double x) {
  int bits = 0;
  return SinOrCos(x, 0, bits);
}

double Cos(double x) {
  int bits = 0;
  return SinOrCos(x, 1, bits);
}

int SinPrecision(double x) {
  int bits = 0;
  SinOrCos(x, 0, bits);
  return bits;
}

int CosPrecision(double x) {
  int bits = 0;
  SinOrCos(x, 1, bits);
  return bits;
}

}  // namespace crt
