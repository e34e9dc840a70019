# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Shared by the package checks: skips the check when a Debian packaging tool is absent and builds
# korvane_VERSION_<arch>.deb from BUILD_DIR with CPack into a scratch folder.
# shellcheck shell=bash

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Exits 77, which CTest reports as skipped, when one of the named tools is not installed.
need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}

# Builds the package into SCRATCH/out and sets deb to its path. dpkg-shlibdeps, which finds the
# dependencies, needs the file utility to tell the binaries apart.
build_deb() {
    local build=$1 version=$2 scratch=$3
    need_tools cpack dpkg-deb dpkg-shlibdeps file
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
        { cat "$scratch/cpack.log"; fail "cpack failed"; }
    local debs
    shopt -s nullglob
    debs=("$scratch/out/korvane_${version}_"*.deb)
    ((${#debs[@]} == 1)) || fail "no korvane_${version}_*.deb: $(ls "$scratch/out")"
    deb=${debs[0]}
}
