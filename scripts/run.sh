#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the bundled installation data.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tepa installation_data

data=tests/data/install
echo "== tepa check-data $data"
build/bin/tepa check-data "$data"
for project in tests/data/sample-project.kon; do
    echo "== tepa show $project"
    build/bin/tepa show --data "$data" "$project"
done
