#!/usr/bin/env bash
# Builds the page and the headless host for node into FOLDER with the web preset, using
# the tools of the native build NATIVE, and installs the tests' node packages there.
# usage: build-web.sh NATIVE FOLDER
set -euo pipefail
native=${1:?usage: build-web.sh NATIVE FOLDER}
build=${2:?usage: build-web.sh NATIVE FOLDER}
here=$(cd "$(dirname "$0")" && pwd)

export VIRETA_NATIVE_BUILD=$native
"$here/../../preset-build.sh" web "$build" all

# The packages go beside the build, never into the sources; reinstalled only when the
# lock file changed.
packages=$build/test-packages
mkdir -p "$packages"
if [ -L "$packages" ] || [ ! -O "$packages" ]; then
  echo "build-web: $packages is not a folder of this user" >&2
  exit 2
fi
if ! cmp -s "$here/package-lock.json" "$packages/package-lock.json" || [ ! -d "$packages/node_modules" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$packages/"
  npm ci --prefix "$packages" --no-audit --no-fund --loglevel=error
fi
