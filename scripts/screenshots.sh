#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Takes the README's screenshots from the real window under Xvfb, typing as a user would.
# Needs Xvfb, xdotool, xclip and imagemagick; writes docs/screenshot.png and
# docs/rotation-too-long.png. The X server gets a free display and ends with the script.
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
xvfb=
app=
cleanup() {
    if [[ -n $app ]]; then kill "$app" 2>/dev/null || true; fi
    if [[ -n $xvfb ]]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks an unused display number and writes it to the descriptor once it accepts clients.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 640x460x24 >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 -u "$display_fd" number || { echo "Xvfb did not start" >&2; exit 1; }
exec {display_fd}>&-
export DISPLAY=:$number

QT_QPA_PLATFORM=xcb ./build/korvane >/dev/null 2>&1 &
app=$!
sleep 1.5
W=$(xdotool search --name '^Korvane$' | head -1)
xdotool windowmove "$W" 40 30; xdotool windowfocus --sync "$W"; sleep 0.3
xdotool type --delay 15 'Hello, World!'
xdotool key Return
xdotool type --delay 15 'The quick brown fox jumps over the lazy dog.'
xdotool key Tab
xdotool type --delay 30 '5'
xdotool key Tab Tab Tab Tab
xdotool type --delay 30 '3'
sleep 0.5
import -window root "$scratch/main.png"
xdotool key Tab Tab
printf '1234567' | xclip -selection clipboard
xdotool key ctrl+v
xdotool key Tab
sleep 0.8
import -window root "$scratch/message.png"
convert "$scratch/main.png" -crop 548x379+40+30 +repage docs/screenshot.png
convert "$scratch/message.png" -crop 548x379+40+30 +repage docs/rotation-too-long.png
