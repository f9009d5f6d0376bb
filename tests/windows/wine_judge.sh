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

# The sensor library refuses a script it cannot play, loudly, before the game starts:
# each case a script, the shots folder and the line it must say.
printf 'tilt 0 0\nkey enter\n' >"$work/keys.txt"
printf 'tilt 0 0\nshot here\n' >"$work/shot.txt"
printf 'tilt 0 0\nwait soon\n' >"$work/wait.txt"
while IFS='|' read -r script shots said; do
  status=0
  wine "$windows/vireta.exe" --script "$work/$script" --shots "$work/$shots" </dev/null 2>"$work/said" || status=$?
  [ "$status" -ne 0 ] || fail "$script ended with exit code 0"
  grep -qF "$said" "$work/said" || fail "$script did not say \"$said\" but: $(cat "$work/said")"
done <<CASES
keys.txt|.|keys.txt:2: key is not played on Windows
wait.txt|.|wait.txt:2: wait needs one number of milliseconds
shot.txt|missing|missing: no such folder
absent.txt|.|absent.txt: cannot read:
CASES

for screen in 240x320 480x640; do
  mkdir -p "$work/$screen/handset" "$work/$screen/windows"
  "$headless" --headless --screen "$screen" --script "$drive" --shots "$work/$screen/handset" ||
    fail "the headless host failed on $drive at $screen"
  status=0
  timeout 120 wine "$windows/vireta.exe" --screen "$screen" --script "$drive" --shots "$work/$screen/windows" </dev/null ||
    status=$?
  [ "$status" -eq 0 ] || fail "the Windows build ended with exit code $status on $drive at $screen"
  # shellcheck disable=SC2086 # one word a shot
  python3 "$here/judge_pictures.py" --screen "$screen" "$work/$screen/handset" "$work/$screen/windows" $names ||
    fail "the pictures at $screen do not agree"
done
