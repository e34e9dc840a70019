#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Checks that every C++ source and header of the project is laid out as .clang-format says, or
# skips (77) where clang-format is not installed.
# Usage: check_format.sh SOURCE_DIR
source_dir=$1
command -v clang-format >/dev/null 2>&1 || { echo "SKIP: clang-format is missing"; exit 77; }
cd "$source_dir" || exit 1
# The files git tracks, or in an unpacked tree without git every source outside the build trees.
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null) ||
    files=$(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
[ -n "$files" ] || { echo "FAIL: no sources found in $source_dir"; exit 1; }
report=$(echo "$files" | xargs clang-format --dry-run --Werror 2>&1) || {
    echo "$report" | grep 'error:' | sed 's/:[0-9]*:[0-9]*: error:.*//' | sort -u | head -40
    echo "FAIL: the files above are not laid out as .clang-format says (clang-format -i mends them)"
    exit 1
}
echo "PASS: $(echo "$files" | wc -l) sources laid out as .clang-format says"
