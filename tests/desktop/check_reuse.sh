#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Checks with the REUSE tool that every file of the source tree states its copyright and licence
# and that every licence named has its text under LICENSES/. In a git checkout reuse leaves out
# what git ignores; a tree without git (a release tarball) is linted as a copy without its build
# trees, the folders that hold a CMakeCache.txt, which reuse would otherwise read as sources.
# Exits 77 (skipped) when reuse is absent.
# Usage: check_reuse.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "${1:?source directory}" && pwd)
command -v reuse >/dev/null || { echo "SKIP: reuse is not installed"; exit 77; }

if [[ $(git -C "$source_dir" rev-parse --show-toplevel 2>/dev/null) == "$source_dir" ]]; then
    exec reuse --root "$source_dir" lint
fi
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
excluded=()
while IFS= read -r cache; do
    excluded+=("--exclude=${cache%/CMakeCache.txt}")
done < <(cd "$source_dir" && find . -name CMakeCache.txt)
tar -C "$source_dir" "${excluded[@]}" -cf - . | tar -C "$copy" -xf -
echo "no git here: linting a copy without the build trees ${excluded[*]#--exclude=}"
reuse --root "$copy" lint
