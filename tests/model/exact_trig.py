"""Sine and cosine rounded correctly to the nearest double (ties to even), computed with
mpmath, so the models depend on no C library: every build of the game must give these
bits. The reference values of the handset's own sin and cos (tests/platform/crt) come
from here too, so there is one rounding to trust.

    from exact_trig import sin, cos
"""
import functools
import math
import struct
import sys

try:
    from mpmath.libmp import from_float, mpf_cos_sin, round_nearest
except ImportError:
    sys.exit(f"exact_trig: {sys.executable} has no mpmath (Debian: python3-mpmath, python3-gmpy2)")

START_BITS = 200


def bits_of(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def double_of(b):
    return struct.unpack("<d", struct.pack("<Q", b))[0]


def round_to_double(v, prec):
    """v = (sign, man, exp, bc) known to within 2^-(prec-19) relatively (mpmath promises
    a few bits more). Returns the bits of the nearest double and log2 of v's distance to
    the nearest midpoint in ulps, or None when a midpoint lies within v's error."""
    sign, man, exp, _ = v
    top = exp + man.bit_length() - 1  # 2^top <= |v| < 2^(top+1)
    ulp = max(top - 52, -1074)
    shift = ulp - exp
    if shift <= 0:
        m, closeness = man << -shift, -1.0
    else:
        m = man >> shift
        twice = 2 * (man - (m << shift)) - (1 << shift)  # > 0: above the midpoint
        error = top + 20 - prec - ulp  # v is off by less than 2^error ulps
        if twice == 0 or (shift + 1 + error >= 0 and abs(twice) <= 1 << (shift + 1 + error)):
            return None
        closeness = math.log2(abs(twice)) - (shift + 1)
        if twice > 0:
            m += 1
    return (sign << 63) | (((ulp + 1075) << 52) + m - (1 << 52)), closeness


def sin_cos(xb):
    """Bits of sin and cos of the double with bits xb, and how close each came to a midpoint."""
    x = double_of(xb)
    if x != x or math.isinf(x):
        nan = bits_of(math.nan)
        return nan, nan, 0.0, 0.0
    if x == 0.0:
        return xb, bits_of(1.0), 0.0, 0.0
    arg = from_float(x)
    prec = START_BITS
    while True:
        c, s = mpf_cos_sin(arg, prec, round_nearest)
        rs, rc = round_to_double(s, prec), round_to_double(c, prec)
        if rs is not None and rc is not None:
            return rs[0], rc[0], rs[1], rc[1]
        prec *= 2


# Cached by the argument's bits, so that -0.0 and 0.0 stay apart: the game uses few.
@functools.lru_cache(maxsize=None)
def _sin_cos(xb):
    s, c, _, _ = sin_cos(xb)
    return double_of(s), double_of(c)


def sin(x):
    return _sin_cos(bits_of(float(x)))[0]


def cos(x):
    return _sin_cos(bits_of(float(x)))[1]
