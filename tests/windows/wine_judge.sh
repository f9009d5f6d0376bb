#!/bin/sh
# The handset's headless host and the Windows build under Wine play one drive; their
# pictures must agree pixel for pixel but for the HUD's text and the edges of the wide
# pens' strokes, which the platforms draw each their own way (judge_pictures.py).
# Usage: wine_judge.sh HEADLESS_PROGRAM DRIVE
set -eu
test_name=wine_judge
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_support.sh"
headless=${1:?the native program}
drive=${2:?the drive}
names=$(sed -n 's/^shot \([^ #]*\).*/\1/p' "$drive")
[ -n "$names" ] || fail "$drive takes no shots"
start_xvfb

# The sensor library refuses what it cannot play, loudly, before the game starts.
printf 'tilt 0 0\nkey enter\n' >"$work/keys.txt"
status=0
wine "$windows/vireta.exe" --script "$work/keys.txt" 2>"$work/keys.err" || status=$?
[ "$status" -ne 0 ] || fail "a script with a key line ended with exit code 0"
grep -q "keys.txt:2: key is not played on Windows" "$work/keys.err" ||
  fail "a script with a key line did not say so: $(cat "$work/keys.err")"

for screen in 240x320 480x640; do
  mkdir -p "$work/$screen/handset" "$work/$screen/windows"
  "$headless" --headless --screen "$screen" --script "$drive" --shots "$work/$screen/handset" ||
    fail "the headless host failed on $drive at $screen"
  status=0
  timeout 120 wine "$windows/vireta.exe" --screen "$screen" --script "$drive" --shots "$work/$screen/windows" || status=$?
  [ "$status" -eq 0 ] || fail "the Windows build ended with exit code $status on $drive at $screen"
  # shellcheck disable=SC2086 # one word a shot
  python3 "$here/judge_pictures.py" --screen "$screen" "$work/$screen/handset" "$work/$screen/windows" $names ||
    fail "the pictures at $screen do not agree"
done
