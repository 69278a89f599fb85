#!/usr/bin/env bash
# Digitizing from the screen on a real (virtual) display: a red line shown
# in one window is framed by the border window, its colour picked from the
# frozen frame, and traced into the series "Screen". The offscreen platform
# of the Qt tests cannot show one window through another, so this runs the
# same test case under X.
set -u
bin="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export XDG_RUNTIME_DIR="$out"
unset QT_QPA_PLATFORM

if ! command -v xvfb-run >/dev/null; then
  echo "FAIL xvfb-run is missing (scripts/deps installs xvfb)"
  exit 1
fi
timeout 60 xvfb-run -a -s "-screen 0 1280x900x24" "$bin/ui_digitizing_test" \
  screenDigitizingTracesThePickedColourUnderTheBorderWindow > "$out/log.txt" 2>&1
status=$?
if [ "$status" -ne 0 ] || ! grep -q "^PASS   : DigitizingTest::screenDigitizing" "$out/log.txt"; then
  cat "$out/log.txt"
  echo "FAIL screen digitizing under X (exit $status)"
  exit 1
fi
echo "screen digitize: traced under X"
