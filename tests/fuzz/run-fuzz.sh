#!/usr/bin/env bash
# Builds one fuzzer with clang++-14 and runs it for <seconds> on a copy of its corpus, so
# what it learns never lands in the repository; given files instead, runs each of them once
# and exits non-zero when one crashes. Targets: resources (the resource
# parsers), script (the headless host's script parser), command_line (its options).
# Exits 77 (a skip to ctest) when clang++-14 is missing, and 1 on a crash (libFuzzer alone
# would exit 77 there, which ctest would count as a skip).
set -euo pipefail
usage="usage: run-fuzz.sh resources|script|command_line <seconds> | FILE..."
target=${1:?$usage}
: "${2:?$usage}"
shift
inputs=()
seconds=
if [[ $# -eq 1 && $1 =~ ^[0-9]+$ ]]; then
  seconds=$1
else
  for f in "$@"; do
    if [ ! -f "$f" ] || [ -L "$f" ]; then
      echo "run-fuzz: $f is not a regular file" >&2
      exit 2
    fi
    inputs+=("$(cd "$(dirname "$f")" && pwd)/$(basename "$f")")
  done
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build/fuzz}/$target
cxx=${FUZZ_CXX:-clang++-14}

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "run-fuzz: $cxx not found, skipping (install clang-14 and libclang-rt-14-dev)"
  exit 77
fi

case "$target" in
  resources)
    sources=("$root/tests/fuzz/resource_fuzz.cpp")
    for p in byte_reader res_id res_index string_table accelerators menu dialog dib group_icon validate; do
      sources+=("$root/platform/resources/$p.cpp")
    done
    headers=("$root"/platform/resources/*.h)
    includes=(-I"$root/platform" -I"$root/platform/include")
    max_len=8192
    ;;
  script)
    sources=("$root/tests/fuzz/script_fuzz.cpp" "$root/hosts/headless/script.cpp" "$root/platform/host/text.cpp"
      "$root/platform/kernel/wide_text.cpp")
    headers=("$root"/hosts/headless/script.h "$root"/platform/host/text.h "$root"/platform/kernel/wide_text.h)
    includes=(-I"$root/hosts/headless" -I"$root/platform" -I"$root/platform/include")
    max_len=4096
    ;;
  command_line)
    sources=("$root/tests/fuzz/command_line_fuzz.cpp" "$root/hosts/headless/headless_options.cpp"
      "$root/hosts/common/handset_options.cpp" "$root/platform/device/device_options.cpp"
      "$root/platform/window/screen.cpp")
    headers=("$root"/hosts/headless/headless_options.h "$root"/hosts/common/handset_boot.h "$root"/platform/host/boot.h
      "$root"/platform/device/device_options.h "$root"/platform/window/screen.h)
    includes=(-I"$root/hosts/headless" -I"$root/hosts/common" -I"$root/platform" -I"$root/platform/include")
    max_len=1024
    ;;
  *)
    echo "run-fuzz: unknown target \"$target\" (resources, script or command_line)" >&2
    exit 2
    ;;
esac

mkdir -p "$out"
binary="$out/fuzzer"
stale=0
[ -x "$binary" ] || stale=1
for s in "${sources[@]}" "${headers[@]}" "$0"; do
  [ "$s" -nt "$binary" ] && stale=1
done
if [ "$stale" -eq 1 ]; then
  echo "run-fuzz: building $binary"
  "$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -Wall -Wextra -Werror "${includes[@]}" "${sources[@]}" -o "$binary.tmp"
  mv "$binary.tmp" "$binary"
fi

if [ ${#inputs[@]} -gt 0 ]; then
  cd "$out"
  exec "$binary" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -error_exitcode=1 "${inputs[@]}"
fi

corpus="$out/corpus"
rm -rf "$corpus"
mkdir -p "$corpus" "$out/findings"
cp "$root"/tests/fuzz/corpus/"$target"/* "$corpus/"
cd "$out"
"$binary" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -error_exitcode=1 \
  -artifact_prefix="$out/findings/" -print_final_stats=1 "$corpus"
