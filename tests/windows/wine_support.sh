# Sourced by the Wine tests: the Windows build, a work folder, an X server on a free
# display and clean-up of what they start. Needs $test_name set; exits 77 (a skip) when
# Wine or Xvfb is missing, and fails when the Windows build is.
for tool in wine wineserver Xvfb python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool not found, skipping"; exit 77; }
done
fail() { echo "$test_name: $*" >&2; exit 1; }
windows=${VIRETA_WINDOWS_BUILD:?}
[ -f "$windows/vireta.exe" ] || fail "$windows/vireta.exe is missing: build it first (make windows)"
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Starts an X server on a free display and points Wine at it.
start_xvfb() {
  display=""
  for n in $(seq 40 69); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || fail "no free display"
  Xvfb "$display" -screen 0 1024x900x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
  export DISPLAY="$display"
}

# A copy of the Windows build's program and DLLs in $work/game, to take pieces away from.
copy_game() {
  mkdir -p "$work/game"
  cp "$windows/vireta.exe" "$windows/HTCSensorSDK.dll" "$windows/HTCAPI.dll" "$work/game/"
}

# The exit code of the game started in the background as $game_pid, once it ends within
# 20 s; `$1` names the case when it does not.
game_code() {
  for _ in $(seq 400); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$game_pid" 2>/dev/null && fail "$1: the game is still running after 20 s"
  wait "$game_pid"
}
