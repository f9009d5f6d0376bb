#!/usr/bin/env bash
# Installs the Debian packages a task needs, when any is missing: `play` (building and
# playing, the default), `web` (the page as well), `deb` (the Debian package), `windows`
# (the program for Windows and its zip) or `test` (everything the tests use).
# As root it uses apt-get; otherwise it names what is missing and fails.
# usage: tools/install-deps.sh [play|web|deb|windows|test]
set -euo pipefail

play=(
  cmake ninja-build g++ pkg-config
  libfreetype-dev libpng-dev fonts-dejavu-core libcairo2-dev libsdl2-dev libx11-dev
  llvm-14
)
web=(emscripten nodejs python3 openssl)
deb=(scdoc dpkg-dev file)
# wine64 only recommends wine, which has the wine command.
windows=(g++-mingw-w64-x86-64 wine64 wine zip)
test=(
  libgtest-dev googletest libbenchmark-dev
  clang-format clang-tidy clang-14 libclang-rt-14-dev
  xvfb xauth xdotool chromium firefox-esr webkit2gtk-driver cog wpewebkit-driver iproute2
  python3 python3-gmpy2 python3-mpmath valgrind bc
  lintian desktop-file-utils appstream
)

case "${1:-play}" in
  play) packages=("${play[@]}") ;;
  web) packages=("${play[@]}" "${web[@]}") ;;
  deb) packages=("${play[@]}" "${deb[@]}") ;;
  windows) packages=("${play[@]}" "${windows[@]}") ;;
  test) packages=("${play[@]}" "${web[@]}" "${deb[@]}" "${windows[@]}" "${test[@]}") ;;
  *) echo "usage: tools/install-deps.sh [play|web|deb|windows|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
