#!/usr/bin/env bash
# Debian's own checker finds nothing to fault in the package: no error and no
# warning. The options are all given here and no configuration file is read,
# so the verdict does not depend on the machine; the info, pedantic and
# experimental tags are shown for the log only.
# Usage: lintian_clean.sh PACKAGE_DIR
set -euo pipefail
debs=("$1"/*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no package in $1" >&2; exit 1; }

err=$(mktemp)
trap 'rm -f "$err"' EXIT
set +e
tags=$(lintian --no-cfg --profile debian --color never --tag-display-limit 0 \
  --display-info --pedantic --display-experimental --fail-on error,warning "${debs[0]}" 2> "$err")
rc=$?
set -e
echo "$tags"
faults=$(grep -E '^[EW]: ' <<< "$tags" || true)
[ -z "$faults" ] && [ $rc -eq 0 ] || { cat "$err" >&2; echo "FAIL: lintian (code $rc)" >&2; exit 1; }
