#!/usr/bin/env bash
# Makes the pictures of the user guide (docs/images/*.png) from the real application: builds the
# screenshot driver and the command-line tool, runs the windows under a virtual X server on a
# copy of the installation data (with HOME in a temporary folder, so neither the repository nor
# the user's settings change) and renders page 1 of a printout of the sample project.
#
#   bash scripts/screenshots.sh [BUILD_DIR]     (default build-shots)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-shots}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
images="$root/docs/images"
export LC_ALL=C.UTF-8

bash scripts/install-deps.sh
missing=()
for p in xvfb xauth poppler-utils; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A build folder of its own is configured without tests; one configured before keeps its options.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEPA_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target make-screenshots tepa

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r data "$work/data"
mkdir -p "$work/home" "$images"
mkdir -m 700 "$work/runtime"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"

echo "== The windows"
(
    cd "$work"
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$build/bin/make-screenshots" data data/Beispiel.kon "$images"
)

echo "== Printed pages"
# The first page of each printout, as a planner hands them out: the list and the heating sheet
# on neutral paper, the cooling sheet on the pre-printed letter paper.
print_page() {
    local name=$1
    shift
    "$build/bin/tepa" print "$work/data/Beispiel.kon" "$@" --data "$work/data" --pdf "$work/$name.pdf"
    pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/$name.pdf" "$images/$name"
}
print_page print-list --list
print_page print-calc-data --calc-data --mode heating
print_page print-calc-data-cooling --calc-data --mode cooling --letter-paper
ls -l "$images"
