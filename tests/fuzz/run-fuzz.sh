#!/usr/bin/env bash
# Builds one fuzzer in the fuzz preset's build (clang++-14) and runs it for <seconds> on a
# copy of its corpus, so what it learns never lands in the repository; given files instead,
# runs each of them once and exits non-zero when one crashes. Targets: resources (the
# resource parsers), script (the headless host's script parser), command_line (its options).
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
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
out=$build/runs/$target

if ! command -v clang++-14 >/dev/null 2>&1; then
  echo "run-fuzz: clang++-14 not found, skipping (install clang-14 and libclang-rt-14-dev)"
  exit 77
fi

case "$target" in
  resources) max_len=8192 ;;
  script) max_len=4096 ;;
  command_line) max_len=1024 ;;
  *)
    echo "run-fuzz: unknown target \"$target\" (resources, script or command_line)" >&2
    exit 2
    ;;
esac

"$root/tests/preset-build.sh" fuzz "$build" "${target}_fuzzer"
binary="$build/tests/fuzz/${target}_fuzzer"
mkdir -p "$out"

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
