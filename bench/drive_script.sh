#!/usr/bin/env bash
# Writes a headless script of <ticks> ticks of varied driving to stdout: a one-minute
# pattern of turns, speeding up and braking, repeated.
set -euo pipefail
ticks=${1:?usage: drive_script.sh <ticks>}
pattern=(
  "tilt 25 0" "wait 4000" "tilt 30 6" "wait 1500" "tilt 30 354" "wait 3000" "tilt 20 0" "wait 6000"
  "tilt 60 0" "wait 2000" "tilt 35 10" "wait 2500" "tilt 35 350" "wait 2500" "tilt 15 3" "wait 8000"
  "tilt 44 357" "wait 5000" "tilt 28 8" "wait 4000" "tilt 28 352" "wait 4000" "tilt 22 0" "wait 17500"
)
left=$((ticks * 50))
while [ "$left" -gt 0 ]; do
  for line in "${pattern[@]}"; do
    if [[ $line == wait* ]]; then
      ms=${line#wait }
      [ "$ms" -gt "$left" ] && ms=$left
      [ "$ms" -le 0 ] && break
      echo "wait $ms"
      left=$((left - ms))
    else
      echo "$line"
    fi
  done
done
