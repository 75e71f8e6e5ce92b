#!/usr/bin/env bash
# Checks that includes point one way: a file includes headers of its own
# folder and of folders of a lower rank, never of a folder at its own rank or
# above. Ranks below, lowest first; a new folder gets its rank here (a folder
# of code without one fails the check). tests/, bench/, fuzz/ and tools/ sit
# on top and are not checked.
set -euo pipefail
cd "$(dirname "$0")/.."

ranks='
base                  0
platform/toolkit      1
platform/storage      1
platform/fonts        1
platform/xml          1
platform/reportengine 2
platform/qt           3
platform/wmfplayer    2
services              4
devicedefs            5
draw                  5
report                5
preset                6
pdf                   6
outputs               7
app                   8
cli                   9
'

files=$(find . \( -path ./build -o -path ./tests -o -path ./bench -o -path ./fuzz -o -path ./tools -o -path './.*' \) -prune \
  -o \( -name '*.h' -o -name '*.cpp' \) -print | sed 's#^\./##' | sort)

# shellcheck disable=SC2086
awk -v ranks="$ranks" '
  BEGIN {
    n = split(ranks, lines, "\n")
    for (i = 1; i <= n; i++) if (split(lines[i], f, " ") == 2) rank[f[1]] = f[2]
  }
  # The ranked folder a path belongs to: its longest ranked prefix.
  function folder(path,   best, d) {
    best = ""
    for (d in rank)
      if (index(path, d "/") == 1 && length(d) > length(best)) best = d
    return best
  }
  FNR == 1 {
    from = folder(FILENAME)
    if (from == "") { print FILENAME ": its folder has no rank in scripts/check-layers.sh"; bad = 1 }
  }
  /^[ \t]*#[ \t]*include[ \t]*"/ {
    inc = $0
    sub(/^[^"]*"/, "", inc); sub(/".*$/, "", inc)
    if (from == "" || index(inc, "/") == 0) next
    to = folder(inc)
    if (to == "" || to == from) next
    if (rank[to] >= rank[from]) {
      printf "%s:%d: includes %s: %s (rank %d) may not include %s (rank %d)\n", FILENAME, FNR, inc, from, rank[from], to, rank[to]
      bad = 1
    }
  }
  END { exit bad }
' $files && echo "check-layers: includes point one way"
