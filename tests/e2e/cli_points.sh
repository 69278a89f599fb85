#!/usr/bin/env bash
# Points through the command line: a text file imported into a new series,
# exported again as text and XML, and the errors of both commands.
set -u
bin="$1"
src="$2"
cli="$bin/tracemont-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$src/tests/e2e/lib/checks.bash"

crlf() { printf '%s\r\n' "$@"; }

# A header line, separators of every kind, a short row and a label among numbers.
printf 'X Y Z\n1.5;2;3\n4 5 6\n7\nA 8 9\n10|11|12\n' > "$work/in.txt"
out="$("$cli" import "$work/in.txt" "$work/doc.tmr" --x 1 --y 2 --z 3)" || fail "import exited $?"
check "import summary" "read 4 kept 4" "$out"

"$cli" export "$work/doc.tmr" "$work/all.txt" --sort y || fail "text export exited $?"
check "text export" "$(crlf $'Param_X\tParam_Y\tZ' $'cm\tcm\t?' $' 1.500\t 2.000\t3' $' 4.000\t 5.000\t6' $' 0.000\t 8.000\t9' $'10.000\t11.000\t12')" \
  "$(cat "$work/all.txt")"

"$cli" export "$work/doc.tmr" "$work/bare.txt" --no-z --no-axis-title --no-units --divider comma || fail "bare export exited $?"
check "bare export" "$(crlf ' 1.500, 2.000' ' 4.000, 5.000' ' 0.000, 8.000' '10.000,11.000')" "$(cat "$work/bare.txt")"

# Multipliers and a range filter (bounds inclusive, before scaling).
out="$("$cli" import "$work/in.txt" "$work/ranged.tmr" --range 1.5 7 0 100 --multiply-x 2 --multiply-y -3)" || fail "ranged import exited $?"
check "ranged summary" "read 4 kept 2" "$out"
"$cli" export "$work/ranged.tmr" "$work/ranged.txt" --no-axis-title --no-units --no-z || fail "ranged export exited $?"
check "ranged values" "$(crlf $' 3.000\t 0.000' $' 8.000\t 0.000')" "$(cat "$work/ranged.txt")"

# XML: Windows-1251 bytes, escaped names, one PLOT per series.
"$cli" import "$work/in.txt" "$work/doc.tmr" --into "$work/doc.tmr" --title 'Ряд & <2>' > /dev/null || fail "second import exited $?"
"$cli" export "$work/doc.tmr" "$work/out.xml" --no-header --no-notes || fail "xml export exited $?"
check "xml declaration" '<?xml version="1.0" encoding="windows-1251" ?>' "$(head -n 1 "$work/out.xml" | tr -d '\r')"
check "xml plots" "2" "$(grep -ac '^<PLOT ID=' "$work/out.xml")"
check "xml escaped cp1251 name" "<STRID>Ряд &amp; &lt;2&gt;</STRID>" \
  "$(grep -a '^<STRID>' "$work/out.xml" | tail -n 1 | tr -d '\r' | iconv -f WINDOWS-1251 -t UTF-8)"
"$cli" export "$work/doc.tmr" "$work/comb.xml" --combine --color 5 || fail "combined export exited $?"
check "combined with no point writes no list" "0" "$(grep -c LISTDOTS "$work/comb.xml")"

# Errors: unknown extension, missing file, a file with no point.
"$cli" export "$work/doc.tmr" "$work/out.dat" 2> /dev/null && fail "export to .dat succeeded"
"$cli" import "$work/none.txt" "$work/x.tmr" 2> /dev/null && fail "import of a missing file succeeded"
printf 'a b c\n' > "$work/words.txt"
"$cli" import "$work/words.txt" "$work/x.tmr" --x 4 2> /dev/null && fail "import without a point succeeded"
[ -e "$work/x.tmr" ] && fail "a document was written without points"

finish "cli points"
