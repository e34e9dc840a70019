#!/bin/sh
# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Runs a Qt Test program (with its arguments) on the X11 platform with the AT-SPI bridge active,
# in a D-Bus session of its own with an accessibility bus and a private Xvfb, so that Qt tells
# assistive technology of every change as it does for a screen reader.
for tool in dbus-run-session Xvfb; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing"; exit 77; }
done
for launcher in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher ""; do
    [ -x "$launcher" ] && break
done
[ -n "$launcher" ] || { echo "SKIP: at-spi2-core is missing"; exit 77; }
export KORVANE_LAUNCHER="$launcher"
exec dbus-run-session -- sh -c '
    Xvfb :$$ -nolisten tcp -noreset >/dev/null 2>&1 & xvfb=$!
    "$KORVANE_LAUNCHER" --launch-immediately >/dev/null 2>&1 & bus=$!
    for i in 1 2 3 4 5 6 7 8 9 10; do
        [ -e /tmp/.X11-unix/X$$ ] && break
        sleep 0.5
    done
    sleep 1
    DISPLAY=:$$ QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
    status=$?
    kill $xvfb $bus 2>/dev/null
    exit $status
' sh "$@"
