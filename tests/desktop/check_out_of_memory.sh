#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Runs check_out_of_memory.py in a D-Bus session of its own, or skips (77) where Orca, xclip,
# prlimit, GTK's Python bindings (the drag source) or a tool it needs is not installed.
# Usage: check_out_of_memory.sh PROGRAM
. "$(dirname "$0")/desktop_check.sh"
require_desktop orca openbox xdotool xclip prlimit
"$python" -c 'import gi; gi.require_version("Gtk", "3.0")' 2>/dev/null ||
    { echo "SKIP: GTK 3's Python bindings are missing"; exit 77; }
exec dbus-run-session -- "$python" "$(dirname "$0")/check_out_of_memory.py" "$1" "$launcher"
