#!/usr/bin/env bash
# Documents from the command line: convert a version 1.04 fixture to 1.10,
# read both with info, and the errors of both commands.
set -u
bin="$1"
src="$2"
cli="$bin/tracemont-cli"
fixture="$src/tests/data/sample-v104.tmr"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$src/tests/e2e/lib/checks.bash"

# field FILE EXPRESSION: one value of the JSON that info prints, e.g. field f.tmr '["series"][0]["id"]'
field() {
  "$cli" info "$1" | python3 -c "import json, sys; d = json.load(sys.stdin); print(json.dumps(d$2, ensure_ascii=False))"
}

check "fixture version" '"1.04"' "$(field "$fixture" '["version"]')"

"$cli" convert "$fixture" "$work/out.tmr" || fail "convert exited $?"
out="$work/out.tmr"
check "converted version" '"1.10"' "$(field "$out" '["version"]')"
check "unit" '"inch"' "$(field "$out" '["unit"]')"
check "page" '{"width": 2000, "height": 1000}' "$(field "$out" '["page"]')"
check "title" '"Образец"' "$(field "$out" '["title"]')"
check "series ids" '[57, 12]' "$(field "$out" '["series"]' | python3 -c 'import json,sys; print([s["id"] for s in json.load(sys.stdin)])')"
check "series line width" '3' "$(field "$out" '["series"][0]["lineWidth"]')"
check "series values" '[[1, 2, 0], [3, 4, 1], [5, 6, 2]]' "$(field "$out" '["series"][0]["values"]')"
check "area fill" 'false' "$(field "$out" '["areas"][0]["fill"]')"
check "function colour" '65280' "$(field "$out" '["functions"][0]["color"]')"
check "function range corners" '4' "$(field "$out" '["functions"][0]["range"]' | python3 -c 'import json,sys; print(len(json.load(sys.stdin)))')"
check "commentary text" '"Hello\r\nМир"' "$(field "$out" '["commentaries"][0]["text"]')"
check "Y axis position" '0' "$(field "$out" '["axes"][1]["position"]')"
check "X axis scale base" '3' "$(field "$out" '["axes"][0]["scale"]["base"]')"
check "legend" '{"visible": true, "rect": [10, -10, 300, -80]}' "$(field "$out" '["legend"]')"
check "diagram cell" '{"width": 1, "height": 0.05}' "$(field "$out" '["distribution"]["diagram"]["cell"]')"
check "editor picture" '"pic.bmp"' "$(field "$out" '["editor"]["pictureFile"]')"

# Converting the converted file changes nothing.
"$cli" convert "$out" "$work/again.tmr" || fail "second convert exited $?"
cmp -s "$out" "$work/again.tmr" || fail "a second conversion changed the bytes"

expect_error() {  # expect_error NAME MESSAGE COMMAND...
  local name="$1" message="$2"
  shift 2
  local err
  err=$("$@" 2>&1 >/dev/null)
  local code=$?
  [ "$code" -eq 2 ] || fail "$name: exit code $code, expected 2"
  [ "$err" = "$message" ] || fail "$name: message [$err], expected [$message]"
}

printf 'not a plot' > "$work/text.tmr"
head -c 100 "$out" > "$work/short.tmr"
expect_error "missing file" "$work/none.tmr was not found." "$cli" info "$work/none.tmr"
expect_error "not a document" "Failed to open document." "$cli" info "$work/text.tmr"
expect_error "truncated" "Unexpected file format." "$cli" convert "$work/short.tmr" "$work/x.tmr"
expect_error "missing folder" "$work/no/x.tmr contains an invalid path." "$cli" convert "$fixture" "$work/no/x.tmr"
[ -e "$work/x.tmr" ] && fail "a failed conversion wrote its output"
"$cli" info >/dev/null 2>&1
[ $? -eq 2 ] || fail "info without a file must exit 2"

finish "cli document"
