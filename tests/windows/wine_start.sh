#!/bin/bash
# The program's start-up on Windows, under Wine: its command line, a normal start, a
# second start while the first runs, and each failure of the phone's pieces with the
# boxes it shows (the handset's own start-up test has the same table), read and answered
# by the probe beside it.
# usage: wine_start.sh VERSION
set -u
test_name=wine_start
. "$(dirname "$0")/wine_support.sh"
version=${1:?usage: wine_start.sh VERSION}
probe_exe="$windows/probe/box_probe.exe"
[ -f "$probe_exe" ] || fail "$probe_exe is missing: build the windows preset"
start_xvfb
# One server for the whole test, so each start takes a second rather than several.
wineserver -p
# Xvfb has no window manager, and Wine waits 2 s for one whenever a window it lets one
# manage is hidden. The game runs under a name of this test's own, which Wine is told
# to manage itself; the rest of the prefix is left as it was.
exe=start-test.exe
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f >/dev/null ||
  fail "could not set the prefix's X11 settings for $exe"

# A fresh copy of the Windows build in $work/game, the program as $exe.
fresh_game() {
  rm -rf "$work/game"
  copy_game
  mv "$work/game/vireta.exe" "$work/game/$exe"
}
fresh_game

probe() { wine "$probe_exe" "$@"; }

game_pid=""
start_game() {
  wine "$work/game/$exe" "$@" &
  game_pid=$!
}

# The options it answers without starting: one line for a bad one, and exit 2.
check_command_line() {
  local out code
  out=$(wine "$work/game/$exe" --version 2>"$work/err")
  code=$?
  [ "$code" = 0 ] && [ "$out" = "vireta $version" ] || fail "--version: exit $code, printed \"$out\""
  out=$(wine "$work/game/$exe" --help 2>"$work/err")
  code=$?
  [ "$code" = 0 ] && grep -q -- "--screen WxH" <<<"$out" || fail "--help: exit $code, no option list"
  out=$(wine "$work/game/$exe" --screen 480x640 --steer 2>"$work/err")
  code=$?
  [ "$code" = 2 ] || fail "an unknown option: exit $code, not 2"
  [ -z "$out" ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q -- '"--steer"' "$work/err" ||
    fail "an unknown option: stderr is not one line naming it: $(paste -sd'|' "$work/err")"
}

# second_start <name> <class>: with the game running, a second start ends with 0 and
# no window of its own, and brings the first's window of <class> forward.
second_start() {
  local name=$1 class=$2 yield_pid code
  probe yield "$class" >"$work/yield" &
  yield_pid=$!
  for _ in $(seq 200); do
    grep -q holding "$work/yield" && break
    sleep 0.05
  done
  grep -q holding "$work/yield" || fail "$name: the probe could not take the foreground"
  timeout 20 wine "$work/game/$exe" --screen 240x320
  code=$?
  [ "$code" = 0 ] || fail "$name: exit $code, not 0"
  wait "$yield_pid" || fail "$name: the first's $class window did not come forward"
  [ "$(probe count VIRETA)" = "windows 1" ] || fail "$name: $(probe count VIRETA), not 1"
}

# expect_boxes <name> <boxes, one a line>: the game shows them in order; each is answered.
expect_boxes() {
  probe boxes "$(wc -l <<<"$2")" >"$work/boxes" || fail "$1: the boxes did not come"
  [ "$(cat "$work/boxes")" = "$2" ] ||
    fail "$1: boxes [$(paste -sd'|' <<<"$2")] expected, [$(paste -sd'|' "$work/boxes")] seen"
}

# The game goes on with no further box, and Ctrl+Q ends it.
quit_running() {
  probe quiet 500 >/dev/null || fail "$1: the game did not go on alone"
  probe press VIRETA ctrl+q >/dev/null || fail "$1: could not press Ctrl+Q"
}

expect_exit_0() {
  local code
  game_code "$1"
  code=$?
  [ "$code" = 0 ] || fail "$1: exit $code, not 0"
  fresh_game
}

# check_failure <name> ends|runs <boxes, one a line> [options...]: the game, started as
# the caller left its folder, shows those boxes, then ends by itself or runs until
# Ctrl+Q; either way with exit code 0.
check_failure() {
  local name=$1 after=$2 boxes=$3
  shift 3
  start_game "$@"
  expect_boxes "$name" "$boxes"
  [ "$after" = ends ] || quit_running "$name"
  expect_exit_0 "$name"
}

check_command_line

start_game
probe quiet 1000 >/dev/null || fail "a normal start showed a box or no window"
second_start "a second start" VIRETA
quit_running "a normal start"
expect_exit_0 "a normal start"

check_failure "no sensor service" ends 'box "Error": "Unable to create Sensor Event" owner=main
box "Error06": "Unable to load Sensor DLL" owner=none' --without sensor-service

rm "$work/game/HTCSensorSDK.dll"
check_failure "no HTCSensorSDK.dll" ends 'box "Error": "Unable to load Sensor DLL" owner=none
box "Error01": "Unable to load Sensor DLL" owner=none'

cp "$windows/probe/lacking-HTCSensorGetDataOutput/HTCSensorSDK.dll" "$work/game/"
check_failure "HTCSensorSDK.dll without HTCSensorGetDataOutput" ends \
  'box "Error": "Unable to find entry point" owner=none
box "Error01": "Unable to load Sensor DLL" owner=none'

# A second start while the first shows its box brings the box forward with its window.
rm "$work/game/HTCAPI.dll"
start_game
probe window '#32770' >/dev/null || fail "no HTCAPI.dll: no box"
second_start "a second start over a box" '#32770'
expect_boxes "no HTCAPI.dll" 'box "Error": "Unable to load HTC API DLL" owner=main'
quit_running "no HTCAPI.dll"
expect_exit_0 "no HTCAPI.dll"

cp "$windows/probe/lacking-HTCNavClose/HTCAPI.dll" "$work/game/"
check_failure "HTCAPI.dll without HTCNavClose" runs 'box "Error": "Unable to find entry point" owner=main'
