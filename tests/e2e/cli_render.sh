#!/usr/bin/env bash
# Batch rendering of the example document to PNG, SVG and PDF, and its errors.
set -u
bin="$1"
src="$2"
cli="$bin/tracemont-cli"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
source "$src/tests/e2e/lib/checks.bash"

for kind in png svg pdf; do
  "$cli" render "$src/examples/demo.tmr" "$out/demo.$kind" --dpi 96 >/dev/null || fail "render $kind"
  [ -s "$out/demo.$kind" ] || fail "$kind written"
done
head -c 8 "$out/demo.png" | grep -q "PNG" || fail "png signature"
grep -q "<svg" "$out/demo.svg" || fail "svg content"
head -c 5 "$out/demo.pdf" | grep -q "%PDF" || fail "pdf signature"
[ "$(stat -c %s "$out/demo.png")" -gt 20000 ] || fail "png is not blank"

"$cli" render "$src/examples/demo.tmr" "$out/demo.bmp" 2>/dev/null && fail "unknown picture type refused"
"$cli" render "$out/absent.tmr" "$out/x.png" 2>/dev/null && fail "missing document refused"
"$cli" render "$src/examples/demo.tmr" "$out/x.png" --dpi 5 2>/dev/null && fail "bad dpi refused"
finish "cli render"
