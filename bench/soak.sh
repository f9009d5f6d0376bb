#!/usr/bin/env bash
# A soak: 1,000,000 frames headless (about 14 hours of play), twice. Reports the
# process's resident memory early and late in each run, and checks that the traces of
# the first and last 10,000 ticks are identical between the runs.
# usage: bench/soak.sh [frames] [path/to/vireta]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
frames=${1:-1000000}
vireta=${2:-$root/build/default/vireta}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/bench/drive_script.sh" "$frames" > "$work/drive.txt"

for run in 1 2; do
  start=$(date +%s)
  "$vireta" --headless --script "$work/drive.txt" --trace "$work/trace$run.jsonl" &
  pid=$!
  # Sampled once a second; the early figure is taken once start-up (font, pictures,
  # the first laps' road shapes) is well over.
  early="" last="" seconds=0
  while kill -0 "$pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    if [ -n "$rss" ]; then
      [ "$seconds" -eq 10 ] && early=$rss
      last=$rss
    fi
    sleep 1
    seconds=$((seconds + 1))
  done
  wait "$pid"
  echo "run $run: $(( $(date +%s) - start )) s, resident memory ${early:-?} KB after 10 s, ${last} KB at the end"
  grep -m 10000 '"ev":"tick"' "$work/trace$run.jsonl" > "$work/head$run"
  grep '"ev":"tick"' "$work/trace$run.jsonl" | tail -n 10000 > "$work/tail$run"
  echo "run $run: $(grep -c '"ev":"tick"' "$work/trace$run.jsonl") ticks, last: $(tail -n 1 "$work/tail$run" | cut -c1-160)"
  rm "$work/trace$run.jsonl"
done
cmp "$work/head1" "$work/head2" && cmp "$work/tail1" "$work/tail2" && echo "soak: first and last 10,000 ticks identical in both runs"
