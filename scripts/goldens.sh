#!/usr/bin/env bash
# Rewrites the golden files under tests/data/ from today's programs. Run it
# when an output is meant to change, then read `git diff tests/data` to see
# what the change did; tests/golden checks the programs against these files.
#
#   tests/data/golden/NAME.json   decode --json of examples/NAME.syx
#   tests/data/golden/NAME.xml    its XML export
#   tests/data/golden/NAME.png    its block layout image
#   tests/data/pages/*.wmf        report pages made by tools/goldens (the picture
#                                 on page 1 is gen2_clean_chorus.png, reduced)
#   tests/data/golden/report.pdf  pages2pdf of those pages, normalised by
#                                 scripts/normalise-pdf.sh
#   tests/data/golden/report-plain.pdf  the same with --no-compress, as written
#                                 but for its dates (zeroed): offsets included
#
# Usage: bash scripts/goldens.sh [BUILD_DIR]   (default build/test, as scripts/test.sh builds it)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/test}
if [ ! -f "$build/CMakeCache.txt" ]; then
  bash scripts/deps.sh test
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONALYX_SANITIZE=ON -DTONALYX_TESTS=ON >/dev/null
fi
cmake --build "$build" -j2 --target tonalyx-cli golden_pages
cli=$root/$build/tonalyx-cli
pages_tool=$root/$build/tools/goldens/golden_pages

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r Masters assets "$work/"
"$cli" --workdir "$work" refresh >/dev/null

golden=tests/data/golden
mkdir -p "$golden"
for preset in examples/*.syx; do
  name=$(basename "$preset" .syx)
  "$cli" --workdir "$work" decode --json "$root/$preset" >"$golden/$name.json"
  "$cli" --workdir "$work" xml "$root/$preset" "$root/$golden/$name.xml" 2>/dev/null
  "$cli" --workdir "$work" png "$root/$preset" "$root/$golden/$name.png"
done

rm -rf tests/data/pages
mkdir -p "$work/pages"
(cd "$work/pages" && "$pages_tool" "$root/$golden/gen2_clean_chorus.png" "$root/tests/data/pages" >/dev/null)
pages=(tests/data/pages/report_page*.wmf)
"$cli" pages2pdf "$work/report.pdf" "${pages[@]}"
bash scripts/normalise-pdf.sh "$work/report.pdf" "$golden/report.pdf"
"$cli" pages2pdf --no-compress "$work/report-plain.pdf" "${pages[@]}"
bash scripts/normalise-pdf.sh --dates-only "$work/report-plain.pdf" "$golden/report-plain.pdf"
echo "Golden files rewritten; git diff --stat tests/data shows what changed."
