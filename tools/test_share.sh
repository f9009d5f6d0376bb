#!/usr/bin/env bash
# The tests' share of the C++: non-blank lines that are not `//` comments in .cpp, .h and
# .c files under tests/, against those of the rest of the tree (build/ left out).
# usage: tools/test_share.sh [folder under tests/ ...]   (each folder's count as well)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 |
    xargs -0 -r cat | awk '!/^[[:space:]]*$/ && !/^[[:space:]]*\/\// { n++ } END { print n + 0 }'
}

tests=$(count tests)
others=()
for folder in */; do
  folder=${folder%/}
  [ "$folder" = tests ] || [ "$folder" = build ] || others+=("$folder")
done
code=$(count "${others[@]}")
for folder in "$@"; do
  [ -d "$folder" ] || { echo "test_share: no folder $folder" >&2; exit 2; }
  echo "$folder $(count "$folder")"
done
echo "tests $tests code $code share $(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.1f%%", c ? 100 * t / c : 0 }')"
