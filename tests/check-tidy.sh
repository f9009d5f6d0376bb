#!/usr/bin/env bash
# Fails on any clang-tidy finding in the program's sources (game, platform, vendor, the
# native hosts, tools), checked as the build in BUILD_DIR compiles them, under the root
# .clang-tidy. The translation units are the build's, so hosts it leaves out are not
# checked; tests/ and bench/ are not the program's and are left out.
# usage: tests/check-tidy.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
build=$(cd "${1:?usage: tests/check-tidy.sh BUILD_DIR}" && pwd -P)
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
  echo "check-tidy: no $database; configure the build first" >&2
  exit 2
fi

# The database's own spelling of each file, chosen by where the file really is.
files=$(python3 - "$root" "$database" <<'EOF'
import json, os, re, sys
root, database = sys.argv[1], sys.argv[2]
folders = [os.path.join(root, f) + os.sep for f in ("game", "platform", "vendor", "hosts", "tools")]
chosen = set()
for entry in json.load(open(database)):
    name = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if any(os.path.realpath(name).startswith(f) for f in folders):
        chosen.add(name)
print("^(" + "|".join(re.escape(n) for n in sorted(chosen)) + ")$" if chosen else "")
EOF
)
if [ -z "$files" ]; then
  echo "check-tidy: no file of the program's in $database" >&2
  exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
# clang-tidy takes the checks, the header filter and its arguments from .clang-tidy.
run-clang-tidy -quiet -j "$(nproc)" -p "$build" "$files" >"$log" 2>&1 || status=$?

# A header's findings come once from each file that includes it, some through the build's
# per-area include roots: each is told once, by its place in the tree.
findings=$(python3 - "$root" "$log" <<'EOF'
import os, re, sys
root, log = sys.argv[1], sys.argv[2]
colour = re.compile(r"\x1b\[[0-9;]*m")
finding = re.compile(r"^(/[^:]+):(\d+):(\d+): (warning|error): (.*)$")
seen = set()
for line in open(log, errors="replace"):
    match = finding.match(colour.sub("", line.rstrip("\n")))
    if match:
        path = os.path.relpath(os.path.realpath(match.group(1)), root)
        seen.add("%s:%s:%s: %s: %s" % (path, match.group(2), match.group(3), match.group(4), match.group(5)))
print("\n".join(sorted(seen)))
EOF
)

if [ -n "$findings" ]; then
  echo "$findings"
  echo "check-tidy: $(grep -c . <<<"$findings") findings; clang-tidy -p $build FILE shows each in full" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  sed 's/\x1b\[[0-9;]*m//g' "$log" >&2
  echo "check-tidy: clang-tidy failed" >&2
  exit 1
fi
