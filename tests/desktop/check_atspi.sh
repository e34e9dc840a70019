#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Runs check_atspi.py in a D-Bus session of its own, or skips (77) where the accessibility stack
# it needs is not installed. Usage: check_atspi.sh PROGRAM
. "$(dirname "$0")/desktop_check.sh"
require_desktop
exec dbus-run-session -- "$python" "$(dirname "$0")/check_atspi.py" "$1" "$launcher"
