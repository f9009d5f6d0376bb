#!/usr/bin/env python3
"""An independent model of a whole drive, written from the game's rules rather than from
its C++ code: race reset, road table, ticks, road passes and the lap clock on the
handset's virtual clock. It plays a headless script of `tilt` and `wait` lines and prints
the tick and paint events the game's trace would hold, in the same form:

    python3 tests/model/drive_model.py tests/model/drives/three_laps.txt --client 480x536

Python floats are IEEE doubles without fused multiply-adds and the sine is rounded
correctly (exact_trig), so a faithful build matches these figures to the last bit.
"""
import argparse
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
from exact_trig import sin  # noqa: E402
from race_model import cdiv, trunc  # noqa: E402  the C conversions, shared with the core model

PI = 3.1415926535
DEG = 0.017453291681077746
TICK_MS = 50
WAITING, RACING, LINE_AHEAD, LAP_STARTED = 0, 1, 2, 3
UINT32_MAX = (1 << 32) - 1

# The state fields as the trace writes them, in its order; the doubles among them.
FIELDS = ["racePhase", "carX", "carY", "carFrame", "lateralSpeed", "speed", "shownSpeed",
          "roadTop", "roadIndex", "offRoad", "ticks", "lapTime", "bestTime", "clientWidth",
          "clientHeight", "ready"]
DOUBLES = {"carX", "lateralSpeed", "speed", "shownSpeed", "ticks", "lapTime", "bestTime"}


class ScriptError(Exception):
    pass


def parse_script(path):
    """The script's commands as ("tilt", throttle, steer) and ("wait", ms) tuples."""
    commands = []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            words = raw.split("#", 1)[0].split()
            if not words:
                continue
            where = "%s:%d: " % (path, number)
            name, args = words[0], words[1:]
            if name not in ("tilt", "wait"):
                raise ScriptError(where + "the model plays only tilt and wait, not %r" % name)
            if len(args) != (2 if name == "tilt" else 1) or not all(a.isdigit() for a in args):
                raise ScriptError(where + "%s takes %s" % (
                    name, "two unsigned angles" if name == "tilt" else "a count of ms"))
            values = [int(a) for a in args]
            if name == "tilt" and max(values) > UINT32_MAX:
                raise ScriptError(where + "an angle is above 32 bits")
            commands.append((name, *values))
    return commands


class Drive:
    """The game's one state record, and the steps that change it."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.racePhase = WAITING
        self.carX = 0.0
        self.carY = 0
        self.carFrame = 0
        self.lateralSpeed = 0.0
        self.speed = 0.0
        self.shownSpeed = 0.0
        self.roadTop = 0
        self.roadIndex = 0
        self.road = [0] * 300
        self.offRoad = 0
        self.ticks = 0.0
        self.lapTime = 0.0
        self.bestTime = 0.0
        self.clientWidth = 0
        self.clientHeight = 0
        self.ready = 0

    def fields(self):
        return [(name, getattr(self, name)) for name in FIELDS]

    def build_road(self):
        base = cdiv(self.clientWidth, 4) + 20
        for n in range(50):
            self.road[n] = base
        t = 0.0
        for n in range(50, 259):
            self.road[n] = trunc(sin(t) * 110.0 + float(base))
            t = t + PI * 0.0625

    def reset_race(self):
        self.carX = float(cdiv(self.clientWidth, 2) - 24)
        self.carY = cdiv(self.clientHeight, 2) - 24
        self.speed = 0.0
        self.shownSpeed = 0.0
        self.carFrame, self.roadIndex, self.roadTop = 9, 35, 10
        self.build_road()
        self.ticks = 0.0
        self.offRoad = 0
        self.racePhase = WAITING

    def tick(self, throttle, steer):
        if self.offRoad != 0:
            self.offRoad = 0
            self.speed = self.speed * 0.1
            self.shownSpeed = self.shownSpeed * 0.5
        if self.ready == 1:
            self.tilt_step(throttle, steer)
            return True
        return False

    def tilt_step(self, throttle, steer):
        self.lateralSpeed = sin(float(steer) * DEG) * -10.0
        self.carX = self.carX + self.lateralSpeed
        self.carFrame = min(max(trunc(self.lateralSpeed) + 9, 0), 17)
        if self.carX < 0.0:
            self.carX = 0.0
        if self.carX > float(self.clientWidth - 48):
            self.carX = float(self.clientWidth - 48)
        accel = sin(float(throttle) * DEG) * 10.0 - 7.0
        s = self.speed - accel
        if s > 17.3:
            s = 17.3
        s = s - abs(self.lateralSpeed) * 0.5
        self.speed = s
        if s < 0.0:
            s = 0.0
            self.speed = 0.0
        self.shownSpeed = (s - self.shownSpeed) * 0.01 + self.shownSpeed

    def road_pass(self):
        start_index, start_top = self.roadIndex, self.roadTop
        car_row = cdiv(self.clientHeight, 2)
        for _ in range(30):
            i, y = self.roadIndex, self.roadTop
            if i == 25:
                if self.carY < y - 15 and self.racePhase == WAITING:
                    self.racePhase = RACING
                if self.carY > y + 15 and self.racePhase == RACING:
                    self.racePhase = LINE_AHEAD
            x0 = self.road[i]
            if abs(car_row - y + 20) < 20:
                if self.carX < float(x0 - 24) or self.carX > float(x0 + 176):
                    self.offRoad = 1
            i = 0 if i + 1 > 258 else i + 1
            self.roadIndex, self.roadTop = i, y + 40
            if self.roadTop > 520:
                break
        v = trunc(self.shownSpeed)
        self.roadTop, self.roadIndex = start_top + v, start_index
        w = start_top + 2 * v - 40
        if w > -40:
            self.roadIndex = 258 if start_index - 1 < 0 else start_index - 1
            self.roadTop = w

    def clock_step(self):
        phase = self.racePhase
        if phase == LINE_AHEAD and self.lapTime > 10.0:
            if self.lapTime < self.bestTime:
                self.bestTime = self.lapTime
            self.ticks = 0.0
            self.racePhase = phase = LAP_STARTED
        if phase != WAITING:
            self.ticks = abs(self.lateralSpeed) * 0.25 + self.ticks + 1.0
        self.lapTime = self.ticks * 0.05
        if phase == LAP_STARTED and self.lapTime > 14.0:
            self.racePhase = RACING
        if self.lapTime > 99.0:
            self.lapTime = 99.0

    def paint(self):
        if self.ready == 0:
            self.ready = 1
            self.clientWidth, self.clientHeight = self.width, self.height
            self.bestTime = 99.0
            self.reset_race()
        self.road_pass()
        self.clock_step()


def play(commands, width, height):
    """Yields the events of the drive: the first paint at ms 0, then a tick and a paint
    every 50 ms of the waits; a tilt holds from the moment its line is reached."""
    drive = Drive(width, height)
    drive.paint()
    yield [("ev", "paint"), ("ms", 0)] + drive.fields()
    now, next_tick = 0, TICK_MS
    throttle = steer = 0  # what the handset's sensor reports before any tilt
    for command in commands:
        if command[0] == "tilt":
            throttle, steer = command[1], command[2]
            continue
        now += command[1]
        while next_tick <= now:
            read = drive.tick(throttle, steer)
            yield ([("ev", "tick"), ("ms", next_tick), ("read", read),
                    ("throttleAngle", throttle), ("steerAngle", steer)] + drive.fields())
            drive.paint()
            yield [("ev", "paint"), ("ms", next_tick)] + drive.fields()
            next_tick += TICK_MS


def json_value(name, value):
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, str):
        return '"%s"' % value
    if name in DOUBLES:
        return "%.17g" % value
    return str(value)


def json_line(event):
    return "{" + ",".join('"%s":%s' % (k, json_value(k, v)) for k, v in event) + "}"


def parse_size(text):
    w, sep, h = text.partition("x")
    if not sep or not w.isdigit() or not h.isdigit() or int(h) <= 200 or int(w) < 48:
        raise argparse.ArgumentTypeError("a client size WxH, wider than the car and taller than the HUD")
    return int(w), int(h)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("script")
    parser.add_argument("--client", type=parse_size, default=(480, 536), help="client area WxH")
    args = parser.parse_args()
    try:
        commands = parse_script(args.script)
    except (OSError, UnicodeDecodeError, ScriptError) as e:
        print(e, file=sys.stderr)
        return 2
    for event in play(commands, *args.client):
        sys.stdout.write(json_line(event) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
