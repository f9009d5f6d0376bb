#!/usr/bin/env bash
# The game in a real window under Xvfb, driven with xdotool as a player would: arrows,
# Ctrl+A for the About box, Enter to close it, F1 to end the game; F12 screenshots are
# checked against headless ones of the same moments, and the session's recording is
# replayed headless twice with identical traces. Sessions killed outright or left without
# their display keep a recording that replays.
# usage: xvfb_session.sh path/to/vireta     (exits 77, a skip, without Xvfb or xdotool)
set -euo pipefail
vireta=${1:?usage: xvfb_session.sh path/to/vireta}
here=$(cd "$(dirname "$0")" && pwd)
test_name=xvfb_session
# shellcheck source=xvfb_support.sh
. "$here/xvfb_support.sh"
start_xvfb
xvfb_pid=$started
export DISPLAY=$display

mkdir -p "$work/shots"
"$vireta" --tilt keys --shots "$work/shots" --record "$work/drive.txt" --session "xvfb-$$" \
  > "$work/out.txt" 2> "$work/err.txt" &
game_pid=$!
find_window
sleep 0.5
xdotool keydown Left; sleep 0.6; xdotool keyup Left; sleep 0.3
key F12
title=$(xdotool getwindowname "$window")
[[ $title == *"screenshot $work/shots/"* ]] || fail "F12's file is not in the title: $title"
key ctrl+a
sleep 0.3
key F12
key Return
key F1
game_exits 0 "exit code" "$work/err.txt"
mapfile -t shots < <(grep '\.png$' "$work/out.txt")
[ "${#shots[@]}" -eq 2 ] || fail "expected two screenshots, got: $(cat "$work/out.txt")"
race=${shots[0]} about=${shots[1]}

# The race: road grey and the red car in the playfield.
grey=$(python3 "$here/png_regions.py" count "$race" 0 52 480 388 787878)
red=$(python3 "$here/png_regions.py" red "$race" 0 52 480 388)
[ "$grey" -gt 20000 ] || fail "too little road in the playfield ($grey pixels)"
[ "$red" -gt 200 ] || fail "no car in the playfield ($red red pixels)"

# The same moments headless: the HUD's labels and the About box's caption are pixel for
# pixel those of the handset's own pictures.
printf 'wait 500\nshot race\nkey ctrl+a\nwait 100\nshot about\nok\n' > "$work/moments.txt"
"$vireta" --headless --script "$work/moments.txt" --shots "$work" >/dev/null
python3 "$here/png_regions.py" same "$race" "$work/race.png" 0 470 105 575 || fail "the HUD's labels differ"
python3 "$here/png_regions.py" same "$about" "$work/about.png" 0 0 300 52 || fail "the About box's caption differs"
python3 "$here/png_regions.py" same "$about" "$work/about.png" 0 52 480 300 || fail "the About box differs"

# The recording replays the very same drive, tick for tick, every time.
ticks=$(sed -n 's/^# session ended at .* after \([0-9]*\) ticks\(;.*\)\{0,1\}$/\1/p' "$work/drive.txt")
[ -n "$ticks" ] || fail "the recording has no end: $(tail -n 3 "$work/drive.txt")"
grep -q '^key ctrl+a$' "$work/drive.txt" || fail "the recording lacks ctrl+a"
"$vireta" --headless --script "$work/drive.txt" --trace "$work/one.jsonl"
"$vireta" --headless --script "$work/drive.txt" --trace "$work/two.jsonl"
cmp -s "$work/one.jsonl" "$work/two.jsonl" || fail "two replays differ"
replayed=$(grep -c '"ev":"tick"' "$work/one.jsonl")
[ "$replayed" -eq "$ticks" ] || fail "the session had $ticks ticks, its replay $replayed"
grep -q '"steerAngle":[1-9]' "$work/one.jsonl" || fail "the replay never steered"

# A session that ends without warning keeps its inputs up to about a second before.
# $1: the file, $2: how it ended
replays() {
  grep -q '^key ctrl+a$' "$1" || fail "$2: the recording lacks ctrl+a: $(tail -n 3 "$1")"
  grep -q '^tilt [0-9]* [1-9]' "$1" || fail "$2: the recording never steered"
  "$vireta" --headless --script "$1" --trace "$work/cut.jsonl" || fail "$2: its recording does not replay"
}
drive_then_ctrl_a() {
  find_window
  sleep 0.5
  xdotool keydown Left; sleep 0.6; xdotool keyup Left; sleep 0.3
  key ctrl+a
  sleep 1.2
}
"$vireta" --tilt keys --record "$work/killed.txt" --session "xvfb-$$" 2>/dev/null &
game_pid=$!
drive_then_ctrl_a
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""
replays "$work/killed.txt" "killed"

start_xvfb
lost_pid=$started
DISPLAY=$display "$vireta" --tilt keys --record "$work/lost.txt" --session "xvfb-lost-$$" 2>/dev/null &
game_pid=$!
DISPLAY=$display drive_then_ctrl_a
kill "$lost_pid"
lost_pid=""
code=0
timeout 10 tail --pid="$game_pid" -f /dev/null || fail "the session went on without its display"
wait "$game_pid" 2>/dev/null || code=$?
game_pid=""
[ "$code" -ne 0 ] || fail "a session that lost its display exited 0"
replays "$work/lost.txt" "display lost"

echo "xvfb_session: window, keys, About box, screenshots and a replay of $ticks ticks all as expected," \
  "and cut sessions keep their recordings"
