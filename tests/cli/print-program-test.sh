#!/usr/bin/env bash
# tepa as a program: only print loads Qt (by the dynamic loader's account), through tepa-print;
# the PDFs of print and summary hold the layouts' lines, places and metadata (poppler-utils).
#   print-program-test.sh TEPA TEST_DATA_DIR
set -uo pipefail
tepa=$1
testdata=$2
install="$testdata/install" # interface texts "Text n", no letterhead logo
real="$testdata/../../data" # the shipped installation, with the logo and the sample project
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }
loaded() { LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep -o 'libQt6[A-Za-z]*' | sort -u; }
text() { pdftotext -layout "$1" - | tr -s ' '; }
has() { [[ $1 == *"$2"* ]] || fail "'$2' not in: $1"; }

for command in "dewpoint --room 26 --humidity 50" "check-data $install" "show $testdata/sample-project.kon" \
    "summary $testdata/sample-project.kon" "rate --type W1 --tv 75 --ti 20 --tr 65 --data $install" "--help"; do
    # shellcheck disable=SC2086
    libs=$(loaded "$tepa" $command)
    [ -z "$libs" ] || fail "tepa $command loads $libs"
done
# The same account does see Qt where it is loaded: in the print program.
[ -n "$(loaded "$tepa" print --help)" ] || fail "print --help loads no Qt: the check sees nothing"

# On its own, without the runtime folder a desktop session provides, a print says nothing.
out=$(env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM "$tepa" print "$testdata/sample-project.kon" --list \
    --letter-paper --pdf "$tmp/list.pdf" --data "$install" 2>&1) || fail "print exit $?: $out"
[ -z "$out" ] || fail "print wrote: $out"
list=$(text "$tmp/list.pdf")
for line in "Text 102" "Bürogebäude Nordring 12 / P-2025-117" "WFW 200 1000 3"; do has "$list" "$line"; done
[[ $list != *"Text 141"* ]] || fail "a letterhead on letter paper"

export QT_QPA_PLATFORM=offscreen
"$tepa" print "$testdata/sample-project.kon" --list --pdf "$tmp/neutral.pdf" --data "$real" || fail "print exit $?"
has "$(text "$tmp/neutral.pdf")" "ORVA Konvektoren"
# The title starts at (400, 1200) layout units, (96, 288) pt; the word box's top sits on or just
# below it, by the font's internal leading.
box=$(pdftotext -bbox "$tmp/neutral.pdf" - | grep -m1 '>Konvektorenliste<')
awk -F'"' '{ exit !($2 >= 94.5 && $2 <= 97.5 && $4 >= 284 && $4 <= 292) }' <<<"$box" || fail "title at $box"

# The sample room heats and cools: the mode picks the sheet, heating by default.
for mode in "" "--mode heating" "--mode cooling"; do
    # shellcheck disable=SC2086
    "$tepa" print "$real/Beispiel.kon" --calc-data $mode --pdf "$tmp/calc.pdf" --data "$real" || fail "exit $?"
    sheet=$([ "$mode" = "--mode cooling" ] && echo Kühlen || echo Heizen)
    has "$(text "$tmp/calc.pdf")" ">> $sheet <<"
done
for line in "Beispielprojekt Verwaltungsgebäude" "ORVA TEPA"; do has "$(pdfinfo "$tmp/calc.pdf")" "$line"; done

"$tepa" summary "$testdata/cli-inputs/building" --pdf "$tmp/summary.pdf" 2>/dev/null || fail "summary exit $?"
summary=$(text "$tmp/summary.pdf")
for line in "1-dual.kon Büro 1 2000 1200 800 1500 1500 0 3" "W1 100 1000 3" \
    "Warning: cooling entry 1 (WFW-2L): pressure drop above 100 kPa" $'4-damaged.kon\n not a project: Loading - Error'; do
    has "$summary" "$line"
done

out=$("$tepa" print "$testdata/sample-project.kon" --list 2>&1)
code=$?
[ $code -eq 2 ] || fail "a print usage error gave exit $code"
has "$out" "usage: tepa print"

cp "$tepa" "$tmp/tepa"
out=$("$tmp/tepa" print "$testdata/sample-project.kon" --list --pdf "$tmp/x.pdf" 2>&1)
code=$?
[ $code -eq 1 ] || fail "a missing print program gave exit $code"
has "$out" "cannot start the print program $tmp/tepa-print"
[ ! -e "$tmp/x.pdf" ] || fail "a PDF appeared without the print program"
echo "ok"
