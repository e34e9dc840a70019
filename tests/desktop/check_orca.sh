#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Runs check_orca.py in a D-Bus session of its own, or skips (77) where Orca or a tool it needs
# is not installed. Usage: check_orca.sh PROGRAM
. "$(dirname "$0")/desktop_check.sh"
require_desktop orca openbox xdotool
exec dbus-run-session -- "$python" "$(dirname "$0")/check_orca.py" "$1" "$launcher"
