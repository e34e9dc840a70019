#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Runs check_x11_input.py in a D-Bus session of its own, or skips (77) where IBus or Fcitx 5, their
# m17n engines, Qt's modules for them or a tool the check needs is not installed.
# Usage: check_x11_input.sh PROGRAM
. "$(dirname "$0")/desktop_check.sh"
require_desktop openbox xdotool ibus ibus-daemon fcitx5 fcitx5-remote
[ -f /usr/share/m17n/latn-post.mim ] || { echo "SKIP: m17n-db is missing"; exit 77; }
[ -x /usr/libexec/ibus-engine-m17n ] || { echo "SKIP: ibus-m17n is missing"; exit 77; }
for file in fcitx5/m17n.so qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so; do
    ls /usr/lib/*/"$file" >/dev/null 2>&1 || { echo "SKIP: no $file (fcitx5-m17n, fcitx5-frontend-qt6)"; exit 77; }
done
# IBus and Fcitx keep their addresses, caches and settings under the home: one of its own,
# removed after.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
    dbus-run-session -- "$python" "$(dirname "$0")/check_x11_input.py" "$1" "$launcher"
