#!/usr/bin/env python3
"""Plays each drive script through the game and through the model of the drive, and fails
on the first tick or paint whose fields differ: doubles must match bit for bit, signed
zeros included. The laps the game prints with --laps are the model's. Each drive must also
still show what it is kept for: three laps closed, some frames off the road, a best lap
below the starting 99.0.

    compare_drive.py VIRETA DRIVE SCREEN CLIENT [DRIVE SCREEN CLIENT ...]
"""
import argparse
import json
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drive_model as dm  # noqa: E402

SHOWN_DIFFERENCES = 10


def raw_tokens(line):
    """One trace event with its numbers kept as written, so that -0 stays apart from 0."""
    return json.loads(line, parse_int=lambda s: ("int", s), parse_float=lambda s: ("float", s))


def bits(x):
    return struct.pack("<d", float(x))


def same(name, game, model):
    if isinstance(model, bool) or isinstance(model, str):
        return game == model
    if not isinstance(game, tuple):
        return False
    kind, text = game
    if name in dm.DOUBLES:
        return bits(text) == bits(model)
    return kind == "int" and int(text) == model


def shown(value):
    return value[1] if isinstance(value, tuple) else json.dumps(value)


def game_events(vireta, script, screen, trace):
    run = subprocess.run([vireta, "--headless", "--screen", screen, "--script", script,
                          "--trace", trace, "--laps"], capture_output=True, text=True, timeout=240)
    if run.returncode != 0:
        raise RuntimeError("vireta ended with %d: %s" % (run.returncode, run.stderr.strip()))
    events = []
    with open(trace, encoding="utf-8") as f:
        for line in f:
            event = raw_tokens(line)
            if event.get("ev") == "error":
                raise RuntimeError("the game's run reported an error: " + line.strip())
            if event.get("ev") in ("tick", "paint"):
                events.append(event)
    return events, run.stdout


def differences(game, model):
    for n, (g, m) in enumerate(zip(game, model)):
        where = "event %d (%s at ms %s)" % (n, m[0][1], m[1][1])
        if list(g.keys()) != [k for k, _ in m]:
            yield "%s: fields %s, model %s" % (where, list(g.keys()), [k for k, _ in m])
            continue
        for name, value in m:
            if not same(name, g[name], value):
                yield "%s, %s: game %s, model %s" % (where, name, shown(g[name]),
                                                     dm.json_value(name, value))
    if len(game) != len(model):
        yield "the game traced %d ticks and paints, the model %d" % (len(game), len(model))


def printed_laps(model):
    """What --laps prints for the model's drive: a lap closes on the paint that starts the
    next, with the time the paint before it showed."""
    paints = [dict(e) for e in model if e[0][1] == "paint"]
    laps = [a["lapTime"] for a, b in zip(paints, paints[1:])
            if a["racePhase"] != dm.LAP_STARTED and b["racePhase"] == dm.LAP_STARTED]
    if not laps:
        return "no lap completed\n"
    lines = "".join("lap %d: %.2f\n" % (n + 1, lap) for n, lap in enumerate(laps))
    return lines + "best lap: %.2f\n" % min(laps)


def coverage(model):
    """What a drive must keep showing, read from the model's paints."""
    paints = [dict(e) for e in model if e[0][1] == "paint"]
    laps = sum(1 for a, b in zip(paints, paints[1:])
               if a["racePhase"] != dm.LAP_STARTED and b["racePhase"] == dm.LAP_STARTED)
    off_road = sum(1 for p in paints if p["offRoad"])
    best = paints[-1]["bestTime"]
    problems = []
    if laps < 3:
        problems.append("only %d laps closed" % laps)
    if off_road == 0:
        problems.append("never off the road")
    if not best < 99.0:
        problems.append("no best lap set")
    return laps, off_road, best, problems


def compare(vireta, script, screen, client, folder):
    name = os.path.basename(script)
    width, height = dm.parse_size(client)
    model = list(dm.play(dm.parse_script(script), width, height))
    game, printed = game_events(vireta, script, screen, os.path.join(folder, name + ".jsonl"))
    found = []
    if printed != printed_laps(model):
        found.append("--laps printed %r, the model's laps are %r" % (printed, printed_laps(model)))
    for difference in differences(game, model):
        found.append(difference)
        if len(found) == SHOWN_DIFFERENCES:
            break
    laps, off_road, best, problems = coverage(model)
    print("%s on %s: %d events, %d laps, %d paints off the road, best lap %.17g" % (
        name, screen, len(model), laps, off_road, best))
    for line in found:
        print("  differs: " + line)
    for line in problems:
        print("  the drive no longer serves: " + line)
    return not found and not problems


def main():
    if len(sys.argv) < 5 or (len(sys.argv) - 2) % 3:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    vireta, runs = sys.argv[1], sys.argv[2:]
    ok = True
    with tempfile.TemporaryDirectory() as folder:
        for n in range(0, len(runs), 3):
            try:
                ok = compare(vireta, *runs[n:n + 3], folder) and ok
            except (OSError, RuntimeError, ValueError, argparse.ArgumentTypeError, dm.ScriptError,
                    subprocess.TimeoutExpired) as e:
                print("%s: %s" % (runs[n], e))
                ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
