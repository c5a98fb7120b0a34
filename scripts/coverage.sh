#!/usr/bin/env bash
# Line coverage of the program's own code (src/ and tools/) by the test suite: builds with
# gcc's --coverage into BUILD_DIR (default build-coverage), runs every test but the package test
# and prints the gcovr summary.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-coverage}

bash scripts/install-deps.sh
export LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=offscreen

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEPA_COVERAGE=ON >/dev/null
cmake --build "$build" -j2
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j2 -E Package >/dev/null || true
gcovr --root . --filter 'src/' --filter 'tools/' --exclude '.*_autogen/.*' \
    --object-directory "$build" --print-summary --txt "$build/coverage.txt" -j2 | tail -n 3
