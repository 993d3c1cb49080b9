#!/usr/bin/env bash
# The Debian package of this build, unpacked into a scratch root: it declares
# the packages the programs need, keeps /etc/dorv/Dorv.INI as a conffile,
# links the commands onto the PATH and the Dorv.INI beside the programs to
# /etc/dorv. Each menu entry is valid and has its icon; started through its
# Exec line offscreen, each program reads the settings through that link,
# opens its main form on the sample school and ends cleanly.
# Usage: installed_programs.sh PACKAGE_DIR QUIT_MAIN_FORM_LIBRARY
set -euo pipefail
debs=("$1"/*.deb)
quit_lib=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
deb=${debs[0]}
[ -f "$deb" ] || fail "no package in $1"

depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6charts6 libqt6printsupport6 qt6-qpa-plugins fonts-ipafont-gothic fonts-ipafont-mincho; do
  [[ ", $depends," =~ ,\ $p[\ ,] ]] || fail "Depends lacks $p: $depends"
done
[ "$(dpkg-deb -I "$deb" conffiles)" = /etc/dorv/Dorv.INI ] || fail "conffiles: $(dpkg-deb -I "$deb" conffiles)"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for p in DorvName DorvInput DorvPrint dorv-sample-school; do
  [ -L "$root/usr/bin/$p" ] && [ -x "$root/usr/bin/$p" ] || fail "/usr/bin/$p is no link to the program"
  [ "$(readlink -f "$root/usr/bin/$p")" = "$(readlink -f "$root/usr/lib/dorv/$p")" ] || fail "/usr/bin/$p leads elsewhere"
done

# The settings: the file in /etc, and beside the programs a link to it. In
# the scratch root the link's absolute target would name the machine's /etc,
# so it is pointed at the scratch root's.
ini=$root/etc/dorv/Dorv.INI
[ -f "$ini" ] && [ ! -L "$ini" ] || fail "/etc/dorv/Dorv.INI is no file"
[ "$(readlink "$root/usr/lib/dorv/Dorv.INI")" = /etc/dorv/Dorv.INI ] ||
  fail "/usr/lib/dorv/Dorv.INI is no link to /etc/dorv/Dorv.INI"
ln -sfn "$ini" "$root/usr/lib/dorv/Dorv.INI"

"$root/usr/bin/dorv-sample-school" "$scratch/school" > /dev/null || fail "dorv-sample-school"
grep -q '^drive=' "$ini" && grep -q '^Name=' "$ini" || fail "Dorv.INI has no drive or Name line"
sed -i -e "s|^drive=.*|drive=$scratch/school|" -e 's|^Name=.*|Name=みなと市立試験中学校|' "$ini"

# Each menu entry and the title of the main form its program opens.
declare -A titles=(
  [dorv-input]="成績処理Dorv入力 - みなと市立試験中学校"
  [dorv-print]="Dorv成績処理－表示・印刷－　みなと市立試験中学校"
  [dorv-name]="Dorv成績処理－名簿管理－　みなと市立試験中学校"
)
apps=$root/usr/share/applications
entries=$(cd "$apps" && ls)
[ "$entries" = "$(printf '%s.desktop\n' "${!titles[@]}" | sort)" ] || fail "menu entries: $entries"

mkdir "$scratch/home"
mkdir -m 0700 "$scratch/runtime"
for entry in "${!titles[@]}"; do
  file=$apps/$entry.desktop
  desktop-file-validate "$file" || fail "$entry.desktop is no valid menu entry"
  icon=$(sed -n 's/^Icon=//p' "$file")
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$entry: no icon $icon"
  grep -q '^Name\[ja\]=' "$file" && grep -q '^Comment\[ja\]=' "$file" || fail "$entry: no Japanese name or comment"

  # The command line as a menu starts it: the Exec value split into words,
  # without the field codes (the programs take no files), found on a PATH
  # that begins with the scratch root's /usr/bin.
  read -ra command <<< "$(sed -n 's/^Exec=//p' "$file")"
  words=()
  for w in "${command[@]}"; do [[ $w =~ ^%[a-zA-Z]$ ]] || words+=("$w"); done
  path=$root/usr/bin:$PATH
  [ "$(PATH=$path command -v "${words[0]}")" = "$root/usr/bin/${words[0]}" ] ||
    fail "$entry: ${words[0]} is not the package's command"

  set +e
  # Only the program gets the library, not timeout. A sanitizer build's
  # runtime wants to be the first library loaded; the preloaded one comes
  # before it.
  out=$(cd "$scratch" && timeout 120 env PATH="$path" LOGNAME=1021 QT_QPA_PLATFORM=offscreen \
    HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/config" XDG_RUNTIME_DIR="$scratch/runtime" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    LD_PRELOAD="$quit_lib" "${words[@]}")
  rc=$?
  set -e
  echo "$entry: $out"
  [ $rc -eq 0 ] || fail "$entry: ${words[*]} ended with code $rc"
  [ "$out" = "main form: ${titles[$entry]}" ] || fail "$entry: unexpected windows"
done
