#!/bin/bash
# The sensor DLL's live tilt under Wine, read by a probe as the game reads it while xdotool
# plays the player: held arrows tip the phone (left and right to opposite sides, up
# changes the throttle) and it glides back to level once they are let go; the pointer
# over the window tips it by where it is, level at the centre; and neither moves it
# while another program's window is in front. With no gamepad the keys are the default.
set -u
test_name=wine_tilt
. "$(dirname "$0")/wine_support.sh"
command -v xdotool >/dev/null 2>&1 || { echo "xdotool not found, skipping"; exit 77; }
probe_exe="$windows/probe/tilt_probe.exe"
[ -f "$probe_exe" ] || fail "$probe_exe is missing: build the windows preset"
start_xvfb
# One server for the whole test, so each start takes a second rather than several.
wineserver -p
copy_game
cp "$probe_exe" "$work/game/"

probe_pid=""
# Starts the probe reading for `$1` seconds into $work/$2.txt and waits for its window;
# the rest of the arguments go before it as environment.
start_probe() {
  local seconds=$1 name=$2
  shift 2
  env "$@" wine "$work/game/tilt_probe.exe" read "$seconds" >"$work/$name.txt" 2>"$work/$name.err" &
  probe_pid=$!
  probe_window=$(timeout 30 xdotool search --sync --name '^Tilt probe$' | head -n 1) ||
    fail "$name: the probe showed no window ($(cat "$work/$name.err"))"
  # Its first reads, level.
  sleep 1
}

end_probe() { wait "$probe_pid" || fail "$1: the probe failed: $(cat "$work/$1.err")"; }

# Notes in $work/<case>.marks that the reads from here on are `$2`.
mark() { echo "$(wc -l <"$work/$1.txt") $2" >>"$work/$1.marks"; }

hold() {
  mark "$1" "$2"
  xdotool keydown "$2"
  sleep "$3"
  mark "$1" "after-$2"
  xdotool keyup "$2"
  sleep 2
}

start_probe 11 keys
xdotool windowfocus "$probe_window" 2>/dev/null || true
mark keys level
sleep 1
hold keys Left 1
hold keys Right 1
hold keys Up 0.7
end_probe keys

# Another program's window in front: held keys and a pointer over the probe do nothing.
start_probe 6 behind
wine "$work/game/tilt_probe.exe" window 5 >/dev/null 2>&1 &
other_pid=$!
other=$(timeout 30 xdotool search --sync --name '^Other window$' | head -n 1) || fail "no other window"
xdotool windowfocus "$other" 2>/dev/null || true
sleep 0.5
mark behind behind
xdotool keydown Left
sleep 1
xdotool keyup Left
wait "$other_pid" || true
end_probe behind

# The probe's window is 200x200 at the screen's corner.
start_probe 7 mouse HTC_SENSOR_TILT=mouse
for place in "100 100 centre" "10 100 west" "190 100 east" "100 10 north" "100 190 south"; do
  set -- $place
  xdotool mousemove "$1" "$2"
  sleep 0.6
  mark mouse "$3"
done
end_probe mouse

python3 - "$work" <<'PY' || exit 1
import sys
work = sys.argv[1]

def fail(message):
    print("wine_tilt: " + message, file=sys.stderr)
    sys.exit(1)

# The reads of case `name`, and those from each mark to the next by the mark's label;
# "<label>@" is the last read before the mark.
def case(name):
    rows = [tuple(int(v) for v in line.split()) for line in open(f"{work}/{name}.txt")]
    marks = [line.split() for line in open(f"{work}/{name}.marks")]
    spans = {}
    for i, (start, label) in enumerate(marks):
        spans[label + "@"] = rows[int(start) - 1] if int(start) > 0 else fail(f"{name}: no reads before {label}")
        end = int(marks[i + 1][0]) if i + 1 < len(marks) else len(rows)
        spans[label] = rows[int(start):end]
        if not spans[label]:
            fail(f"{name}: no reads while {label}")
    return rows, spans

def signed(angle):
    return angle - 360 if angle > 180 else angle

rows, keys = case("keys")
level = keys["level"][0][1:3]
if any(r[1:3] != level for r in keys["level"]):
    fail(f"keys: the phone moved with no key held: {keys['level']}")
if any(r[3] != 1 for r in rows):
    fail("keys: the probe's window lost the foreground")
for key, sign in (("Left", 1), ("Right", -1)):
    steer = [signed(r[1]) for r in keys[key]]
    side = 1 if steer[-1] > signed(level[0]) else -1
    if steer[-1] == signed(level[0]) or any(b * side < a * side for a, b in zip(steer, steer[1:])):
        fail(f"keys: {key} held does not tip the phone steadily to one side: {steer}")
    keys[key + "-side"] = side
    after = keys["after-" + key]
    if after[-1][1:3] != level:
        fail(f"keys: after {key} the phone did not glide back to level {level}: {[r[1:3] for r in after]}")
if keys["Left-side"] == keys["Right-side"]:
    fail("keys: Left and Right tip the phone the same way")
if keys["Up"][-1][2] == level[1] or keys["Up"][-1][1] != level[0]:
    fail(f"keys: Up held does not change the throttle alone: {[r[1:3] for r in keys['Up']]}")

rows, behind = case("behind")
held = behind["behind"]
if any(r[3] != 0 for r in held):
    fail("behind: the probe's window stayed in front of the other program's")
if any(r[1:3] != level for r in held):
    fail(f"behind: keys held for another program moved the phone: {[r[1:3] for r in held]}")

rows, mouse = case("mouse")
last = {label: mouse[label + "@"][1:3] for label in ("centre", "west", "east", "north", "south")}
if last["centre"] != level:
    fail(f"mouse: the centre is {last['centre']}, not level {level}")
west, east = signed(last["west"][0]), signed(last["east"][0])
if not (west * keys["Left-side"] > 0 and east * keys["Right-side"] > 0) or last["west"][1] != level[1]:
    fail(f"mouse: west {last['west']} and east {last['east']} do not steer as Left and Right")
if last["north"][0] != level[0] or last["north"][1] == level[1] or \
        (last["north"][1] - level[1]) * (last["south"][1] - level[1]) >= 0:
    fail(f"mouse: north {last['north']} and south {last['south']} do not set the throttle either way")
PY
echo "wine_tilt: keys tip the phone and it glides back, the pointer tips it by place, and neither while behind"
