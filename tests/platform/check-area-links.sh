#!/usr/bin/env bash
# Fails when a handset area's library calls into an area it does not link, directly or
# through the areas it links: such a call (say a Win32 function reached through
# windows.h) slips past the include roots and would close a cycle at link time.
# Arguments: one AREA=ARCHIVE=LINKED,AREAS per area, lowest first.
set -euo pipefail
declare -A archive links
areas=()
for arg in "$@"; do
  IFS='=' read -r area file linked <<<"$arg"
  if [ ! -f "$file" ] || [ -L "$file" ]; then
    echo "check-area-links: $file is not a regular file" >&2
    exit 2
  fi
  areas+=("$area")
  archive[$area]=$file
  links[$area]=${linked//,/ }
done

# Everything an area may use: itself and, transitively, what it links.
reach() {
  local seen=" $1 " queue=("$1") next
  while [ ${#queue[@]} -gt 0 ]; do
    for next in ${links[${queue[0]}]}; do
      [[ $seen == *" $next "* ]] || { seen+="$next "; queue+=("$next"); }
    done
    queue=("${queue[@]:1}")
  done
  echo "$seen"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for area in "${areas[@]}"; do
  nm -g --defined-only "${archive[$area]}" 2>/dev/null | awk 'NF == 3 { print $3 }' | sort -u >"$work/$area.defined"
  nm -u "${archive[$area]}" 2>/dev/null | awk 'NF >= 2 { print $2 }' | sort -u >"$work/$area.used"
  nm -g --defined-only "${archive[$area]}" 2>/dev/null | awk '$2 ~ /^[TDBR]$/ { print $3 }' | sort -u >"$work/$area.strong"
done

faults=0
for area in "${areas[@]}"; do
  allowed=$(reach "$area")
  for other in "${areas[@]}"; do
    [[ $allowed == *" $other "* ]] && continue
    while read -r symbol; do
      echo "handset area $area uses $(c++filt "$symbol") of $other, which it does not link"
      faults=$((faults + 1))
    done < <(comm -23 "$work/$area.used" "$work/$area.defined" | comm -12 - "$work/$other.strong")
  done
done
exit $((faults > 0))
