#!/usr/bin/env bash
# Installs what is needed, builds and runs every test: the normal build, a short fuzz run of
# each fuzz target, and the tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
export LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=offscreen
FUZZ_SECONDS=${FUZZ_SECONDS:-20}

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEPA_BUILD_BENCH=ON >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

echo "== Fuzz smoke runs (${FUZZ_SECONDS} s each)"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTEPA_BUILD_FUZZ=ON -DTEPA_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2
for target in build-fuzz/bin/Fuzz*; do
    [ -x "$target" ] || continue
    corpus=$(mktemp -d)
    cp -r tests/data/. "$corpus/"
    echo "-- $(basename "$target")"
    status=0
    "$target" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 "$corpus" >"$corpus.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$corpus.log"
        echo "fuzz target $(basename "$target") failed"
        exit 1
    fi
    grep -E '^Done|^#[0-9]+.*DONE' "$corpus.log" | tail -n 1 || true
    rm -rf "$corpus" "$corpus.log"
done

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEPA_SANITIZE=ON >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2
