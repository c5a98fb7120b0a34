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
    name=$(basename "$target")
    # Each target gets its own seeds in its own folder; a crash input lands in that folder too.
    corpus=$(mktemp -d)
    bash fuzz/seed-corpus.sh "$name" "$corpus"
    # Lines of a few hundred thousand characters must be reachable: a reader that is not linear in
    # the line length shows up only there.
    options=(-max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 -max_len=262144
        -artifact_prefix="$corpus/")
    if [ -f "fuzz/$name.dict" ]; then
        options+=(-dict="fuzz/$name.dict")
    fi
    echo "-- $name"
    status=0
    # Undefined behaviour stops the run like a crash, so the smoke run cannot pass over it.
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$target" "${options[@]}" "$corpus" >"$corpus.log" 2>&1 ||
        status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$corpus.log"
        echo "fuzz target $name failed; the input that failed is in $corpus"
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
