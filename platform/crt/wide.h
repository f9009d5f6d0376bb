// Fixed-point fractions of N 64-bit limbs, most significant limb first (limb i weighs
// 2^-64(i+1)): the arithmetic under the reduction, the series and the rounding. Every
// function is exact but for the one truncation it names.
#pragma once

#include <bit>
#include <cstdint>

namespace crt {

using u64 = std::uint64_t;
__extension__ using u128 = unsigned __int128;

template <int N>
struct Limbs {
  u64 limb[static_cast<unsigned>(N)];
  constexpr u64& operator[](int i) { return limb[i]; }
  constexpr const u64& operator[](int i) const { return limb[i]; }
};

inline u64 Low(u128 v) { return static_cast<u64>(v); }
inline u64 High(u128 v) { return static_cast<u64>(v >> 64); }

// The exact 2N-limb product of two fractions.
template <int N>
Limbs<2 * N> MulFull(const Limbs<N>& a, const Limbs<N>& b) {
  Limbs<2 * N> p{};
  for (int i = N - 1; i >= 0; --i) {
    u64 carry = 0;
    for (int j = N - 1; j >= 0; --j) {
      const u128 t = static_cast<u128>(a[i]) * b[j] + p[i + j + 1] + carry;
      p[i + j + 1] = Low(t);
      carry = High(t);
    }
    p[i] = carry;
  }
  return p;
}

// a*b truncated to N limbs: less than one unit of the last limb low.
template <int N>
Limbs<N> MulHigh(const Limbs<N>& a, const Limbs<N>& b) {
  const Limbs<2 * N> p = MulFull<N>(a, b);
  Limbs<N> r;
  for (int i = 0; i < N; ++i) r[i] = p[i];
  return r;
}

// The top N limbs of the first N+1 of p shifted left by `by` bits (0 <= by < 64).
template <int N, int M>
Limbs<N> TopShiftedLeft(const Limbs<M>& p, int first, int by) {
  Limbs<N> r;
  for (int i = 0; i < N; ++i) {
    const u64 next = first + i + 1 < M ? p[first + i + 1] : 0;
    r[i] = by == 0 ? p[first + i] : (p[first + i] << by) | (next >> (64 - by));
  }
  return r;
}

// Product of two normalized fractions (top bit set), normalized again: exponent drop
// (0 or 1) in `shift`; truncation below 2^-64N, so a relative error below 2^(1-64N).
template <int N>
Limbs<N> MulNormalized(const Limbs<N>& a, const Limbs<N>& b, int& shift) {
  const Limbs<2 * N> p = MulFull<N>(a, b);
  shift = p[0] >> 63 ? 0 : 1;
  return TopShiftedLeft<N, 2 * N>(p, 0, shift);
}

// a - b, wrapping modulo 1.
template <int N>
Limbs<N> Sub(const Limbs<N>& a, const Limbs<N>& b) {
  Limbs<N> r;
  u64 borrow = 0;
  for (int i = N - 1; i >= 0; --i) {
    const u64 d = a[i] - b[i];
    const u64 out = a[i] < b[i] || d < borrow ? 1 : 0;
    r[i] = d - borrow;
    borrow = out;
  }
  return r;
}

template <int N>
bool IsZero(const Limbs<N>& a) {
  for (int i = 0; i < N; ++i) {
    if (a[i] != 0) return false;
  }
  return true;
}

// Leading zero bits (64N for zero).
template <int N>
int LeadingZeros(const Limbs<N>& a) {
  for (int i = 0; i < N; ++i) {
    if (a[i] != 0) return 64 * i + std::countl_zero(a[i]);
  }
  return 64 * N;
}

// a shifted right by `by` bits (any count), truncated to N limbs.
template <int N, int M>
Limbs<N> ShiftRight(const Limbs<M>& a, int by) {
  Limbs<N> r{};
  const int limbs = by / 64;
  const int bits = by % 64;
  for (int i = 0; i < N; ++i) {
    const int from = i - limbs;
    if (from < 0 || from >= M) continue;
    const u64 hi = a[from] >> bits;
    const u64 carry = bits != 0 && from >= 1 ? a[from - 1] << (64 - bits) : 0;
    r[i] = hi | carry;
  }
  return r;
}

}  // namespace crt
