#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Builds the Debian package with CPack and runs lintian over it at its most exacting: any error,
# warning, info or pedantic tag fails. Exits 77 (skipped) when lintian or a packaging tool is
# absent, or when the build is not an optimised, hardened one.
# Usage: check_lintian.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?build directory}
version=${2:?version}
source "$(dirname "$0")/build_deb.sh"
need_tools lintian

# lintian judges a release package: an optimised, hardened build. The sanitizer build is neither.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
if [[ $(cached KORVANE_HARDENING) != ON || ! $(cached CMAKE_BUILD_TYPE) =~ ^(Release|RelWithDebInfo|MinSizeRel)$ ]]; then
    echo "SKIP: not a release build (KORVANE_HARDENING=$(cached KORVANE_HARDENING)," \
        "CMAKE_BUILD_TYPE=$(cached CMAKE_BUILD_TYPE))"
    exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
build_deb "$build" "$version" "$scratch"

# Exit status 2 is a tag at one of the levels named; any other failure is lintian's own.
status=0
lintian --display-info --pedantic --display-experimental \
    --fail-on error,warning,info,pedantic,experimental "$deb" >"$scratch/lintian.log" 2>&1 ||
    status=$?
if ((status == 2)) || grep -qE '^[EWIPX]: ' "$scratch/lintian.log"; then
    grep -E '^[EWIPX]: ' "$scratch/lintian.log" || true
    fail "lintian tags $(basename "$deb")"
fi
((status == 0)) || { cat "$scratch/lintian.log"; fail "lintian could not check $(basename "$deb")"; }
echo "lintian --pedantic: no tag on $(basename "$deb")"
