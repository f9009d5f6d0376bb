#!/usr/bin/env bash
# Builds the resource parsers' fuzzer with clang++-14 and runs it for <seconds> on a copy
# of the corpus, so what it learns never lands in the repository.
# Exits 77 (a skip to ctest) when clang++-14 is missing.
set -euo pipefail
seconds=${1:?usage: run-fuzz.sh <seconds>}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build/fuzz}
cxx=${FUZZ_CXX:-clang++-14}

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "run-fuzz: $cxx not found, skipping (install clang-14 and libclang-rt-14-dev)"
  exit 77
fi

mkdir -p "$out"
parsers=(byte_reader res_id res_index string_table accelerators menu dialog dib group_icon validate)
sources=("$root/tests/fuzz/resource_fuzz.cpp")
for p in "${parsers[@]}"; do sources+=("$root/platform/resources/$p.cpp"); done

binary="$out/resource_fuzz"
stale=0
[ -x "$binary" ] || stale=1
for s in "${sources[@]}" "$root"/platform/resources/*.h "$0"; do
  [ "$s" -nt "$binary" ] && stale=1
done
if [ "$stale" -eq 1 ]; then
  echo "run-fuzz: building $binary"
  "$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -Wall -Wextra -Werror \
    -I"$root/platform" -I"$root/platform/include" "${sources[@]}" -o "$binary.tmp"
  mv "$binary.tmp" "$binary"
fi

corpus="$out/corpus"
rm -rf "$corpus"
mkdir -p "$corpus" "$out/findings"
cp "$root"/tests/fuzz/corpus/resources/* "$corpus/"
cd "$out"
"$binary" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/findings/" -print_final_stats=1 "$corpus"
