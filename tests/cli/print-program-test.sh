#!/usr/bin/env bash
# tepa as a program: no command but print loads a Qt library (the dynamic loader's own account,
# so a library opened later would show too), and print runs through tepa-print beside it with
# its output, messages and exit code passed on.
#   print-program-test.sh TEPA TEST_DATA_DIR
set -uo pipefail
tepa=$1
testdata=$2
install="$testdata/install"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
loaded() { LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep -o 'libQt6[A-Za-z]*' | sort -u; }

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
[ "$(head -c 5 "$tmp/list.pdf")" = "%PDF-" ] || fail "print wrote no PDF"
out=$("$tepa" summary "$testdata/sample-project.kon" --pdf "$tmp/summary.pdf" 2>&1) || fail "summary exit $?: $out"
[ "$(head -c 5 "$tmp/summary.pdf")" = "%PDF-" ] || fail "summary --pdf wrote no PDF"

out=$("$tepa" print "$testdata/sample-project.kon" --list 2>&1)
[ $? -eq 2 ] || fail "a print usage error gave exit $?"
grep -q "usage: tepa print" <<<"$out" || fail "the print program's message was not passed on: $out"

cp "$tepa" "$tmp/tepa"
out=$("$tmp/tepa" print "$testdata/sample-project.kon" --list --pdf "$tmp/x.pdf" 2>&1)
[ $? -eq 1 ] || fail "a missing print program gave exit $?"
grep -q "cannot start the print program $tmp/tepa-print" <<<"$out" || fail "missing print program: $out"
[ ! -e "$tmp/x.pdf" ] || fail "a PDF appeared without the print program"
echo "ok"
