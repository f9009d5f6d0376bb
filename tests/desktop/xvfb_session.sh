#!/usr/bin/env bash
# The game in a real window under Xvfb, driven with xdotool as a player would: arrows,
# Ctrl+A for the About box, Enter to close it, F1 to end the game; F12 screenshots are
# checked against headless ones of the same moments, and the session's recording is
# replayed headless twice with identical traces.
# usage: xvfb_session.sh path/to/vireta     (exits 77, a skip, without Xvfb or xdotool)
set -euo pipefail
vireta=${1:?usage: xvfb_session.sh path/to/vireta}
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool not found, skipping"; exit 77; }
done
work=$(mktemp -d)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "xvfb_session: $*" >&2; exit 1; }

display=""
for n in $(seq 70 99); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display"
Xvfb "$display" -screen 0 800x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
export DISPLAY=$display

mkdir -p "$work/shots"
"$vireta" --tilt keys --shots "$work/shots" --record "$work/drive.txt" --session "xvfb-$$" \
  > "$work/out.txt" 2> "$work/err.txt" &
game_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Vireta' | head -n 1) || fail "no window appeared"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
key() { xdotool key --delay 60 "$@"; sleep 0.3; }
xdotool keydown Left; sleep 0.6; xdotool keyup Left; sleep 0.3
key F12
key ctrl+a
sleep 0.3
key F12
key Return
key F1
code=0
wait "$game_pid" || code=$?
game_pid=""
[ "$code" -eq 0 ] || fail "exit code $code: $(cat "$work/err.txt")"
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
ticks=$(sed -n 's/^# session ended at .* after \([0-9]*\) ticks$/\1/p' "$work/drive.txt")
[ -n "$ticks" ] || fail "the recording has no end: $(tail -n 3 "$work/drive.txt")"
grep -q '^key ctrl+a$' "$work/drive.txt" || fail "the recording lacks ctrl+a"
"$vireta" --headless --script "$work/drive.txt" --trace "$work/one.jsonl"
"$vireta" --headless --script "$work/drive.txt" --trace "$work/two.jsonl"
cmp -s "$work/one.jsonl" "$work/two.jsonl" || fail "two replays differ"
replayed=$(grep -c '"ev":"tick"' "$work/one.jsonl")
[ "$replayed" -eq "$ticks" ] || fail "the session had $ticks ticks, its replay $replayed"
grep -q '"steerAngle":[1-9]' "$work/one.jsonl" || fail "the replay never steered"
echo "xvfb_session: window, keys, About box, screenshots and a replay of $ticks ticks all as expected"
