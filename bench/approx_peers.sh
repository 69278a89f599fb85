#!/usr/bin/env bash
# Side by side in one run: the polynomial and non-linear fits of
# bench_approx beside numpy.polyfit and scipy.optimize.curve_fit on the same
# data and start values. The peers come from Debian's python3-numpy and
# python3-scipy (benchmark only; nothing else needs them).
# Usage: bench/approx_peers.sh [path/to/bench_approx]
set -euo pipefail
cd "$(dirname "$0")/.."
bench="${1:-build/bin/bench_approx}"
python=/usr/bin/python3
if [ ! -x "$bench" ]; then
  echo "approx peers: $bench not built"
  exit 0
fi
if ! "$python" -c 'import numpy, scipy' 2>/dev/null; then
  echo "approx peers: needs python3-numpy and python3-scipy (apt-get install python3-numpy python3-scipy)"
  exit 0
fi
ours=$(mktemp)
trap 'rm -f "$ours"' EXIT
"$bench" --benchmark_filter='PolynomialFit|NonLinear' --benchmark_out="$ours" \
  --benchmark_out_format=json >/dev/null 2>&1
# The OpenBLAS variables set on this machine slow a current numpy down;
# they are dropped for the peer alone.
env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python" bench/approx_peers.py "$ours"
