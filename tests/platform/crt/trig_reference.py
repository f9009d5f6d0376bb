#!/usr/bin/env python3
"""Writes the correctly rounded sine and cosine (nearest double, ties to even) of the
arguments the crt tests check, from mpmath at 200 bits or more: a value that sits too
close to a midpoint between doubles for its precision to decide is computed again at
twice the precision.

    trig_reference.py OUTDIR              one OUTDIR/<set>.bin a set, and OUTDIR/hardest.txt
    trig_reference.py --degrees N         only searches k * factor, k < N, for the hardest

A set's file is a run of records of three little-endian 64-bit words: the argument's
bits, then those of its sine and its cosine. The hardest cases are those whose exact
value lies closest to a midpoint, in ulps of the result (log2 of that distance: -40
means 2^-40 ulp). Works with any Python 3 that has mpmath; gmpy2 makes it faster.
"""
import argparse
import heapq
import math
import multiprocessing
import os
import random
import stat
import struct
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "model"))
from exact_trig import START_BITS, bits_of, double_of, round_to_double, sin_cos  # noqa: E402
from mpmath import mp  # noqa: E402  exact_trig has made sure it is there
from mpmath.libmp import from_man_exp, mpf_mul, mpf_pi, round_nearest  # noqa: E402

DEGREE = 0.017453291681077746  # the game's single-precision pi/180
NEEDLE = 0.3141592502593994  # radians of the dial per unit of shown speed
PI_TEN = 3.1415926535  # the road table's pi
TOP_SPEED = 17.3
SMOOTHING = 0.01
CHUNK = 4000
HARDEST_KEPT = 40


def evaluate(chunk):
    """Records of one chunk, its hardest cases and how many glibc's sin and cos miss."""
    out = bytearray()
    hardest = []
    wrong = 0
    for xb in chunk:
        s, c, hs, hc = sin_cos(xb)
        out += struct.pack("<QQQ", xb, s, c)
        hardest.append((hs, xb, "sin", s))
        hardest.append((hc, xb, "cos", c))
        x = double_of(xb)
        if math.isfinite(x):
            wrong += (bits_of(math.sin(x)) != s) + (bits_of(math.cos(x)) != c)
    return bytes(out), heapq.nsmallest(HARDEST_KEPT, hardest), wrong


def nearest_double(v):
    prec = START_BITS
    while True:
        r = round_to_double(v(prec), prec)
        if r is not None:
            return r[0]
        prec *= 2


# ---- the sets ----


def degrees(count):
    return [bits_of(float(k) * DEGREE) for k in range(count)]


def degrees_u32():
    rng = random.Random(0x5EED0032)
    return [bits_of(float(rng.getrandbits(32)) * DEGREE) for _ in range(100_000)]


def road():
    t, out = 0.0, []
    for _ in range(209):
        out.append(bits_of(t))
        t = t + PI_TEN * 0.0625
    return out


def needle():
    """The dial's angles: shown speeds spread over 0..17.3 (the speed is clamped there and
    the shown one follows it), and every one a full-throttle start from rest passes
    through, halved as off the road, until it settles."""
    speeds = {TOP_SPEED * i / 100_000 for i in range(100_001)}
    shown = 0.0
    while True:
        speeds.update((shown, shown * 0.5))
        nxt = (TOP_SPEED - shown) * SMOOTHING + shown
        if nxt == shown:
            break
        shown = nxt
    return sorted(bits_of(v * NEEDLE) for v in speeds)


def near_half_pi_multiple(rng):
    """The double nearest n pi/2 for some n, moved by a few ulps."""
    n = rng.getrandbits(rng.randrange(1, 64)) | 1
    b = nearest_double(lambda p: mpf_mul(from_man_exp(n, -1), mpf_pi(p + 70), p, round_nearest))
    return max(0, b + rng.randrange(-1000, 1001))


def random_doubles():
    """A million finite doubles of every exponent, either sign, weighted towards where
    sine and cosine are hard: subnormals, the tiny thresholds near 2^-26, near multiples
    of pi/2, and the ordinary range."""
    rng = random.Random(0x5EED0064)
    out = []
    for i in range(1_000_000):
        kind = i % 10
        mantissa = rng.getrandbits(52)
        if kind < 4:
            exponent = rng.randrange(0, 2047)  # any, subnormals and the largest included
        elif kind < 6:
            exponent = 1023 + rng.randrange(-32, -18)
        elif kind == 6:
            exponent, mantissa = 0, mantissa >> rng.randrange(0, 52)
        elif kind == 7:
            exponent = 1023 + rng.randrange(-5, 31)
        else:
            out.append(near_half_pi_multiple(rng) | rng.getrandbits(1) << 63)
            continue
        out.append(rng.getrandbits(1) << 63 | exponent << 52 | mantissa)
    return out


def half_pi_nearest():
    """For each binade, the doubles closest to a multiple of pi/2: the convergents n/m of
    2^(e+1)/pi with m < 2^53 (x = m 2^e), where argument reduction cancels the most."""
    mp.prec = 2400
    out = set()
    for e in range(-60, 972):
        beta = mp.mpf(2) ** (e + 1) / mp.pi
        a, frac = int(mp.floor(beta)), beta - mp.floor(beta)
        p0, q0, p1, q1 = 1, 0, a, 1  # convergents p/q of beta
        kept = []
        while q1 < 1 << 53 and frac != 0:
            kept.append(q1)
            frac = 1 / frac
            a = int(mp.floor(frac))
            frac -= a
            p0, q0, p1, q1 = p1, q1, a * p1 + p0, a * q1 + q0
        for m in kept[-3:]:
            x = math.ldexp(float(m), e)
            if math.isfinite(x):
                out.update((bits_of(x), bits_of(-x)))
    return sorted(out)


SETS = {
    "degrees": lambda: degrees(100_001),
    "degrees_u32": degrees_u32,
    "road": road,
    "needle": needle,
    "random": random_doubles,
    "half_pi": half_pi_nearest,
}
GAME_SETS = ("degrees", "degrees_u32", "road", "needle")


def run(pool, args):
    chunks = [args[i : i + CHUNK] for i in range(0, len(args), CHUNK)]
    data, hardest, wrong = bytearray(), [], 0
    for out, hard, w in pool.imap(evaluate, chunks):
        data += out
        hardest = heapq.nsmallest(HARDEST_KEPT, hardest + hard)
        wrong += w
    return bytes(data), hardest, wrong


def write_file(path, data):
    """Replaces path through a fresh file beside it, and only a regular file."""
    try:
        if not stat.S_ISREG(os.lstat(path).st_mode):
            sys.exit(f"trig_reference: {path} is not a regular file; not replacing it")
    except FileNotFoundError:
        pass
    temp = f"{path}.{os.getpid()}.tmp"
    with open(temp, "xb") as f:
        f.write(data)
    os.replace(temp, path)


def describe(name, hardest):
    return [f"{name:12} {xb:016x} {fn} {closeness:7.2f} {r:016x}" for closeness, xb, fn, r in hardest]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir", nargs="?")
    parser.add_argument("--degrees", type=int, metavar="N")
    opts = parser.parse_args()
    if (opts.outdir is None) == (opts.degrees is None):
        parser.error("give OUTDIR or --degrees N")
    if opts.outdir is not None and not os.path.isdir(opts.outdir):
        sys.exit(f"trig_reference: {opts.outdir} is not a folder")

    start = time.monotonic()
    report = ["set          argument         fn  log2(ulps from a midpoint) result"]
    with multiprocessing.Pool(os.cpu_count() or 2) as pool:
        if opts.degrees is not None:
            _, hardest, wrong = run(pool, degrees(opts.degrees))
            print(f"k < {opts.degrees}: glibc wrong in {wrong}", file=sys.stderr)
            print("\n".join(report + describe("degrees", hardest)))
            return
        for name, make in SETS.items():
            args = make()
            data, hardest, wrong = run(pool, args)
            write_file(os.path.join(opts.outdir, name + ".bin"), data)
            report += describe(name, hardest[:12])
            note = f", glibc wrong in {wrong} of {2 * len(args)}" if name in GAME_SETS else ""
            print(f"trig_reference: {name}: {len(args)} arguments{note}", file=sys.stderr)
    write_file(os.path.join(opts.outdir, "hardest.txt"), ("\n".join(report) + "\n").encode())
    print(f"trig_reference: {time.monotonic() - start:.1f} s", file=sys.stderr)


if __name__ == "__main__":
    main()
