#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Checks with the REUSE tool that every file of the source tree states its copyright and licence
# and that every licence named has its text under LICENSES/. Exits 77 (skipped) when reuse is
# absent.
# Usage: check_reuse.sh SOURCE_DIR
set -euo pipefail
source_dir=${1:?source directory}
command -v reuse >/dev/null || { echo "SKIP: reuse is not installed"; exit 77; }
reuse --root "$source_dir" lint
