#!/usr/bin/env bash
# The headless host replaying a 10-minute drive (12,000 ticks) with its trace written:
# prints the frames per second of the best of three runs.
# usage: bench/replay_speed.sh [path/to/vireta]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
vireta=${1:-$root/build/default/vireta}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/bench/drive_script.sh" 12000 > "$work/drive.txt"
best=""
for run in 1 2 3; do
  start=$(date +%s.%N)
  "$vireta" --headless --script "$work/drive.txt" --trace "$work/trace.jsonl"
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc -l)
  if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc -l)" -eq 1 ]; then best=$seconds; fi
done
ticks=$(grep -c '"ev":"tick"' "$work/trace.jsonl")
printf 'replay: %d ticks with the trace (%d bytes) in %.3f s: %.0f frames/s\n' \
  "$ticks" "$(stat -c %s "$work/trace.jsonl")" "$best" "$(echo "$ticks / $best" | bc -l)"
