#!/usr/bin/env bash
# Batch digitizing of generated pictures: every traced point lies on the
# drawn curve, the curve is covered end to end, other colours are ignored,
# and bad arguments are refused.
set -u
bin="$1"
src="$2"
cli="$bin/tracemont-cli"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
source "$src/tests/e2e/lib/checks.bash"

python3 "$src/tests/data/make_digit_pictures.py" "$out" > "$out/formulas.txt" || { echo "FAIL pictures"; exit 1; }
formula() { awk -v n="$1" '$1 == n { print $2 }' "$out/formulas.txt"; }

# check NAME FORMULA TOLERANCE GAP: the exported points (x right, y up from
# the picture's bottom, one value per pixel) against the curve's rows.
check() {
  python3 - "$out/$1.txt" "$2" "$3" "$4" <<'PY'
import math, sys
path, formula, tolerance, gap = sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4])
f = lambda x: eval(formula, {"sin": math.sin, "pi": math.pi, "x": x})
points = []
for line in open(path).read().splitlines()[2:]:
    x, y, _ = line.split("\t")
    points.append((float(x.replace(",", ".")), 300 - float(y.replace(",", "."))))
curve = []
for x in range(20, 381):
    a, b = round(f(x - 1)) if x > 20 else round(f(x)), round(f(x))
    for yy in range(min(a, b), max(a, b) + 1):
        curve.append((x, yy))
dist = lambda p, q: math.hypot(p[0] - q[0], p[1] - q[1])
worst = max(min(dist(p, c) for c in curve) for p in points)
hole = max(min(dist(c, p) for p in points) for c in curve)
ok = worst <= tolerance and hole <= gap and len(points) > 20
print(f"{path}: {len(points)} points, farthest {worst:.2f} px, largest hole {hole:.2f} px")
sys.exit(0 if ok else 1)
PY
}

run() {  # NAME COLOUR STEP TOLERANCE GAP
  "$cli" digitize "$out/$1.bmp" "$out/$1.tmr" --color "$2" --region 0 0 400 300 \
    --limits 0 400 0 300 --step "$3" >/dev/null || { fail "digitize $1 $2"; return; }
  "$cli" export "$out/$1.tmr" "$out/$1.txt" >/dev/null || { fail "export $1"; return; }
  check "$1" "$(formula "$1")" "$4" "$5" || fail "points of $1 ($2, step $3)"
}

# Step 10 gives 2-pixel cells at 96 dpi, step 20 the 4-pixel cells.
run red_sine red 10 1.5 6
run red_sine red 20 2.5 12
run crossing red 10 1.5 6
run orange_sine red 10 1.5 6
run noisy_blue_line blue 10 1.5 6
run grey_line gray 10 1.5 6

# The picture stretched over the page lies under the series: the axes put
# each limit at the page position of its region edge (pixel centres).
"$cli" info "$out/red_sine.tmr" | python3 -c '
import json, sys
d = json.load(sys.stdin)
width, height = d["page"]["width"] * 100 / 254, d["page"]["height"] * 100 / 254  # plot units
def plot(scale, v):
    cm = (v - scale["b"]) / scale["k"]
    cm = cm + scale["lo"] if scale["direction"] >= 0 else scale["hi"] - cm
    return cm / 0.0254
x, y = d["axes"][0]["scale"], d["axes"][1]["scale"]
# red_sine.bmp is 400 x 300 pixels; the region is the whole picture.
checks = [(plot(x, 0), width * 0.5 / 400), (plot(x, 400), width * 400.5 / 400),
          (plot(y, 300), -height * 0.5 / 300), (plot(y, 0), -height * 300.5 / 300)]
sys.exit(0 if all(abs(a - b) < 1 for a, b in checks) else 1)' || fail "axes aligned with the background picture"

# A polygon keeps only the points inside it; its box (0..200 pixels) carries
# the X limits, so a point right of it would come out beyond 400.
"$cli" digitize "$out/red_sine.bmp" "$out/poly.tmr" --color red --polygon 0 0 200 0 200 300 0 300 \
  --limits 0 400 0 300 >/dev/null || fail "polygon digitize"
"$cli" export "$out/poly.tmr" "$out/poly.txt" >/dev/null || fail "polygon export"
python3 - "$out/poly.txt" <<'PY' || fail "polygon keeps the left half only"
import sys
xs = [float(l.split("\t")[0].replace(",", ".")) for l in open(sys.argv[1]).read().splitlines()[2:]]
sys.exit(0 if xs and max(xs) <= 400 and min(xs) <= 42 else 1)
PY

"$cli" digitize "$out/red_sine.bmp" "$out/x.tmr" --color green --region 0 0 400 300 \
  --limits 0 1 0 1 >/dev/null 2>&1
[ $? -eq 1 ] || fail "no matching colour gives exit 1"
"$cli" digitize "$out/absent.bmp" "$out/x.tmr" --color red --region 0 0 9 9 --limits 0 1 0 1 2>/dev/null && fail "missing picture refused"
"$cli" digitize "$out/red_sine.bmp" "$out/x.tmr" --color red --region 0 0 9 9 2>/dev/null && fail "missing limits refused"
"$cli" digitize "$out/red_sine.bmp" "$out/x.tmr" --color pink --region 0 0 9 9 --limits 0 1 0 1 2>/dev/null && fail "unknown colour refused"
"$cli" digitize "$out/red_sine.bmp" "$out/x.tmr" --color red --region 0 0 9 --limits 0 1 0 1 2>/dev/null && fail "short region refused"
"$cli" digitize "$out/red_sine.bmp" "$out/x.tmr" --color red --region 0 0 9 9 --limits 0 1 0 1 --step 101 2>/dev/null && fail "step beyond 100 refused"
finish "cli digitize"
