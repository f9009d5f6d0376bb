#!/usr/bin/env bash
# The whole game once under valgrind's memcheck: a drive, the About box, a screenshot.
# Any memory error or leak fails it. Exits 77 (a skip to ctest) without valgrind.
set -euo pipefail
vireta=${1:?usage: valgrind_run.sh path/to/vireta}
root=$(cd "$(dirname "$0")/../../.." && pwd)
command -v valgrind >/dev/null 2>&1 || { echo "valgrind not found, skipping"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/bench/drive_script.sh" 400 > "$work/drive.txt"
printf 'key ctrl+a\nwait 200\nshot about\nok\nkey softkey2\nshot menu\nkey escape\nwait 100\n' >> "$work/drive.txt"
valgrind --quiet --error-exitcode=9 --leak-check=full --errors-for-leak-kinds=definite,indirect \
  "$vireta" --headless --script "$work/drive.txt" --trace "$work/trace.jsonl" --shots "$work"
tail -n 1 "$work/trace.jsonl" | grep -q '"ev":"exit","code":0'
