#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Runs check_orca.py in a D-Bus session of its own, or skips (77) where Orca or a tool it needs
# is not installed. Usage: check_orca.sh PROGRAM
python=/usr/bin/python3  # the system's Python, which holds Orca and the AT-SPI bindings
for tool in dbus-run-session dbus-send Xvfb orca openbox xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing"; exit 77; }
done
"$python" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is missing"; exit 77; }
for launcher in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher ""; do
    [ -x "$launcher" ] && break
done
[ -n "$launcher" ] || { echo "SKIP: at-spi2-core is missing"; exit 77; }
exec dbus-run-session -- "$python" "$(dirname "$0")/check_orca.py" "$1" "$launcher"
