#!/usr/bin/env bash
# Packs the Windows build into vireta-VERSION-windows-x64.zip: a folder vireta-VERSION
# with the program, its two DLLs and a read-me with Windows line ends. The same build
# gives the same bytes: the release's date on every file, names sorted, no extra fields.
# Prints the zip's path.
# usage: tools/make-windows-zip.sh [BUILD [OUT]]   (default: build/windows, and the zip in build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
out=${2:-$root/build}
fail() { echo "make-windows-zip: $*" >&2; exit 1; }

command -v zip >/dev/null 2>&1 || fail "zip is missing; tools/install-deps.sh windows installs it"
version=$(sed -n 's/^project(Vireta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "no version in $root/CMakeLists.txt"
# The release's date, from the changelog's first sign-off.
stamp=${SOURCE_DATE_EPOCH:-$(date -d "$(sed -n 's/^ -- .*>  //p' "$root/packaging/changelog" | head -n 1)" +%s)} ||
  fail "no date in packaging/changelog"

files=(vireta.exe HTCSensorSDK.dll HTCAPI.dll)
for file in "${files[@]}"; do
  [ -f "$build/$file" ] && [ ! -L "$build/$file" ] || fail "$build/$file is missing or not a regular file (make windows builds it)"
done
mkdir -p "$out"
if [ -L "$out" ] || [ ! -O "$out" ]; then
  fail "$out is not a folder of this user"
fi
target="$out/vireta-$version-windows-x64.zip"
if [ -L "$target" ] || { [ -e "$target" ] && [ ! -f "$target" ]; }; then
  fail "$target is there and is not a regular file; not replacing it"
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="vireta-$version"
mkdir "$stage/$folder"
for file in "${files[@]}"; do
  cp "$build/$file" "$stage/$folder/$file"
done
sed 's/$/\r/' "$root/packaging/windows/README.txt" >"$stage/$folder/README.txt"
chmod 644 "$stage/$folder"/*
chmod 755 "$stage/$folder/vireta.exe"
# Zip keeps local time: UTC makes the stamp the same everywhere.
export TZ=UTC
touch -d "@$stamp" "$stage/$folder"/*
(cd "$stage" && find "$folder" -type f | LC_ALL=C sort | zip -q -X -D -9 "$stage/packed.zip" -@) ||
  fail "zip could not pack $stage/$folder"
mv -f "$stage/packed.zip" "$target"
echo "$target"
