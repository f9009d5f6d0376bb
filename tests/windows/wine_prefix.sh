#!/bin/sh
# Makes the Wine prefix the Wine tests share, in the build folder, and checks that the
# Windows build is there to run.
set -eu
test_name=wine_prefix
. "$(dirname "$0")/wine_support.sh"
start_xvfb
wineboot --init >/dev/null 2>&1 || fail "wineboot could not make the prefix $WINEPREFIX"
wineserver -w
