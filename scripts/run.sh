#!/usr/bin/env bash
# Installs what is needed, builds, checks the bundled installation with the command-line tool
# and starts the application on it (the installation data lie beside the programs in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target orva-tepa tepa installation_data

echo "== tepa check-data data"
build/bin/tepa check-data data
for project in data/Beispiel.kon; do
    echo "== tepa show $project"
    build/bin/tepa show --data data "$project"
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "== No display (DISPLAY and WAYLAND_DISPLAY are empty): the window cannot open here."
    echo "   Start it under a virtual X server instead:"
    echo "       apt-get install -y xvfb xauth"
    echo "       xvfb-run -a build/bin/orva-tepa"
    exit 0
fi

echo "== Starting build/bin/orva-tepa"
exec build/bin/orva-tepa "$@"
