#!/usr/bin/env bash
# The fitting tool: every op answered on its own line, errors answered and
# skipped, non-finite numbers written as strings.
set -u
bin="$1"
cli="$bin/tracemont-cli"
failures=0

answers=$("$cli" fit <<'REQUESTS'
{"op":"fit","points":[[0,1],[1,3],[2,5],[3,7]],"params":[0,0,1],"eval":[10],"samples":[{"S":5,"straight":1}]}
{"op":"vector","params":[20,0,2,0,0,4,10,0,0,0,3,7,0],"eval":[1,3],"samples":[{"cornerA":[0,0],"cornerC":[4,0],"S":2,"subdivide":1,"centre":1}]}
{"op":"stats","points":[[0,0,1],[1,2,1],[2,4,1]]}
{"op":"interfacing","points":[[0,0],[2,2]],"rows":2,"cols":2}
{"op":"deleteSection","params":[40,0,8,0,0,100,50,0,0,0,0,0,100,0,0,50,100,50,0,0],"index":0}
not json

{"op":"vector","params":[0,0,1,0,0,1,1,"nan",0,0,1,"inf"],"eval":[0,1]}
{"op":"fit","points":[[1,2]],"params":[99,0,0]}
{"op":"fit","points":[[1]],"params":[0,0,1]}
{"op":"fit","points":[[-2,-1],[-2,1],[2,-1],[2,1]],"params":[99,0,0]}
REQUESTS
)
status=$?

expect() {  # expect LINE NAME SUBSTRING
  local line
  line=$(printf '%s\n' "$answers" | sed -n "$1p")
  if [[ "$line" != *"$3"* ]]; then
    echo "FAIL $2: line $1 lacks [$3]: $line"
    failures=$((failures + 1))
  fi
}

[ "$status" -eq 0 ] || { echo "FAIL exit status $status"; failures=$((failures + 1)); }
count=$(printf '%s\n' "$answers" | wc -l)
[ "$count" -eq 10 ] || { echo "FAIL expected 10 answers, got $count"; failures=$((failures + 1)); }

expect 1 fit-text '"describe1":["Y =    1 +    2*X",'
expect 1 fit-straight '"samples":[[[0,1.0000000000000013],[3,6.999999999999998]]]'
expect 1 fit-result '"result":1'
expect 2 centres '"samples":[[[0,3],[0.5,3],[1,3],[1,3],[2,5],[3,7]]]'
expect 2 step-text '"Lines with step    2"'
expect 3 stats-rows '"4":["Deviation","0.8165","1.633","   0"]'
expect 3 stats-kind8 '"8":[]'
expect 4 interfacing '{"correlationText":"   1","value":1}'
expect 5 delete '{"params":[40,0,4,0,0,100,50,0,0,0,0,50,100,50,0,0],"result":true}'
expect 6 malformed '{"error":"malformed JSON'
expect 7 non-finite '"eval":[[0,"nan"],[1,"inf"]]'
expect 8 ellipse-failure '"params":[99,0,0,1,2,1,2,0,0,0],"pointwise":false,"result":0'
expect 9 bad-point '{"error":"a point of \"points\" must be [x, y] or [x, y, z]"}'
expect 10 ellipse-text '"Ellipse: 0.0625 *dX2 +    0*dX*dY + 0.25 *dY2 = 1"'

if "$cli" fit extra </dev/null 2>/dev/null; then
  echo "FAIL fit with an argument exited 0"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "cli_fit: all checks passed"
exit $((failures > 0))
