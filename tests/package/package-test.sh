#!/usr/bin/env bash
# Builds and unpacks the Debian package; both programs, run from elsewhere, must find their data.
#   package-test.sh BUILD_DIR [CPACK]
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }

"${2:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack could not build the package"; }
debs=("$tmp"/out/tepa_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tepa_*.deb, found: ${debs[*]}"
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Package)" = tepa ] || fail "package name"
[[ "$(dpkg-deb -f "$deb" Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no description"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 fonts-dejavu-core qt6-translations-l10n; do
    [[ "$(dpkg-deb -f "$deb" Depends)" == *"$lib"* ]] || fail "Depends lacks $lib"
done
root="$tmp/root"
dpkg -x "$deb" "$root"
data="$root/usr/share/tepa/data"
for file in usr/bin/tepa usr/bin/tepa-print usr/bin/orva-tepa usr/share/applications/orva-tepa.desktop \
    usr/share/icons/hicolor/scalable/apps/orva-tepa.svg usr/share/tepa/data/{tepatext.txt,freikon.txt} \
    usr/share/tepa/data/{zwangskon.txt,bauhoehen.txt,konvektoren.txt,background.jpg,Beispiel.kon,Tepa_Bilder/W.bmp}; do
    [ -f "$root/$file" ] || fail "$file is not in the package"
done
[ ! -e "$root/usr/bin/data" ] || fail "a data folder lies beside the programs"
desktop="$root/usr/share/applications/orva-tepa.desktop"
! command -v desktop-file-validate >/dev/null || desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'Name=ORVA TEPA' "$desktop" || fail "desktop entry name"

# An unrelated current folder, and HOME and the settings in the temporary folder too.
mkdir -p "$tmp/elsewhere" "$tmp/home" "$tmp/config/Orva"
printf '[General]\nArbeitsverzeichnis=%s\n' "$tmp/work" >"$tmp/config/Orva/kiv.conf"
cd "$tmp/elsewhere"
out=$(PATH="$root/usr/bin:$PATH" tepa check-data) || fail "check-data exit $?: $out"
[ "$out" = "$data: installation data valid" ] || fail "check-data said: $out"
out=$("$root/usr/bin/tepa" rate --type W1 --length 1000 --height 180 --tv 75 --ti 20 --tr 65 --json) ||
    fail "rate exit $?: $out"
grep -q '"output": [1-9]' <<<"$out" || fail "rate gave no output: $out"
# Printing goes through the print program beside it.
"$root/usr/bin/tepa" print "$data/Beispiel.kon" --list --letter-paper --pdf "$tmp/list.pdf" || fail "print exit $?"
[ "$(head -c 5 "$tmp/list.pdf")" = "%PDF-" ] || fail "print wrote no PDF"
"$root/usr/bin/tepa" show "$data/Beispiel.kon" >/dev/null || fail "show exit $?"
# Without the unpacked texts its error box would wait and time out; start-up ran through when
# the working directory from the settings got its two folders.
env QT_QPA_PLATFORM=offscreen HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" TEPA_QUIT_AFTER_START=1 \
    timeout 30 "$root/usr/bin/orva-tepa" >"$tmp/app.log" 2>&1 || { cat "$tmp/app.log"; fail "orva-tepa exit"; }
[ -d "$tmp/work/Projekte" ] && [ -d "$tmp/work/tmp" ] || fail "orva-tepa did not establish its folders"
echo PASS
