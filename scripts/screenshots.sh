#!/usr/bin/env bash
# Screenshots of the desktop program under Xvfb, and its timings there: the
# main window after each sample preset and the block image's right-click menu.
# Usage: scripts/screenshots.sh [OUTDIR]   (default build/shots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/shots}")
bash scripts/deps.sh bench
bash scripts/deps.sh desktop
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALYX_BENCH=ON -DTONALYX_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target bench_desktop
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x800x24" build/bench/bench/bench_desktop --shots "$out"
xvfb-run -a -s "-screen 0 1280x800x24" build/bench/bench/bench_desktop
echo "Screenshots in $out"
