#!/usr/bin/env bash
# The desktop program under a virtual display: it starts on the example
# document, paints its window, and the screenshot it takes is not blank.
set -u
bin="$1"
src="$2"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export XDG_RUNTIME_DIR="$out"
export XDG_CONFIG_HOME="$out/config"  # no settings of the user's
unset QT_QPA_PLATFORM

if ! command -v xvfb-run >/dev/null; then
  echo "FAIL xvfb-run is missing (scripts/deps installs xvfb)"
  exit 1
fi
timeout 60 xvfb-run -a -s "-screen 0 1280x900x24" \
  "$bin/tracemont" --screenshot "$out/window.png" "$src/examples/demo.tmr" || {
  echo "FAIL tracemont did not start and take its screenshot"
  exit 1
}
size=$(stat -c %s "$out/window.png" 2>/dev/null || echo 0)
# A blank window compresses to a few kilobytes; menus, bars and a painted
# page with points and curves take far more.
if [ "$size" -lt 30000 ]; then
  echo "FAIL the screenshot looks blank ($size bytes)"
  exit 1
fi
echo "app window: screenshot of $size bytes"
