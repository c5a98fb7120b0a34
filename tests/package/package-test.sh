#!/usr/bin/env bash
# Builds the Debian package of a build tree, unpacks it into a temporary root (as dpkg would
# install it, but elsewhere) and runs both programs from there, started from an unrelated
# folder and without --data: they must find the unpacked data through their own location.
#   package-test.sh BUILD_DIR [CPACK]
set -euo pipefail
build=$(cd "$1" && pwd)
cpack=${2:-cpack}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "== package"
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    fail "cpack could not build the package"
fi
debs=("$tmp"/out/tepa_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tepa_*.deb, found: ${debs[*]}"
deb=${debs[0]}
echo "$(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tepa ] || fail "package name '$(field Package)'"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "maintainer '$(field Maintainer)'"
[ -n "$(field Description)" ] || fail "no description"
depends=$(field Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 fonts-dejavu-core qt6-translations-l10n; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/tepa ./usr/bin/tepa-print ./usr/bin/orva-tepa \
    ./usr/share/applications/orva-tepa.desktop \
    ./usr/share/icons/hicolor/scalable/apps/orva-tepa.svg \
    ./usr/share/tepa/data/tepatext.txt ./usr/share/tepa/data/freikon.txt \
    ./usr/share/tepa/data/zwangskon.txt ./usr/share/tepa/data/bauhoehen.txt \
    ./usr/share/tepa/data/konvektoren.txt ./usr/share/tepa/data/background.jpg \
    ./usr/share/tepa/data/Beispiel.kon ./usr/share/tepa/data/Tepa_Bilder/W.bmp; do
    grep -qxF "$file" <<<"$contents" || fail "$file is not in the package"
done

root="$tmp/root"
dpkg -x "$deb" "$root"
[ ! -e "$root/usr/bin/data" ] || fail "a data folder lies beside the programs"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/orva-tepa.desktop" || fail "desktop entry"
fi
grep -qx 'Name=ORVA TEPA' "$root/usr/share/applications/orva-tepa.desktop" || fail "desktop entry name"

# An unrelated current folder, and HOME and the settings in the temporary folder too.
elsewhere="$tmp/elsewhere"
mkdir -p "$elsewhere" "$tmp/home" "$tmp/config/Orva"
printf '[General]\nArbeitsverzeichnis=%s\n' "$tmp/work" >"$tmp/config/Orva/kiv.conf"
cd "$elsewhere"
data="$root/usr/share/tepa/data"

echo "== tepa check-data, started through PATH"
out=$(PATH="$root/usr/bin:$PATH" tepa check-data) || fail "check-data exit $?: $out"
[ "$out" = "$data: installation data valid" ] || fail "check-data said: $out"

echo "== tepa rate"
out=$("$root/usr/bin/tepa" rate --type W1 --length 1000 --height 180 --tv 75 --ti 20 --tr 65 --json) ||
    fail "rate exit $?: $out"
grep -q '"output": [1-9]' <<<"$out" || fail "rate gave no output: $out"

echo "== tepa print, through the print program beside it"
"$root/usr/bin/tepa" print "$data/Beispiel.kon" --list --letter-paper --pdf "$tmp/list.pdf" ||
    fail "print exit $?"
[ "$(head -c 5 "$tmp/list.pdf")" = "%PDF-" ] || fail "print wrote no PDF"

echo "== tepa show Beispiel.kon"
"$root/usr/bin/tepa" show "$data/Beispiel.kon" >/dev/null || fail "show exit $?"

# Had it not found the unpacked texts (nor an installation under the prefix it was built for),
# its error box would wait for an answer and the run would time out.
echo "== orva-tepa, offscreen, quitting after start"
status=0
env QT_QPA_PLATFORM=offscreen HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" TEPA_QUIT_AFTER_START=1 \
    timeout 30 "$root/usr/bin/orva-tepa" >"$tmp/app.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$tmp/app.log"; fail "orva-tepa exit $status"; }
# Start-up ran through: the working directory from the settings got its two folders.
[ -d "$tmp/work/Projekte" ] && [ -d "$tmp/work/tmp" ] || fail "orva-tepa did not establish its folders"
echo "PASS"
