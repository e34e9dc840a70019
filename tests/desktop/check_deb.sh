#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Builds the Debian package with CPack, checks its fields and files, unpacks it into a scratch
# root with dpkg -x and starts the installed program headless: it must come up and stay up until
# it is ended. Exits 77 (skipped) when a Debian packaging tool is absent.
# Usage: check_deb.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?build directory}
version=${2:?version}
source "$(dirname "$0")/build_deb.sh"
need_tools cpack dpkg-deb dpkg-shlibdeps file readelf

scratch=$(mktemp -d)
program=
cleanup() {
    if [[ -n $program ]]; then kill "$program" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

build_deb "$build" "$version" "$scratch"

[[ $(dpkg-deb -f "$deb" Package) == korvane ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
# Found by dpkg-shlibdeps from what the program links, with the versions it needs.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ $depends == *"$library ("* ]] || fail "Depends lacks $library: $depends"
done

[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland is not recommended"
# The addresses are the builder's, and the package names none it was not given.
cached() { sed -n "s/^$1:STRING=//p" "$build/CMakeCache.txt"; }
[[ $(dpkg-deb -f "$deb" Homepage) == "$(cached KORVANE_HOMEPAGE)" ]] ||
    fail "Homepage is '$(dpkg-deb -f "$deb" Homepage)', the build set '$(cached KORVANE_HOMEPAGE)'"
[[ $(dpkg-deb -f "$deb" Maintainer) == "$(cached KORVANE_MAINTAINER)" ]] ||
    fail "Maintainer is not the build's KORVANE_MAINTAINER"

root=$scratch/root
dpkg -x "$deb" "$root"
for file in usr/bin/korvane usr/share/applications usr/share/metainfo \
    usr/share/icons/hicolor/16x16/apps usr/share/icons/hicolor/32x32/apps \
    usr/share/icons/hicolor/256x256/apps \
    usr/share/icons/hicolor/scalable/apps usr/share/man/man1/korvane.1.gz \
    usr/share/doc/korvane/changelog.gz usr/share/doc/korvane/copyright; do
    [[ -e $root/$file ]] || fail "the package lacks /$file"
done
grep -qx 'License: Expat' "$root/usr/share/doc/korvane/copyright" || fail "copyright names no licence"
# A system package finds its libraries where the system keeps them.
if readelf -d "$root/usr/bin/korvane" | grep -E 'RUNPATH|RPATH'; then
    fail "the installed program carries a library search path"
fi

QT_QPA_PLATFORM=offscreen "$root/usr/bin/korvane" >"$scratch/run.log" 2>&1 &
program=$!
sleep 3
if ! kill -0 "$program" 2>/dev/null; then
    wait "$program" && status=0 || status=$?
    program=
    cat "$scratch/run.log"
    fail "the installed program ended by itself (status $status)"
fi
kill "$program"
wait "$program" 2>/dev/null || true
program=
echo "$(basename "$deb") installs and starts; Depends: $depends"
