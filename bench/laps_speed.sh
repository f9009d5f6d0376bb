#!/usr/bin/env bash
# `--laps` of a 10-minute drive (12,000 frames): without a trace, nothing is drawn that
# nobody looks at; beside it the same drive with the trace, and with a screenshot every
# 500 frames, which draws every frame. Prints each run's best of three, in frames a
# second, and checks that the laps printed are the same in all three.
# usage: bench/laps_speed.sh [path/to/vireta]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
vireta=${1:-$root/build/default/vireta}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=12000
"$root/bench/drive_script.sh" "$frames" > "$work/drive.txt"
# A shot every 25 s of handset time: the waits are cut where one falls due.
awk 'BEGIN { n = 0 } /^wait / { left = $2; while (left > 0) { step = 25000 - (t % 25000); if (step > left) step = left;
       print "wait " step; t += step; left -= step; if (t % 25000 == 0) print "shot s" n++ } next } { print }' \
  "$work/drive.txt" > "$work/shots.txt"
mkdir -p "$work/shots"

# $1: what the run is, then the command; sets $laps to what it printed.
measure() {
  local what=$1 best="" start end seconds
  shift
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    laps=$("$@")
    end=$(date +%s.%N)
    seconds=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc -l)" -eq 1 ]; then best=$seconds; fi
  done
  printf '%-28s %6.3f s  %8.0f frames/s\n' "$what" "$best" "$(echo "$frames / $best" | bc -l)"
}
measure "--laps" "$vireta" --headless --script "$work/drive.txt" --laps
plain=$laps
measure "--laps with the trace" "$vireta" --headless --script "$work/drive.txt" --laps --trace "$work/trace.jsonl"
[ "$laps" = "$plain" ] || { echo "the laps differ with the trace" >&2; exit 1; }
measure "--laps with screenshots" "$vireta" --headless --script "$work/shots.txt" --laps --shots "$work/shots"
[ "$laps" = "$plain" ] || { echo "the laps differ with screenshots" >&2; exit 1; }
echo "$plain" | tail -n 1
