#!/usr/bin/env python3
"""Writes a headless drive script by steering the model of the drive along its own road:
a driver who looks at the segment under the car and the next one, tilts every 100 ms,
at the chosen moments leaves the road on purpose, and may brake to a stop for a while.
The scripts in tests/model/drives come from here; they are plain tilt/wait lines and
are replayed as they stand.

    python3 tests/model/plan_drive.py --client 480x536 --seconds 180 --off-road 40 100 \
        --off-road-ticks 40 > tests/model/drives/wide_full_throttle.txt
"""
import argparse
import math
import sys

import drive_model as dm

PERIOD_TICKS = 2  # one tilt decision per 100 ms


def car_row_segment(drive, ahead):
    """The road table entry `ahead` segments above the one the off-road test will see."""
    # When a top lies exactly on the row no segment is tested; aim at the one below it.
    k = (dm.cdiv(drive.clientHeight, 2) - drive.roadTop) // 40 + 1
    return drive.road[(drive.roadIndex + k - ahead) % 259]


def steer_for(lateral):
    """The sensor angle whose sine gives `lateral` pixels a tick (negative: left)."""
    degrees = round(math.degrees(math.asin(min(1.0, abs(lateral) / 10.0))))
    return degrees if lateral < 0 else (360 - degrees) % 360


def plan(width, height, seconds, off_road_at, off_road_ticks, throttle, stop=None):
    drive = dm.Drive(width, height)
    drive.paint()
    lines, held, waited = [], None, 0
    leaving = -1
    for n in range(0, seconds * 1000 // dm.TICK_MS, PERIOD_TICKS):
        braking = stop is not None and stop[0] <= n * dm.TICK_MS / 1000 < stop[0] + stop[1]
        if n * dm.TICK_MS // 1000 in off_road_at and leaving < 0 and drive.offRoad == 0:
            leaving = off_road_ticks
            off_road_at = [s for s in off_road_at if s != n * dm.TICK_MS // 1000]
        if leaving >= 0:
            # Hard towards the wider verge until the grass has held the car a while.
            road_middle = car_row_segment(drive, 0) + 100
            tilt = (throttle, 270 if road_middle < drive.clientWidth // 2 else 90)
            leaving -= PERIOD_TICKS
        else:
            target = (car_row_segment(drive, 0) + car_row_segment(drive, 1)) / 2 + 76
            # Pressing against the screen's edge would only cost speed.
            target = max(0.0, min(float(drive.clientWidth - 48), target))
            lateral = max(-10.0, min(10.0, (target - drive.carX) * 0.4))
            tilt = (90 if braking else throttle, steer_for(lateral))
        if tilt != held:
            if waited:
                lines.append("wait %d" % waited)
            lines.append("tilt %d %d" % tilt)
            held, waited = tilt, 0
        for _ in range(PERIOD_TICKS):
            drive.tick(*tilt)
            drive.paint()
        waited += PERIOD_TICKS * dm.TICK_MS
    lines.append("wait %d" % waited)
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--client", type=dm.parse_size, default=(480, 536))
    parser.add_argument("--seconds", type=int, default=180)
    parser.add_argument("--off-road", type=int, nargs="*", default=[], help="seconds to leave the road at")
    parser.add_argument("--off-road-ticks", type=int, default=30)
    parser.add_argument("--throttle", type=int, default=0)
    parser.add_argument("--stop", type=int, nargs=2, metavar=("AT", "SECONDS"), help="brake hard for a while")
    args = parser.parse_args()
    for line in plan(*args.client, args.seconds, args.off_road, args.off_road_ticks, args.throttle,
                     args.stop):
        print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
