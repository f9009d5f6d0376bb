#!/usr/bin/env bash
# The page beside the native program: a 3-minute drive's ticks and paints, page load to
# first frame, the page's size. Needs the default build and its web tests' build
# (ctest -R web_build), or give the folders.
# usage: bench/web_bench.sh [NATIVE_BUILD [WEB_BUILD]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=$(realpath "${1:-$root/build/default}")
web=$(realpath "${2:-$native/web}")
# The browser driver, as the web tests installed it.
packages=$native/web/test-packages
[ -d "$packages/node_modules" ] || { echo "web_bench: no $packages: run ctest -R web_build first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ticks=3600
"$root/bench/drive_script.sh" "$ticks" > "$work/drive.txt"
VIRETA="$native/vireta" VIRETA_MODULE_DIR="$native/modules" VIRETA_WEB="$web" VIRETA_WEB_MODULES="$packages" \
  node "$root/bench/web_bench.mjs" "$work/drive.txt" "$ticks"
