#!/usr/bin/env bash
# The core's tests, the model's trace files among them, and the handset's sine and cosine, built with clang++-14 (the clang
# preset: the core alone, with the flags every build has) and run against the same golden
# files as the g++ build. Exits 77 (a skip to ctest) when clang++-14 is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${CLANG_BUILD_DIR:-$root/build/clang}

if ! command -v clang++-14 >/dev/null 2>&1; then
  echo "clang-traces: clang++-14 not found, skipping (install clang-14)"
  exit 77
fi
"$root/tests/preset-build.sh" clang "$build" core_tests crt_tests
"$build/tests/platform/crt/crt_tests" --gtest_brief=1
exec "$build/tests/game/core/core_tests" --gtest_brief=1
