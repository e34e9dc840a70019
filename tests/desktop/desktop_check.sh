# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Sourced by the checks that run the program on an X server with the accessibility bus.
# shellcheck shell=sh

python=/usr/bin/python3  # the system's Python, which holds the AT-SPI bindings

# Skips the check (77) unless the named tools, D-Bus, Xvfb, the Python AT-SPI bindings and the
# accessibility bus launcher are installed; sets $launcher to the launcher.
require_desktop() {
    for tool in dbus-run-session dbus-send Xvfb "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing"; exit 77; }
    done
    "$python" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is missing"; exit 77; }
    for launcher in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher ""; do
        [ -x "$launcher" ] && break
    done
    [ -n "$launcher" ] || { echo "SKIP: at-spi2-core is missing"; exit 77; }
}
