#!/usr/bin/env bash
# The Debian package, built as make deb builds it (with GoogleTest and Google Benchmark
# hidden from CMake, warnings as warnings): lintian, desktop-file-validate and appstreamcli
# find nothing wrong, the man page documents every option --help lists, and the program
# unpacked into a bare root finds its modules from where it lies and plays a drive.
# usage: check-package.sh FOLDER
set -euo pipefail
work=${1:?usage: check-package.sh FOLDER}
root=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "check-package: $*" >&2; exit 1; }

for tool in lintian desktop-file-validate appstreamcli dpkg-deb; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing; tools/install-deps.sh test installs it"
done
mkdir -p "$work"
if [ -L "$work" ] || [ ! -O "$work" ]; then
  fail "$work is not a folder of this user"
fi
tree=$work/tree
package=$("$root/tools/make-deb.sh" "$tree" "$work" 2>"$work/make-deb.log") ||
  { cat "$work/make-deb.log" >&2; fail "make-deb failed"; }
grep -q '^VIRETA_TESTS:BOOL=OFF$' "$tree/CMakeCache.txt" || fail "the tests were not left out"
grep -q '^VIRETA_WERROR:BOOL=OFF$' "$tree/CMakeCache.txt" || fail "warnings are errors in a package build"
[ ! -d "$tree/tests" ] || fail "tests were built"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
[ "$(basename "$package")" = "vireta_${version}_$(dpkg --print-architecture).deb" ] || fail "package named $package"

# Errors and warnings fail; the infos are shown for whoever reads the log.
lintian --fail-on error,warning --display-info "$package" >"$work/lintian.log" 2>&1 || lint=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ "${lint:-0}" -eq 0 ] || fail "lintian found errors or warnings"

unpacked=$work/root
rm -rf "$unpacked"
dpkg-deb -x "$package" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/vireta.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.vireta.Vireta.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
dependencies=$(dpkg-deb -f "$package" Depends)
for needed in libsdl2 libfreetype6 libpng16 fonts-dejavu-core; do
  [[ $dependencies == *"$needed"* ]] || fail "Depends lacks $needed: $dependencies"
done

program=$unpacked/usr/games/vireta
unset VIRETA_MODULE_DIR
[ "$("$program" --version)" = "vireta $version" ] || fail "--version: $("$program" --version)"
page=$(zcat "$unpacked/usr/share/man/man6/vireta.6.gz")
[[ $page == *"\"Vireta $version\""* ]] || fail "the man page is not of version $version"
for option in $("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  [[ $page == *"\\fB$option\\fR"* ]] || fail "the man page does not document $option"
done
printf 'tilt 10 350\nwait 1000\nkey softkey1\nwait 500\n' >"$work/drive.txt"
(cd "$work" && "$program" --headless --script drive.txt --trace drive.jsonl) ||
  fail "the unpacked program did not play its drive"
grep -q '"fn":"HTCSensorGetDataOutput"' "$work/drive.jsonl" || fail "the unpacked program did not read the sensor"
grep -q '"ev":"exit","code":0' "$work/drive.jsonl" || fail "the drive did not end with exit code 0"
