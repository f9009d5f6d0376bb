#!/usr/bin/env bash
# The game builds and runs where GoogleTest and Google Benchmark are not installed: a
# plain configure with both hidden from CMake leaves the tests out, builds the program
# with warnings as warnings, and the program plays a short drive.
# usage: build-without-tests.sh FOLDER
set -euo pipefail
build=${1:?usage: build-without-tests.sh FOLDER}
root=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "build-without-tests: $*" >&2; exit 1; }

mkdir -p "$build"
if [ -L "$build" ] || [ ! -O "$build" ]; then
  fail "$build is not a folder of this user"
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$build/configure.log" ||
  { cat "$build/configure.log" >&2; fail "configure failed"; }
grep -q '^VIRETA_TESTS:BOOL=OFF$' "$build/CMakeCache.txt" || fail "the tests were not left out"
grep -q '^VIRETA_WERROR:BOOL=OFF$' "$build/CMakeCache.txt" || fail "warnings are errors in a plain build"
cmake --build "$build" >"$build/build.log" || { tail -n 30 "$build/build.log" >&2; fail "the build failed"; }
[ ! -d "$build/tests" ] || fail "tests were built"
[ "$("$build/vireta" --version)" = "vireta 1.1" ] || fail "--version: $("$build/vireta" --version)"
printf 'wait 1000\nkey softkey1\nwait 500\n' >"$build/drive.txt"
"$build/vireta" --headless --script "$build/drive.txt" --trace "$build/drive.jsonl" ||
  fail "the program did not play its drive"
grep -q '"ev":"exit","code":0' "$build/drive.jsonl" || fail "the drive did not end with exit code 0"
