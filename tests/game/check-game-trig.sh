#!/usr/bin/env bash
# Fails when a game library calls the host C library's sine or cosine (sin, cos, sincos
# or their float and long double forms, which a compiler may also emit for a sin/cos
# pair) instead of the handset's: those differ by build and would break replays.
# Arguments: the game libraries' archives.
set -euo pipefail
[ $# -gt 0 ] || { echo "check-game-trig: no archives given" >&2; exit 2; }
faults=0
for archive in "$@"; do
  if [ ! -f "$archive" ] || [ -L "$archive" ]; then
    echo "check-game-trig: $archive is not a regular file" >&2
    exit 2
  fi
  undefined=$(nm -u "$archive") || { echo "check-game-trig: nm cannot read $archive" >&2; exit 2; }
  while read -r symbol; do
    echo "$(basename "$archive") calls the C library's $symbol"
    faults=$((faults + 1))
  done < <(awk 'NF >= 2 { sub(/@.*/, "", $2); print $2 }' <<<"$undefined" |
    grep -xE '(sin|cos|sincos)[fl]?' | sort -u)
done
exit $((faults > 0))
