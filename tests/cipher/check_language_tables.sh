#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Checks that cipher/language_tables.cpp is what scripts/language-tables counts from the files
# under data/ now, or skips (77) where python3 is not installed.
# Usage: check_language_tables.sh SOURCE_DIR
source_dir=$1
command -v python3 >/dev/null 2>&1 || { echo "SKIP: python3 is missing"; exit 77; }
counted=$(mktemp) || exit 1
trap 'rm -f "$counted"' EXIT
python3 "$source_dir/scripts/language-tables" >"$counted" || { echo "FAIL: the script failed"; exit 1; }
if ! cmp -s "$counted" "$source_dir/cipher/language_tables.cpp"; then
    diff "$source_dir/cipher/language_tables.cpp" "$counted" | head -20
    echo "FAIL: cipher/language_tables.cpp is not what scripts/language-tables counts"
    echo "      (scripts/language-tables > cipher/language_tables.cpp mends it)"
    exit 1
fi
echo "PASS: cipher/language_tables.cpp is what scripts/language-tables counts"
