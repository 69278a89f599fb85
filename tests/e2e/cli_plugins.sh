#!/usr/bin/env bash
# Plug-ins from the Appr folder beside the program: listed, and fitted
# through method 80 without any rebuild.
set -u
bin="$1"
src="$2"
cli="$bin/tracemont-cli"
source "$src/tests/e2e/lib/checks.bash"

listing=$("$cli" plugins) || fail "plugins exits 0"
echo "$listing" | grep -q "^Gradus.so	 y = V0 + (x-U0)^M \*(A0 + A1\*x...+AN\*x^N)$" || fail "Gradus listed with its title"
echo "$listing" | grep -q "^  N = 4$" || fail "Gradus parameters with defaults"
echo "$listing" | grep -q "^Harmonic.so" || fail "the example plug-in listed"

# v = 3u + 2u^2 fitted as U * (A0 + A1 U): A0 = 3, A1 = 2 exactly.
answer=$(echo '{"op":"fit","points":[[1,5,0],[2,14,0],[3,27,0],[4,44,0]],"params":[80,0,1],"approx":{"plugin":"Gradus.so","settings":[1,1,0,0]},"eval":[5]}' | "$cli" fit)
echo "$answer" | grep -q '"describe1":\["f(U) = U \* (   3+   2\*U^1)"' || fail "fit through Gradus: $answer"
echo "$answer" | grep -q '"eval":\[\[5,65\]\]' || fail "evaluation through Gradus: $answer"

# A document of another system names Gradus.dll; the same base name is found.
answer=$(echo '{"op":"fit","points":[[1,5,0],[2,14,0],[3,27,0],[4,44,0]],"params":[80,0,1],"approx":{"plugin":"gradus.DLL","settings":[1,1,0,0]},"eval":[5]}' | "$cli" fit)
echo "$answer" | grep -q '"eval":\[\[5,65\]\]' || fail "a .dll name resolves to the .so: $answer"

finish "cli plugins"
