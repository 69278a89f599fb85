#!/usr/bin/env bash
# Side by side in one run: importing a 1,000,000-line CSV of three columns
# with `tracemont-cli import` (reading, the wizard's line analysis, writing
# the document) beside numpy.loadtxt reading the same file into an array.
# The peer comes from Debian's python3-numpy (benchmark only).
# Usage: bench/points_io_peers.sh [path/to/tracemont-cli]
set -euo pipefail
cd "$(dirname "$0")/.."
cli="${1:-build/bin/tracemont-cli}"
python=/usr/bin/python3
if [ ! -x "$cli" ]; then
  echo "points io peers: $cli not built"
  exit 0
fi
if ! "$python" -c 'import numpy' 2>/dev/null; then
  echo "points io peers: needs python3-numpy (apt-get install python3-numpy)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" - "$work/points.csv" <<'PY'
import random, sys
random.seed(5)
with open(sys.argv[1], "w") as f:
    for i in range(1_000_000):
        f.write(f"{random.uniform(0, 100):.6f},{random.uniform(-50, 50):.6f},{i}\n")
PY
best_of_three() {  # command... -> best wall time in ms
  local best=""
  for _ in 1 2 3; do
    local t0 t1 ms
    t0=$(date +%s%N)
    "$@" >/dev/null || return 1
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}
ours=$(best_of_three "$cli" import "$work/points.csv" "$work/points.tmr") || {
  echo "points io peers: tracemont-cli import failed"
  exit 1
}
# The interpreter's start-up is timed too, as the command-line tool's is.
peer=$(best_of_three env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python" -c \
  "import numpy, sys; a = numpy.loadtxt(sys.argv[1], delimiter=','); print(a.shape)" "$work/points.csv") || {
  echo "points io peers: numpy.loadtxt failed"
  exit 1
}
echo "import of 1,000,000 CSV lines: tracemont-cli import ${ours} ms (with writing the document)," \
  "numpy.loadtxt ${peer} ms; ratio $(awk -v a="$peer" -v b="$ours" 'BEGIN { printf "%.1f", a / b }')x"
