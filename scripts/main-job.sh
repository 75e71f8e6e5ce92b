#!/usr/bin/env bash
# Installs what is missing, builds Tonalyx and runs the main job on the shipped
# sample data: import the sample definitions into fresh tables ("Refresh"), then
# decode every sample preset and write its block image, its XML export and its Preset Report PDF.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALYX_TESTS=OFF >/dev/null
cmake --build build/release -j2
cli=$root/build/release/tonalyx-cli
"$cli" --version
"$cli" selfcheck

# The tables and outputs go to a working directory of their own, next to a copy
# of the definition files and block pictures they are read from.
work=$root/build/main-job
rm -rf "$work"
mkdir -p "$work"
cp -r Masters assets "$work/"
"$cli" --workdir "$work" refresh
for preset in examples/*.syx; do
  name=$(basename "$preset" .syx)
  echo
  echo "== $name"
  "$cli" --workdir "$work" decode "$root/$preset"
  "$cli" --workdir "$work" png "$root/$preset" "$work/$name.png"
  "$cli" --workdir "$work" xml "$root/$preset" "$work/$name.xml"
  "$cli" --workdir "$work" pdf --quiet "$root/$preset" "$work/$name.pdf"
  echo "Preset Report: $work/$name.pdf"
done
echo
echo "Outputs in $work"
