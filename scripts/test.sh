#!/usr/bin/env bash
# Installs what is missing, checks that includes point one way, builds Tonalyx with AddressSanitizer and
# UBSan and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
bash scripts/check-layers.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONALYX_SANITIZE=ON -DTONALYX_TESTS=ON >/dev/null
cmake --build build/test -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside fontconfig, which Qt leaves for the life of the process, are not ours.
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
cd build/test && ctest --output-on-failure -j2
