#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Builds the Debian package with CPack and runs lintian over it at its most exacting: any error,
# warning, info or pedantic tag fails. Exits 77 (skipped) when lintian or a packaging tool is
# absent.
# Usage: check_lintian.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?build directory}
version=${2:?version}
source "$(dirname "$0")/build_deb.sh"
need_tools lintian

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
build_deb "$build" "$version" "$scratch"

# lintian exits 0 even when it prints tags below its fail level, so its report is what counts.
lintian --info --pedantic --display-experimental --fail-on none "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log"; fail "lintian could not check $(basename "$deb")"; }
if grep -E '^[EWIPXO]: ' "$scratch/lintian.log"; then
    fail "lintian tags $(basename "$deb")"
fi
echo "lintian --pedantic: no tag on $(basename "$deb")"
