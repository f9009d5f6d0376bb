#!/usr/bin/env bash
# Recordings that replay as made, and watching them. A desktop session on a small screen
# whose clock wraps replays headless with no option to the trace of a replay given them
# all, and an option that contradicts it is refused; a file-size limit cuts a recording
# to whole lines and the player is told at once while the session goes on; --replay
# shows the headless replay's very frames, pauses, and ends with the program's exit.
# usage: xvfb_replay.sh path/to/vireta     (exits 77, a skip, without Xvfb or xdotool)
set -euo pipefail
vireta=${1:?usage: xvfb_replay.sh path/to/vireta}
here=$(cd "$(dirname "$0")" && pwd)
test_name=xvfb_replay
# shellcheck source=xvfb_support.sh
. "$here/xvfb_support.sh"
start_xvfb
xvfb_pid=$started
export DISPLAY=$display
clock=4294966296  # a second before the tick count wraps

"$vireta" --tilt keys --screen 240x320 --clock "$clock" --record "$work/drive.txt" --session "replay-$$" \
  2> "$work/err.txt" &
game_pid=$!
find_window
sleep 0.3
xdotool keydown Up; sleep 0.8; xdotool keydown Left; sleep 0.7; xdotool keyup Left; xdotool keyup Up; sleep 0.3
key F1
game_exits 0 "exit code" "$work/err.txt"
header=$(head -n 1 "$work/drive.txt")
[[ $header =~ ^"# recording: vireta "[^:]+": --screen 240x320 --clock $clock"$ ]] || fail "header: $header"
ticks=$(sed -n 's/^# session ended at .* after \([0-9]*\) ticks;.*$/\1/p' "$work/drive.txt")
[ -n "$ticks" ] || fail "the recording has no end: $(tail -n 2 "$work/drive.txt")"
"$vireta" --headless --script "$work/drive.txt" --trace "$work/plain.jsonl"
"$vireta" --headless --script "$work/drive.txt" --screen 240x320 --clock "$clock" --trace "$work/given.jsonl"
cmp -s "$work/plain.jsonl" "$work/given.jsonl" || fail "the header does not replay as its options do"
[ "$(grep -c '"ev":"tick"' "$work/plain.jsonl")" -eq "$ticks" ] || fail "the replay's ticks differ from $ticks"
grep -q '"clientWidth":240' "$work/plain.jsonl" || fail "the replay is not on the 240x320 screen"
code=0
"$vireta" --headless --script "$work/drive.txt" --screen 480x640 2> "$work/refused.txt" || code=$?
[ "$code" -eq 2 ] && grep -q -- "--screen 480x640 contradicts .*drive.txt, recorded with --screen 240x320" \
  "$work/refused.txt" || fail "a contradicting option was not refused: $code $(cat "$work/refused.txt")"

# A kilobyte of file: the recording stops with whole lines, the title says so at once,
# the session goes on, and its end says the recording failed.
prlimit --fsize=1024 "$vireta" --tilt keys --record "$work/cut.txt" --session "cut-$$" 2> "$work/cut-err.txt" &
game_pid=$!
find_window
for _ in 1 2 3 4 5 6; do
  xdotool keydown Left; sleep 0.4; xdotool keyup Left; xdotool keydown Right; sleep 0.4; xdotool keyup Right
done
title=$(xdotool getwindowname "$window")
[[ $title == *"cannot write the recording"* ]] || fail "the title does not tell of the failed recording: $title"
kill -0 "$game_pid" 2>/dev/null || fail "the session ended with its recording"
key F1
game_exits 2 "a session whose recording failed exited"
grep -q "cannot write the recording" "$work/cut-err.txt" || fail "stderr: $(cat "$work/cut-err.txt")"
[ "$(tail -c 1 "$work/cut.txt" | od -An -c | tr -d ' ')" = '\n' ] || fail "the recording ends mid-line"
"$vireta" --headless --script "$work/cut.txt" > /dev/null || fail "the cut recording does not replay"

# Watching: the frames --replay shows are the headless replay's, shot at the same steps.
# (F1 ends the program: a shot after it would never come.)
lines=$(grep -c '' "$work/drive.txt")
awk -v a="$((lines / 3))" -v b="$((lines * 2 / 3))" '{ print } NR == a { print "shot early" } NR == b { print "shot late" }' \
  "$work/drive.txt" > "$work/watch.txt"
mkdir -p "$work/headless" "$work/watched"
"$vireta" --headless --script "$work/watch.txt" --shots "$work/headless" --laps > "$work/headless-laps.txt"
"$vireta" --replay "$work/watch.txt" --speed 4 --shots "$work/watched" > "$work/watched-laps.txt" \
  || fail "--replay exited $?"
for shot in early late; do
  cmp -s "$work/headless/$shot.png" "$work/watched/$shot.png" || fail "the watched frame '$shot' differs"
done
cmp -s "$work/headless-laps.txt" "$work/watched-laps.txt" || fail "the laps differ: $(cat "$work/watched-laps.txt")"

# Space pauses (the title says so and the drive stands), Escape stops with the program's exit.
"$vireta" --replay "$work/drive.txt" > /dev/null &
game_pid=$!
find_window
key space
title=$(xdotool getwindowname "$window")
[[ $title == *"paused"* ]] || fail "the title does not show the pause: $title"
sleep 3  # longer than the drive: a paused replay stands
kill -0 "$game_pid" 2>/dev/null || fail "the paused replay ended"
key Escape
game_exits 0 "a stopped replay exited"
echo "xvfb_replay: a wrapped small-screen recording of $ticks ticks replays with no option, a cut one keeps" \
  "whole lines, and --replay shows the same frames, pauses and stops"
