# Sourced by the Xvfb tests: a work folder, clean-up of what they start, and X servers on
# free displays. Needs $test_name set; exits 77 (a skip) without Xvfb or xdotool.
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool not found, skipping"; exit 77; }
done
work=$(mktemp -d)
xvfb_pid="" game_pid="" lost_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$lost_pid" ] && kill "$lost_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$test_name: $*" >&2; exit 1; }

# Starts an X server on a free display: sets $display and $started.
start_xvfb() {
  display=""
  for n in $(seq 70 99); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || fail "no free display"
  Xvfb "$display" -screen 0 800x900x24 -nolisten tcp >/dev/null 2>&1 &
  started=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
}

# The game's window, once it shows: sets $window.
find_window() {
  window=$(timeout 20 xdotool search --sync --name '^Vireta' | head -n 1) || fail "no window appeared"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}
key() { xdotool key --delay 60 "$@"; sleep 0.3; }

# Waits for the game started as $game_pid and fails unless it exits with `$1`; the
# failure says "$2 <code>", and then what the file `$3` holds, when given.
game_exits() {
  local code=0
  wait "$game_pid" || code=$?
  game_pid=""
  [ "$code" -eq "$1" ] || fail "$2 $code${3:+: $(cat "$3")}"
}
