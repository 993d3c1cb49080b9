#!/usr/bin/env bash
# The Debian package of this build, unpacked into a scratch root: it declares
# the packages the programs need, keeps Dorv.INI as a conffile and links the
# commands onto the PATH; DorvPrint, started through its link offscreen,
# reads the Dorv.INI beside the real program, opens its main form on the
# sample school and ends cleanly.
# Usage: installed_print.sh CPACK BUILD_DIR QUIT_MAIN_FORM_LIBRARY
set -euo pipefail
cpack=$1 build=$2 quit_lib=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack"; }
debs=("$scratch"/out/*.deb)
[ -f "${debs[0]}" ] || fail "no package in $scratch/out"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6charts6 libqt6printsupport6 qt6-qpa-plugins fonts-ipafont-gothic fonts-ipafont-mincho; do
  [[ ", $depends," =~ ,\ $p[\ ,] ]] || fail "Depends lacks $p: $depends"
done
[ "$(dpkg-deb -I "$deb" conffiles)" = /usr/lib/dorv/Dorv.INI ] || fail "conffiles: $(dpkg-deb -I "$deb" conffiles)"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for p in DorvName DorvInput DorvPrint dorv-sample-school; do
  [ -L "$root/usr/bin/$p" ] && [ -x "$root/usr/bin/$p" ] || fail "/usr/bin/$p is no link to the program"
  [ "$(readlink -f "$root/usr/bin/$p")" = "$(readlink -f "$root/usr/lib/dorv/$p")" ] || fail "/usr/bin/$p leads elsewhere"
done

"$root/usr/bin/dorv-sample-school" "$scratch/school" > /dev/null || fail "dorv-sample-school"
ini=$root/usr/lib/dorv/Dorv.INI
grep -q '^drive=' "$ini" && grep -q '^Name=' "$ini" || fail "Dorv.INI has no drive or Name line"
sed -i -e "s|^drive=.*|drive=$scratch/school|" -e 's|^Name=.*|Name=みなと市立試験中学校|' "$ini"

mkdir "$scratch/home"
set +e
# Only the program gets the library, not timeout. A sanitizer build's runtime
# wants to be the first library loaded; the preloaded one comes before it.
out=$(cd "$scratch" && timeout 120 env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/config" LOGNAME=1021 \
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
  LD_PRELOAD="$quit_lib" "$root/usr/bin/DorvPrint")
rc=$?
set -e
echo "$out"
[ $rc -eq 0 ] || fail "DorvPrint ended with code $rc"
[ "$out" = "main form: Dorv成績処理－表示・印刷－　みなと市立試験中学校" ] || fail "unexpected windows"
