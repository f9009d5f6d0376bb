"""Sine and cosine rounded correctly to the nearest double (ties to even), computed with
mpmath, so the models depend on no C library: every build of the game must give these
bits.

    from exact_trig import sin, cos
"""
import functools
import math
import sys

try:
    from mpmath import libmp
except ImportError:
    sys.exit("exact_trig: mpmath is missing (Debian's python3-mpmath; tools/install-deps.sh installs it)")

START_BITS = 200
# Below this, sin(x) lies within a quarter of an ulp of x and cos(x) of 1, so those are
# the nearest doubles; it also keeps the refinement below from chasing 1 - x*x/2.
TINY = 2.0 ** -27


def _nearest(f, x):
    bits = START_BITS
    while True:
        v = f(libmp.from_float(x), bits, libmp.round_nearest)
        sign, man, exp, bc = v
        # mpmath's error is far below 16 units of the working precision's last place;
        # when the whole interval rounds to one double, that double is the answer.
        margin = (0, 1, exp + bc - bits + 4, 1)
        low = libmp.to_float(libmp.mpf_sub(v, margin), rnd=libmp.round_nearest)
        high = libmp.to_float(libmp.mpf_add(v, margin), rnd=libmp.round_nearest)
        if low == high:
            return low
        # Close to a midpoint between two doubles; the value is transcendental, never on it.
        bits *= 2


# Cached per argument: the game uses few. Zeros never reach the cache, where -0.0 and
# 0.0 would be one key.
@functools.lru_cache(maxsize=None)
def _sin(x):
    return _nearest(libmp.mpf_sin, x)


@functools.lru_cache(maxsize=None)
def _cos(x):
    return _nearest(libmp.mpf_cos, x)


def sin(x):
    x = float(x)
    if math.isnan(x) or math.isinf(x):
        return math.nan
    return x if abs(x) < TINY else _sin(x)  # x keeps the sign of zero


def cos(x):
    x = float(x)
    if math.isnan(x) or math.isinf(x):
        return math.nan
    return 1.0 if abs(x) < TINY else _cos(x)
