#!/usr/bin/env bash
# Side by side: a 1,000,000-point series of markers into a 1920 x 1080 PNG,
# by `tracemont-cli render` and by gnuplot's png terminal (gnuplot-nox; the
# script installs nothing, it skips gnuplot when it is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bin/bench_qt_render" --write "$work/million.tmr" "$work/million.txt"

milliseconds() { local start end; start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N); echo $(((end - start) / 1000000)); }

echo "tracemont-cli render: $(milliseconds "$bin/tracemont-cli" render "$work/million.tmr" "$work/ours.png" --dpi 96) ms"
if command -v gnuplot >/dev/null; then
  for terminal in png pngcairo; do
    t=$(milliseconds gnuplot -e "set terminal $terminal size 1920,1080; set output '$work/g.png'; plot '$work/million.txt' with points pt 7 ps 0.5 notitle")
    echo "gnuplot ($terminal): $t ms"
  done
else
  echo "gnuplot: not installed (apt-get install gnuplot-nox to compare)"
fi
