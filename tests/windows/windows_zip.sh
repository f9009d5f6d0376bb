#!/bin/bash
# The zip for Windows players, packed from the Windows build: the folder vireta-VERSION
# with exactly the program, its two DLLs and a read-me with Windows line ends, the same
# bytes when packed again, and a link where the zip goes refused.
# usage: windows_zip.sh VERSION
set -u
fail() { echo "windows_zip: $*" >&2; exit 1; }
version=${1:?usage: windows_zip.sh VERSION}
for tool in zip python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool not found, skipping"; exit 77; }
done
windows=${VIRETA_WINDOWS_BUILD:?}
[ -f "$windows/vireta.exe" ] || fail "$windows/vireta.exe is missing: build it first (make windows)"
pack="$(dirname "$0")/../../tools/make-windows-zip.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip_file="$work/first/vireta-$version-windows-x64.zip"
[ "$("$pack" "$windows" "$work/first")" = "$zip_file" ] || fail "the zip is not $zip_file"
python3 - "$zip_file" "$version" "$windows/vireta.exe" <<'PY' || exit 1
import sys, zipfile
path, version, exe = sys.argv[1:]
folder = f"vireta-{version}/"
with zipfile.ZipFile(path) as z:
    names = sorted(z.namelist())
    expected = sorted(folder + n for n in ("vireta.exe", "HTCSensorSDK.dll", "HTCAPI.dll", "README.txt"))
    if names != expected:
        sys.exit(f"windows_zip: the zip holds {names}, not {expected}")
    readme = z.read(folder + "README.txt")
    if readme.count(b"\n") == 0 or readme.count(b"\n") != readme.count(b"\r\n"):
        sys.exit("windows_zip: README.txt has lines that do not end in CR LF")
    if z.read(folder + "vireta.exe") != open(exe, "rb").read():
        sys.exit("windows_zip: vireta.exe in the zip is not the build's")
PY
"$pack" "$windows" "$work/second" >/dev/null || fail "packing again failed"
cmp -s "$zip_file" "$work/second/vireta-$version-windows-x64.zip" || fail "packing again gave other bytes"

mkdir "$work/linked"
ln -s "$work/elsewhere" "$work/linked/vireta-$version-windows-x64.zip"
"$pack" "$windows" "$work/linked" >/dev/null 2>"$work/err" && fail "a link where the zip goes was followed"
[ "$(wc -l <"$work/err")" = 1 ] || fail "a link where the zip goes: not one line on stderr: $(paste -sd'|' "$work/err")"
[ ! -e "$work/elsewhere" ] || fail "a link where the zip goes was written through"
exit 0
