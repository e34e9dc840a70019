#!/bin/sh

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Checks the naming rule of .clang-tidy (functions and methods in camelCase, but for the form's
# own names) with clang-tidy's naming check over every source file the build compiles and the
# headers they include, or skips (77) where clang-tidy is not installed.
# Usage: check_naming.sh SOURCE_DIR BUILD_DIR
source_dir=$1
build_dir=$2
command -v clang-tidy >/dev/null 2>&1 || { echo "SKIP: clang-tidy is missing"; exit 77; }
[ -f "$build_dir/compile_commands.json" ] || { echo "FAIL: $build_dir has no compile_commands.json"; exit 1; }
# The project's own sources, without Qt's generated files and the layering probes, which are
# meant not to compile against the library they are checked with.
files=$(/usr/bin/python3 - "$source_dir" "$build_dir/compile_commands.json" <<'PY'
import json, os, sys
source = os.path.realpath(sys.argv[1]) + os.sep
for entry in json.load(open(sys.argv[2])):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    if path.startswith(source) and os.sep + "layering" + os.sep not in path:
        print(path)
PY
)
[ -n "$files" ] || { echo "FAIL: no source files in $build_dir/compile_commands.json"; exit 1; }
# The libraries' headers are reached through links in the build tree, where no .clang-tidy is
# found by looking upwards: the configuration is given for every file.
report=$(echo "$files" | sort -u | xargs -n 8 -P "$(nproc)" clang-tidy --quiet \
    --config-file="$source_dir/.clang-tidy" -p "$build_dir" \
    --header-filter="^($source_dir|$build_dir/include)/" 2>&1)
status=$?
if echo "$report" | grep -q 'warning:\|error:' || [ "$status" -ne 0 ]; then
    echo "$report" | grep -A3 'warning:\|error:' | head -60
    echo "FAIL: names against the rule of .clang-tidy (clang-tidy exited with $status)"
    exit 1
fi
echo "PASS: $(echo "$files" | sort -u | wc -l) files and the headers they include follow the naming rule"
