#!/usr/bin/env bash
# Starts Korvane in a virtual X display and saves a screenshot of the whole screen.
# Usage: scripts/screenshot.sh OUTPUT.png [SECONDS-TO-WAIT] [-- EXTRA ACTIONS via xdotool]
set -euo pipefail
out=${1:?output file}
wait=${2:-2}
here=$(cd "$(dirname "$0")/.." && pwd)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 640x480x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$here/build/korvane" &
app=$!
sleep "$wait"
DISPLAY=$display import -window root "$out"
kill $app 2>/dev/null || true
