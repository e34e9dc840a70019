#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Checks that building the program alone, as scripts/run does (`--target korvane`), makes every
# file that `cmake --install` and `cpack` take from the build tree: a file the build makes (the
# compressed manual page and changelog, rendered icons) must be among what the program's target
# needs, or installing after scripts/run fails. Files that configuring writes are always there.
# Reads Ninja's build graph, so it exits 77 (skipped) for another generator.
# Usage: check_run_installs.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[[ -f $build/build.ninja ]] || { echo "SKIP: $build was not configured for Ninja"; exit 77; }
command -v ninja >/dev/null || { echo "SKIP: ninja is not installed"; exit 77; }

# Every file the install rules copy, as the generated install scripts name them.
mapfile -t installed < <(find "$build" -name cmake_install.cmake -exec awk '
        /file\(INSTALL/ { copying = 1 }
        copying { print }
        copying && /\)[[:space:]]*$/ { copying = 0 }' {} + |
    grep -o '"[^"]*"' | tr -d '"' | grep "^$build/" | sort -u)
((${#installed[@]} > 0)) || fail "no installed file of the build tree found in $build"

# Every command building the program runs; a built file is made by the last of its own.
needed=$(ninja -C "$build" -t commands korvane)
checked=0
for file in "${installed[@]}"; do
    relative=${file#"$build"/}
    [[ $relative == korvane ]] && continue
    # A file no build rule makes was written by configuring.
    own=$(ninja -C "$build" -t commands "$relative" 2>/dev/null | tail -n 1) || continue
    [[ -n $own ]] || continue
    grep -qxF -- "$own" <<<"$needed" ||
        fail "$relative is installed but building the korvane target does not make it"
    checked=$((checked + 1))
done
((checked > 0)) || fail "no built file is installed: the check looked at nothing"
echo "building korvane makes all $checked built files the install takes"
