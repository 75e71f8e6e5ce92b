#!/usr/bin/env bash
# Writes PDF IN in a form fit for byte comparison: qpdf's QDF form with a fixed
# /ID, and the creation and modification dates zeroed (same length, so the
# offsets stay right). With --dates-only the file keeps our own bytes and only
# the dates are zeroed.
# Usage: scripts/normalise-pdf.sh [--dates-only] IN.pdf OUT
set -euo pipefail
qdf=1
if [ "$1" = "--dates-only" ]; then
  qdf=0
  shift
fi
if [ $qdf = 1 ]; then
  qpdf --qdf --static-id "$1" "$2.tmp"
else
  cp "$1" "$2.tmp"
fi
LC_ALL=C sed -E 's#(/(CreationDate|ModDate) ?\(D:)[0-9]{14}#\100000000000000#g' "$2.tmp" >"$2"
rm -f "$2.tmp"
