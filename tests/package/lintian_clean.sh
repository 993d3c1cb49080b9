#!/usr/bin/env bash
# Debian's own checker finds nothing to fault in the package: no error and no
# warning. The options are all given here, and lintian runs without any
# configuration file and in an empty environment with a home of its own (no
# user's profiles or LINTIAN_ variables), so the verdict does not depend on
# the machine; the info, pedantic and experimental tags are shown for the log
# only.
# Usage: lintian_clean.sh PACKAGE_DIR
set -euo pipefail
debs=("$1"/*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no package in $1" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
err=$scratch/stderr
set +e
tags=$(env -i PATH=/usr/bin:/bin HOME="$scratch" LANG=C.UTF-8 \
  lintian --no-cfg --profile debian --color never --tag-display-limit 0 \
  --display-info --pedantic --display-experimental --fail-on error,warning "${debs[0]}" 2> "$err")
rc=$?
set -e
echo "$tags"
faults=$(grep -E '^[EW]: ' <<< "$tags" || true)
[ -z "$faults" ] && [ $rc -eq 0 ] || { cat "$err" >&2; echo "FAIL: lintian (code $rc)" >&2; exit 1; }
