#!/usr/bin/env bash
# Start-up time and memory of the application, offscreen, on a Release build with benchmarks:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEPA_BUILD_BENCH=ON -DTEPA_BUILD_TESTS=OFF
#   cmake --build build-bench -j2 --target orva-tepa BareWindow SessionMemory installation_data
#   bash bench/startup/measure.sh [BUILD_DIR] [RUNS]
# (a) wall time of whole runs of orva-tepa with TEPA_QUIT_AFTER_START=1: process start, the
#     main and calculation windows built, the main window shown, the event loop entered, and the
#     exit. Each run is a new process (the file cache is warm after the first, untimed run).
#     A bare Qt window run the same way gives the floor Qt itself sets.
# (b) peak resident memory over a scripted design session (SessionMemory).
# Targets: start under 150 ms, peak resident memory under 60 MB.
set -euo pipefail
build=${1:-build-bench}
runs=${2:-30}
bin="$build/bin"
for program in orva-tepa BareWindow SessionMemory; do
    [ -x "$bin/$program" ] || { echo "missing $bin/$program (see the build commands above)" >&2; exit 2; }
done
bin=$(cd "$bin" && pwd)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/config/Orva"
printf '[General]\nArbeitsverzeichnis=%s\n' "$tmp/work" >"$tmp/config/Orva/kiv.conf"
export QT_QPA_PLATFORM=offscreen HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" TEPA_QUIT_AFTER_START=1
cd "$tmp" # an unrelated current folder, as a planner starts the program

# Prints "median min" in milliseconds over $runs timed runs of the command.
time_runs() {
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        "$@" >/dev/null 2>&1
        end=$EPOCHREALTIME
        times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
        m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        printf "%.1f %.1f\n", m, t[1] }'
}

# One untimed run each: it must succeed, and it fills the file cache.
for program in orva-tepa BareWindow; do
    "$bin/$program" >/dev/null 2>&1 || { echo "$program failed" >&2; exit 1; }
done
read -r app_median app_min < <(time_runs "$bin/orva-tepa")
read -r bare_median bare_min < <(time_runs "$bin/BareWindow")
echo "start to shown main window, including exit, $runs runs (target < 150 ms):"
printf '  orva-tepa    median %6.1f ms   min %6.1f ms\n' "$app_median" "$app_min"
printf '  bare window  median %6.1f ms   min %6.1f ms\n' "$bare_median" "$bare_min"

if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%M' -o "$tmp/rss" "$bin/orva-tepa" >/dev/null 2>&1
    echo "peak resident memory of one start: $(awk '{ printf "%.1f", $1 / 1024 }' "$tmp/rss") MiB"
fi

echo "design session (target < 60 MB peak resident):"
unset TEPA_QUIT_AFTER_START
"$bin/SessionMemory" 2>"$tmp/session.log" | sed 's/^/  /' || { cat "$tmp/session.log" >&2; exit 1; }
