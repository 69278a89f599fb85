#!/usr/bin/env bash
# tracemont-cli eval: JSON requests in, one JSON answer per line out, all
# requests served by one evaluator. Usage: cli_eval.sh BIN_DIR SOURCE_DIR
set -euo pipefail

bin="${1:?usage: cli_eval.sh BIN_DIR SOURCE_DIR}"
cli="$bin/tracemont-cli"
[ -x "$cli" ] || { echo "cli_eval: $cli not found" >&2; exit 1; }

requests=$(cat <<'EOF'
{"entry":"CalcUV","text":"  2 * x = y","u":3,"v":0,"params":[0,0,0,0]}
{"entry":"CalcWithParams","text":"a+b*u","u":2,"params":[1,10,0,0]}
{"entry":"CalcWithParams","text":"a+b*u","u":2}
{"entry":"CheckOnRange","text":"u/v","uMin":0,"uMax":1}
{"entry":"CheckOnRange","text":"sin(u)","uMin":0,"uMax":1}
{"entry":"Tabulate","text":"1/u","uMin":0,"uMax":1,"n":4,"v":0}
{"entry":"Tabulate","text":"u","uMin":0,"uMax":1,"n":0}
{"entry":"CheckUV","text":"u+v+a+b+c+d+w","u":1,"v":1,"params":[1,1,1,1]}
{"entry":"CalcUV","text":"ln(u)","u":0,"params":[0,0,0,0]}
{"entry":"CalcUV","text":"sqrt(u)","u":"-inf","params":[0,0,0,0]}
{"entry":"CheckWithParams","text":"1/(int(u*32000+0.5)-41)","params":[0,0,0,0]}
{"entry":"CheckWithParams","text":"1/(int(u*32000+0.5)-41)","params":[0,0,0,0]}
{"entry":"CheckUV","text":"max(1,2,3)","params":[0,0,0,0]}

this is not JSON
{"entry":"Evaluate","text":"u"}
{"entry":"Tabulate","text":"u","n":1.5}
{"entry":"CalcUV","text":"\u0070i","params":[0,0,0,0]}
EOF
)

expected=$(cat <<'EOF'
{"ok":true,"value":6,"buffer":"2*u"}
{"ok":true,"value":21,"buffer":"a+b*u"}
{"ok":false,"buffer":"a+b*u"}
{"ok":false,"buffer":"Division by Zero"}
{"ok":true,"buffer":"sin(u)"}
{"ok":true,"values":[0,4,2,1.3333333333333333,1],"buffer":"1/u"}
{"ok":false,"buffer":"u"}
{"ok":false,"buffer":"Bad symbol 'w' in expression"}
{"ok":true,"value":"-inf","buffer":"ln(u)"}
{"ok":true,"value":"nan","buffer":"sqrt(u)"}
{"ok":false,"buffer":"Division by Zero"}
{"ok":true,"buffer":"1/(int(u*32000+0.5)-41)"}
{"ok":false,"buffer":"Unexpected symbol ','"}
{"ok":false,"error":"invalid JSON at column 1: unexpected character"}
{"ok":false,"error":"unknown entry \"Evaluate\""}
{"ok":false,"error":"\"n\" must be an integer of at most 10000000"}
{"ok":true,"value":3.1415926535897931,"buffer":"pi"}
EOF
)

actual=$(printf '%s\n' "$requests" | "$cli" eval)
if [ "$actual" != "$expected" ]; then
  echo "cli_eval: answers differ (expected, actual):" >&2
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") >&2 || true
  exit 1
fi

# Arguments are refused with a usage message and code 2.
if "$cli" eval --bogus </dev/null >/dev/null 2>&1; then
  echo "cli_eval: an argument was accepted" >&2
  exit 1
fi
