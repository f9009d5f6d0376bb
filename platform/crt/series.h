// sin r and cos r for 0 < r <= pi/4 (a little more, by the reduction's error) in N-limb
// fixed point, from their Taylor series in t = r^2 by Horner's rule:
//   sin r = r·(1 - t·(1/3! - t·(1/5! - ...)))    cos r = 1 - t·(1/2! - t·(1/4! - ...))
// Errors, in units u = 2^-64N, given r with relative error d <= 6.01u (reduce.h):
// - t = r^2 cut to N limbs: |t~ - t| <= 1u + 2·d·t <= 8.42u, as t <= 0.617.
// - each coefficient 1/n! is cut to N limbs (< 1u; the table holds 17 limbs, so its own
//   error is far below that), and the series stops at the last n whose cut coefficient is
//   not zero, so what is left out is below 1/n! < 1u.
// - each Horner step p = c - t·p cuts one product (< 1u) and carries the previous step's
//   error times t <= 0.617: with the innermost step's 2u, the sum stays below
//   2u / (1 - 0.617) = 5.3u, and the last product, 1 - t·p, is within 1u + 0.617·5.3u
//   = 4.3u of the series at t~.
// - the series' slope in t is at most 1/6 (sine) and 1/2 (cosine), so t's error adds
//   1.41u and 4.21u.
// sin: 5.71u on a factor >= sin(pi/4)/(pi/4) = 0.90, so 6.34u relative; times r (6.01u)
// and one more product cut (2u, normalized): below 14.4u relative.
// cos: 8.51u on a value >= cos(pi/4) = 0.707, so below 12.1u relative.
#pragma once

#include "platform/crt/reduce.h"
#include "platform/crt/wide.h"

namespace crt {

inline constexpr int MAX_LIMBS = 16;
inline constexpr int FACTORIALS = 200;

namespace detail {

// 1/n! for n = 2 .. FACTORIALS-1 to 17 limbs by repeated division, truncated each time:
// 1/n! comes out less than 2 units of the 17th limb low.
struct InverseFactorials {
  u64 limb[FACTORIALS][MAX_LIMBS + 1]{};
  constexpr InverseFactorials() {
    limb[2][0] = u64{1} << 63;
    for (int n = 3; n < FACTORIALS; ++n) {
      u128 rest = 0;
      for (int i = 0; i <= MAX_LIMBS; ++i) {
        const u128 value = (rest << 64) | limb[n - 1][i];
        limb[n][i] = static_cast<u64>(value / static_cast<u128>(n));
        rest = value % static_cast<u128>(n);
      }
    }
  }
};

inline constexpr InverseFactorials INVERSE_FACTORIALS{};

template <int N>
Limbs<N> Coefficient(int n) {
  Limbs<N> c;
  for (int i = 0; i < N; ++i) c[i] = INVERSE_FACTORIALS.limb[n][i];
  return c;
}

// The largest n of the given parity whose 1/n! is not zero at N limbs.
template <int N>
constexpr int LastTerm(int parity) {
  int n = FACTORIALS - 1;
  while (true) {
    bool zero = true;
    for (int i = 0; i < N; ++i) zero = zero && INVERSE_FACTORIALS.limb[n][i] == 0;
    if (!zero && n % 2 == parity) return n;
    --n;
  }
}

// t·(c_first - t·(c_first+2 - ...)) down from the last term: what the series subtracts from 1.
template <int N>
Limbs<N> Horner(const Limbs<N>& t, int first, int last) {
  Limbs<N> p = Coefficient<N>(last);
  for (int n = last - 2; n >= first; n -= 2) {
    p = Sub<N>(Coefficient<N>(n), MulHigh<N>(t, p));
  }
  return MulHigh<N>(t, p);
}

}  // namespace detail

// A positive value 0.mantissa · 2^exponent, top bit of the mantissa set; `one` for exactly 1.
template <int N>
struct Value {
  Limbs<N> mantissa;
  int exponent;
  bool one;
};

// t = r^2 as an N-limb fraction, r = 0.m·2^e with e <= 1.
template <int N>
Limbs<N> Square(const Reduced<N>& r) {
  return ShiftRight<N, 2 * N>(MulFull<N>(r.mantissa, r.mantissa), -2 * r.exponent);
}

template <int N>
Value<N> SinSeries(const Reduced<N>& r) {
  static_assert(detail::LastTerm<N>(1) < FACTORIALS - 2, "too few coefficients");
  const Limbs<N> v = detail::Horner<N>(Square<N>(r), 3, detail::LastTerm<N>(1));
  if (IsZero<N>(v)) return {r.mantissa, r.exponent, false};
  int drop = 0;
  const Limbs<N> factor = Sub<N>(Limbs<N>{}, v);
  const Limbs<N> product = MulNormalized<N>(r.mantissa, factor, drop);
  return {product, r.exponent - drop, false};
}

template <int N>
Value<N> CosSeries(const Reduced<N>& r) {
  const Limbs<N> v = detail::Horner<N>(Square<N>(r), 2, detail::LastTerm<N>(0));
  if (IsZero<N>(v)) return {Limbs<N>{}, 1, true};
  return {Sub<N>(Limbs<N>{}, v), 0, false};
}

}  // namespace crt
