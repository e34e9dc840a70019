#!/usr/bin/env bash
# Takes the README's screenshots from the real window under Xvfb, typing as a user would.
# Needs Xvfb, xdotool, xclip and imagemagick; writes docs/screenshot.png and
# docs/rotation-too-long.png.
set -euo pipefail
cd "$(dirname "$0")/.."
export DISPLAY=:91
Xvfb :91 -screen 0 640x460x24 >/dev/null 2>&1 &
XV=$!
sleep 1
QT_QPA_PLATFORM=xcb ./build/korvane >/dev/null 2>&1 &
APP=$!
sleep 1.5
W=$(xdotool search --name '^Korvane$' | head -1)
xdotool windowmove $W 40 30; xdotool windowfocus --sync $W; sleep 0.3
xdotool type --delay 15 'Hello, World!'
xdotool key Return
xdotool type --delay 15 'The quick brown fox jumps over the lazy dog.'
xdotool key Tab
xdotool type --delay 30 '5'
xdotool key Tab Tab Tab Tab
xdotool type --delay 30 '3'
sleep 0.5
import -window root /tmp/korvane-main.png
xdotool key Tab Tab
printf '1234567' | xclip -selection clipboard
xdotool key ctrl+v
xdotool key Tab
sleep 0.8
import -window root /tmp/korvane-message.png
kill $APP; kill $XV
convert /tmp/korvane-main.png -crop 548x379+40+30 +repage docs/screenshot.png
convert /tmp/korvane-message.png -crop 548x379+40+30 +repage docs/rotation-too-long.png
