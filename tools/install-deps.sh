#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# As root it uses apt-get; otherwise it names what is missing and fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev googletest libbenchmark-dev
  clang-format
  libfreetype-dev libpng-dev fonts-dejavu-core libcairo2-dev
  llvm-14 clang-14 libclang-rt-14-dev
  libsdl2-dev xvfb xdotool
  python3 python3-gmpy2 python3-mpmath valgrind bc
  emscripten nodejs chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]} (run as root, or: sudo apt-get install ${missing[*]})" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
