#!/usr/bin/env bash
# Rebuilds the sample presets in examples/ from tools/presetbuilder/make_examples.cpp.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"${CXX:-c++}" -std=c++20 -Wall -Wextra -O1 -I"$root" "$root/tools/presetbuilder/make_examples.cpp" -o "$tmp/make_examples"
mkdir -p "$root/examples"
"$tmp/make_examples" "$root/examples"
