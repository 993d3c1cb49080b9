#!/usr/bin/env bash
# The Debian package of this build, made once for the package tests: cpack
# writes it into OUT_DIR (dorv_<version>_<arch>.deb, nothing else there).
# Usage: build_package.sh CPACK BUILD_DIR OUT_DIR
set -euo pipefail
cpack=$1 build=$2 out=$3
rm -rf "$out"
mkdir -p "$out"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out/cpack" > "$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; echo "FAIL: cpack" >&2; exit 1; }
mv "$out"/cpack/*.deb "$out/"
rm -rf "$out/cpack"
ls "$out"/*.deb
