#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them: presets decoded per second,
# drawing and writing the block image, the definition import, the PDF writer
# and the report pipeline. Figures depend on the machine; run it quiet.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALYX_BENCH=ON -DTONALYX_TESTS=OFF >/dev/null
cmake --build build/bench -j2
for b in build/bench/bench/bench_*; do
  echo "== $(basename "$b")"
  # The desktop benchmark wants a display: Xvfb's, when there is no other.
  if [ "$(basename "$b")" = bench_desktop ] && [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x800x24" "$b"
  else
    "$b"
  fi
done
