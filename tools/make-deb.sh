#!/usr/bin/env bash
# Builds the Debian package as Debian would build it: the hardening flags of
# dpkg-buildflags, warnings left as warnings, GoogleTest and Google Benchmark hidden from
# CMake (a package build has no tests), then CPack. Prints the package's path.
# usage: tools/make-deb.sh [TREE [OUT]]   (default: build/deb, and the package in build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-$root/build/deb}
out=${2:-$root/build}
fail() { echo "make-deb: $*" >&2; exit 1; }

for tool in scdoc dpkg-buildflags dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing; tools/install-deps.sh deb installs it"
done
for folder in "$tree" "$out"; do
  mkdir -p "$folder"
  if [ -L "$folder" ] || [ ! -O "$folder" ]; then
    fail "$folder is not a folder of this user"
  fi
done

cd "$root"
# The man page is dated as the release is, not as the day it was built.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l packaging/changelog -STimestamp)}
export SOURCE_DATE_EPOCH DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS; _FORTIFY_SOURCE is among them.
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DVIRETA_DEBIAN_PACKAGE=ON -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  >"$tree/configure.log" || { cat "$tree/configure.log" >&2; fail "configure failed"; }
cmake --build "$tree" >"$tree/build.log" || { tail -n 30 "$tree/build.log" >&2; fail "the build failed"; }

rm -rf "$tree/cpack"
cpack --config "$tree/CPackConfig.cmake" -B "$tree/cpack" >"$tree/cpack.log" 2>&1 ||
  { cat "$tree/cpack.log" >&2; fail "cpack failed"; }
packages=("$tree"/cpack/*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || fail "cpack made no single package in $tree/cpack"
name=$(basename "${packages[0]}")
target="$out/$name"
if [ -L "$target" ] || { [ -e "$target" ] && [ ! -f "$target" ]; }; then
  fail "$target is there and is not a regular file; not replacing it"
fi
mv -f "${packages[0]}" "$target"
echo "$target"
