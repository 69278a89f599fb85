#!/usr/bin/env bash
# The batch tool: version, help, the scale commands and their errors.
set -u
bin="$1"
src="$2"
cli="$bin/tracemont-cli"
source "$src/tests/e2e/lib/checks.bash"

check_fails() {  # check_fails NAME COMMAND...; must exit non-zero with a message on stderr
  local name="$1"; shift
  local err
  if err=$("$@" 2>&1 >/dev/null); then
    echo "FAIL $name: exited 0"
    failures=$((failures + 1))
  elif [ -z "$err" ]; then
    echo "FAIL $name: no message on stderr"
    failures=$((failures + 1))
  fi
}

check version "tracemont-cli" "$("$cli" --version | cut -d' ' -f1)"
"$cli" --help | grep -q "scale --value" || { echo "FAIL help lists scale"; failures=$((failures + 1)); }

# A logarithmic scale with start 0 takes k as its start: 5 maps to distance 0.
check log-start "distance_cm 0" "$("$cli" scale --k 5 --b 0 --type 1 --value 5 | head -1)"
# 2 units per cm from 10, plot range 1..11 cm: 14 lies at 3 cm = 118 plot units.
check linear "plot_units 118" "$("$cli" scale --k 2 --b 10 --lo 1 --hi 11 --value 14 | sed -n 2p)"
check nice "-0.056" "$("$cli" nice -0.0567 -1)"
check labelformat "%6.2f" "$("$cli" labelformat 0.25)"

check_fails unknown-command "$cli" frobnicate
check_fails missing-value "$cli" scale --k 2
check_fails bad-number "$cli" scale --value abc
check_fails bad-type "$cli" scale --value 1 --type 3
check_fails bad-mode "$cli" nice 1 5
check_fails no-arguments "$cli"

finish "cli basics"
