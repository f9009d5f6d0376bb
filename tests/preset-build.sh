#!/usr/bin/env bash
# Configures a build folder with another configure preset (fuzz, clang) and builds the
# given targets in it, one build at a time: ctest runs the callers side by side.
# usage: preset-build.sh PRESET FOLDER TARGET...
set -euo pipefail
usage="usage: preset-build.sh PRESET FOLDER TARGET..."
preset=${1:?$usage}
build=${2:?$usage}
shift 2
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)

mkdir -p "$build"
if [ -L "$build" ] || [ ! -O "$build" ]; then
  echo "preset-build: $build is not a folder of this user" >&2
  exit 2
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
(
  flock 9
  cmake -S "$root" --preset "$preset" -B "$build" "${launcher[@]}" >"$build/configure.log" ||
    { cat "$build/configure.log" >&2; exit 1; }
  cmake --build "$build" --target "$@"
) 9<"$build"
