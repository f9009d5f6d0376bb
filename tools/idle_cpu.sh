#!/usr/bin/env bash
# The desktop host's cost while the game runs at 20 ticks a second, under Xvfb: the
# process's CPU time (utime + stime from /proc) over <seconds> of play, as a share of
# one core.
# usage: tools/idle_cpu.sh [seconds] [path/to/vireta] [vireta's options, e.g. --scale 2]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
vireta=${2:-$root/build/default/vireta}
shift $(($# < 2 ? $# : 2))
display=":$((80 + RANDOM % 19))"
Xvfb "$display" -screen 0 1000x1400x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $game $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$vireta" --tilt keys --session "idle-$$" "$@" >/dev/null 2>&1 &
game=$!
sleep 3  # past start-up
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$game/stat"; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
echo "vireta under Xvfb, $seconds s at 20 ticks a second: $(( (after - before) * 100 / ticks )) cs of CPU," \
  "$(echo "scale=2; ($after - $before) * 100 / $ticks / $seconds" | bc) % of one core"
