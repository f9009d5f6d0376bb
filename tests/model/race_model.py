#!/usr/bin/env python3
"""An independent model of the race core, written from the rules rather than from the
C++ code. It writes the golden files the core tests compare against, bit for bit:

    python3 tests/model/race_model.py tests/game/core/data

Python floats are IEEE doubles evaluated without fused multiply-adds, and the sine is
rounded correctly (exact_trig, not the C library's), so the figures are those a faithful
build must reproduce.
"""
import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
from exact_trig import sin  # noqa: E402

PI = 3.1415926535
DEG = 0.017453291681077746
MASK64 = (1 << 64) - 1


def trunc(x):
    return int(x)  # toward zero, like a C cast


def cdiv(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def road_table(width):
    base = cdiv(width, 4) + 20
    table = [base] * 50
    t = 0.0
    for _ in range(50, 259):
        table.append(trunc(sin(t) * 110.0 + float(base)))
        t = t + PI * 0.0625
    return table


class Lcg:
    """The same 64-bit generator as the C++ tests' TestSequence."""

    def __init__(self, seed):
        self.state = seed & MASK64

    def next(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & MASK64
        return self.state >> 32


# 886 and 2187: whole degrees where glibc's sine is an ulp off the nearest double.
SPECIAL = [0, 90, 180, 270, 359, 360, 361, 719, 720, 4294967295, 4294967206, 2147483648, 45, 44, 886, 2187]


def angle(rng):
    r = rng.next()
    kind = r % 8
    if kind < 5:
        return rng.next() % 400  # the range a real sensor gives, and a little above
    if kind == 5:
        return rng.next()  # any unsigned 32-bit value is valid input
    if kind == 6:
        return SPECIAL[rng.next() % len(SPECIAL)]
    return 30 + rng.next() % 30  # near the throttle's balance point


def g(x):
    return "%.17g" % x


def tilt_trace(width, ticks, seed):
    lines = []
    rng = Lcg(seed)
    car_x = float(cdiv(width, 2) - 24)
    lateral = speed = shown = 0.0
    frame = 9
    for n in range(ticks):
        throttle = angle(rng)
        steer = angle(rng)
        off_road = rng.next() % 11 == 0
        if off_road:
            speed = speed * 0.1
            shown = shown * 0.5
        lateral = sin(float(steer) * DEG) * -10.0
        car_x = car_x + lateral
        frame = trunc(lateral) + 9
        if frame > 17:
            frame = 17
        if frame < 0:
            frame = 0
        if car_x < 0.0:
            car_x = 0.0
        if car_x > float(width - 48):
            car_x = float(width - 48)
        accel = sin(float(throttle) * DEG) * 10.0 - 7.0
        s = speed - accel
        if s > 17.3:
            s = 17.3
        s = s - abs(lateral) * 0.5
        speed = s
        if s < 0.0:
            s = 0.0
            speed = 0.0
        shown = (s - shown) * 0.01 + shown
        lines.append(" ".join([str(n), str(throttle), str(steer), "1" if off_road else "0",
                               g(lateral), g(car_x), str(frame), g(speed), g(shown)]))
    return lines


WAITING, RACING, LINE_AHEAD, LAP_STARTED = 0, 1, 2, 3


def clock_trace(frames, seed):
    """The clock under a scripted road: the line is sighted below the car once, then
    above it every `lap` frames, sometimes during the lock-out."""
    lines = []
    rng = Lcg(seed)
    phase, ticks, lap_time, best = WAITING, 0.0, 0.0, 99.0
    for n in range(frames):
        lateral = [0.0, -9.999999999999972, 4.999999782056336, 0.5, -2.75][rng.next() % 5]
        # A long stretch without sightings holds one slow lap at the clock limit.
        sighting = rng.next() % 300 if not 1500 <= n < 3700 else 299
        if sighting == 0 and phase == WAITING:
            phase = RACING
        if sighting < 3 and phase == RACING:
            phase = LINE_AHEAD
        p = phase
        if p == LINE_AHEAD and lap_time > 10.0:
            if lap_time < best:
                best = lap_time
            ticks = 0.0
            phase = LAP_STARTED
            p = LAP_STARTED
        if p != WAITING:
            ticks = abs(lateral) * 0.25 + ticks + 1.0
        lap_time = ticks * 0.05
        if p == LAP_STARTED and lap_time > 14.0:
            phase = RACING
        if lap_time > 99.0:
            lap_time = 99.0
        lines.append(" ".join([str(n), str(phase), g(ticks), g(lap_time), g(best)]))
    return lines


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    widths = [0, 1, 3, 240, 241, 320, 480, 481, 800, 1440, -7]
    with open(os.path.join(out, "road_tables.txt"), "w") as f:
        f.write("# width: slots 0..258, from tests/model/race_model.py\n")
        for w in widths:
            f.write("%d: %s\n" % (w, " ".join(str(v) for v in road_table(w))))
    for width, seed in [(480, 1), (241, 2)]:
        with open(os.path.join(out, "tilt_%d.txt" % width), "w") as f:
            f.write("# tick throttle steer offRoad lateralSpeed carX carFrame speed shownSpeed, seed %d\n" % seed)
            f.write("\n".join(tilt_trace(width, 1000, seed)) + "\n")
    with open(os.path.join(out, "clock.txt"), "w") as f:
        f.write("# frame racePhase ticks lapTime bestTime, seed 7\n")
        f.write("\n".join(clock_trace(5000, 7)) + "\n")


if __name__ == "__main__":
    main()
