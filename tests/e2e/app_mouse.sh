#!/usr/bin/env bash
# The mouse tools of the desktop program driven by real X events (xdotool
# under a virtual display): a selected area dragged with its points, undone,
# and a new series drawn with the points tool; each result is saved with
# Ctrl+S and read back with the command-line tool.
set -u
bin="$1"
src="$2"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export XDG_RUNTIME_DIR="$out"
export XDG_CONFIG_HOME="$out/config"  # default window size and bars
unset QT_QPA_PLATFORM

for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL $tool is missing (scripts/deps installs it)"
    exit 1
  fi
done

# One session of the program on $1 with the gesture $2, then Ctrl+S.
# Positions are window pixels of the default 1100 x 780 window showing the
# example: (450, 330) lies inside its large rectangle area only; the tool
# buttons stand in a column at x = 1049.
cat > "$out/session.sh" <<'INNER'
doc="$2"; gesture="$3"
"$1/tracemont" "$doc" >"$doc.log" 2>&1 &
app=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name "$(basename "$doc" .tmr)" | head -1)
[ -n "$wid" ] || { kill $app; exit 2; }
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$wid")"
drag() {  # x0 y0 dx dy: press, four moves, release
  xdotool mousemove $((X + $1)) $((Y + $2)) mousedown 1
  for i in 1 2 3 4; do xdotool mousemove $((X + $1 + $3 * i / 4)) $((Y + $2 + $4 * i / 4)); sleep 0.05; done
  xdotool mouseup 1
}
case "$gesture" in
  drag) drag 450 330 20 16 ;;
  drag-undo) drag 450 330 20 16; sleep 0.3; xdotool key ctrl+z ;;
  draw) xdotool mousemove $((X + 1049)) $((Y + 149)) click 1; sleep 0.3; drag 700 235 120 0 ;;
esac
sleep 0.5
before=$(stat -c %Y.%s "$doc")
sleep 1.1  # a later second, so that the save shows in the modification time
xdotool key ctrl+s
for _ in $(seq 50); do [ "$(stat -c %Y.%s "$doc")" != "$before" ] && break; sleep 0.2; done
sleep 0.5
kill $app 2>/dev/null
wait $app 2>/dev/null
exit 0
INNER

run() {  # gesture -> document path
  local doc="$out/$1.tmr"
  cp "$src/examples/demo.tmr" "$doc"
  timeout 90 xvfb-run -a -s "-screen 0 1280x900x24" bash "$out/session.sh" "$bin" "$doc" "$1" || {
    echo "FAIL the program did not come up for the $1 gesture"
    cat "$doc.log"
    exit 1
  }
  echo "$doc"
}

summary() {  # document -> "areaX areaY seriesCount" of the large rectangle (id 5)
  "$bin/tracemont-cli" info "$1" | python3 -c '
import json, sys
d = json.load(sys.stdin)
area = next(a for a in d["areas"] if a["id"] == 5)
print(area["values"][0][0], area["values"][0][1], len(d["series"]))'
}

read -r x0 y0 n0 <<<"$(summary "$src/examples/demo.tmr")"
fail=0
read -r x y n <<<"$(summary "$(run drag)")"
if ! python3 -c "import sys; sys.exit(not ($x > $x0 + 0.1 and $y < $y0 - 0.1))"; then
  echo "FAIL dragging the selected area did not move it right and down: ($x0, $y0) -> ($x, $y)"
  fail=1
fi
read -r x y n <<<"$(summary "$(run drag-undo)")"
if [ "$x $y" != "$x0 $y0" ]; then
  echo "FAIL undo did not put the dragged area back: ($x0, $y0) -> ($x, $y)"
  fail=1
fi
read -r x y n <<<"$(summary "$(run draw)")"
if [ "$n" -ne $((n0 + 1)) ]; then
  echo "FAIL drawing with the points tool did not add a series ($n0 -> $n)"
  fail=1
fi
[ $fail -eq 0 ] && echo "app mouse: drag, undo and draw work under real X events"
exit $fail
