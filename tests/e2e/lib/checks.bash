# Shared by the end-to-end scripts (sourced, so not a test of its own):
# counting failures, comparing outputs and the closing verdict.
failures=0

fail() {  # fail WHAT
  echo "FAIL $*"
  failures=$((failures + 1))
}

check() {  # check NAME EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}

finish() {  # finish NAME: exit 1 after any failure, else say all passed
  [ "$failures" -eq 0 ] || exit 1
  echo "$1: all checks passed"
}
