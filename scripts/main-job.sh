#!/usr/bin/env bash
# Installs what is missing, builds Tonalyx and runs the main job on the shipped sample data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALYX_TESTS=OFF >/dev/null
cmake --build build/release -j2
cli=build/release/tonalyx-cli
"$cli" --version
"$cli" selfcheck
