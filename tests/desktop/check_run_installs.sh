#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Checks what scripts/run needs to build the program alone (`--target korvane`) and start it.
# First, that building it makes every file that `cmake --install` and `cpack` take from the build
# tree: a file the build makes (the compressed manual page and changelog, rendered icons) must be
# among what the program's target needs, or installing after scripts/run fails. Files that
# configuring writes are always there. Then, that every program, header and library building it
# uses, and every library the built program loads, comes from a package scripts/run installs
# (KORVANE_RUN_PACKAGES of scripts/common.sh) or from one those depend on: else scripts/run fails
# on a fresh Debian machine where scripts/test would not. Reads Ninja's build graph and the Debian
# package database, so it exits 77 (skipped) for another generator or without dpkg; the second
# part also for a build with another compiler than the default one scripts/run uses.
# Usage: check_run_installs.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
source=$(cd "${2:?source directory}" && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[[ -f $build/build.ninja ]] || { echo "SKIP: $build was not configured for Ninja"; exit 77; }
for tool in ninja dpkg-query apt-cache ldd c++; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

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

# scripts/run builds with the system's default C++ compiler; a build with another compiler (such
# as the sanitizers' clang) tells nothing of what scripts/run needs.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
if [[ $(readlink -f "$compiler") != $(readlink -f "$(command -v c++)") ]]; then
    echo "SKIP: built with $compiler, not the default c++ that scripts/run builds with"
    exit 77
fi

# What scripts/run installs, everything those packages depend on, and the essential packages
# every Debian system has.
# shellcheck source=../../scripts/common.sh
source "$source/scripts/common.sh"
provided=$({
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances "${KORVANE_RUN_PACKAGES[@]}" |
        grep -oE '[a-z0-9][a-z0-9.+-]+(:[a-z0-9]+)?' | sed 's/:.*//'
    dpkg-query -W -f='${Essential} ${Package}\n' | awk '$1 == "yes" { print $2 }'
} | sort -u)

# The system files building the program reads: the tools its build commands run, the inputs of
# its targets (libraries, Qt's code generators) and the headers its objects included; and the
# libraries the program loads. Each by its real path.
mapfile -t objects < <(ninja -C "$build" -t inputs korvane | grep '\.o$')
mapfile -t used < <({
    grep -oE '/usr/bin/[^ ;]+' <<<"$needed"
    ninja -C "$build" -t inputs korvane
    ninja -C "$build" -t deps "${objects[@]}" | sed -n 's/^ \+//p'
    ldd "$build/korvane" | grep -oE '/[^ ]+'
} | grep -E '^/(usr|lib|lib64|bin|etc)/' | xargs -r readlink -f | sort -u)
((${#used[@]} > 0)) || fail "found no system file that building korvane uses"

# The package of each file. Debian records some files under /lib that merged /usr holds under
# /usr/lib: those are asked for again without /usr.
owners() {
    dpkg-query -S "$@" 2>/dev/null | sed -n 's/^\([^:,]*\)[^ ]* \(\/.*\)$/\2 \1/p'
}
declare -A owner=()
while read -r file package; do owner[$file]=$package; done < <(owners "${used[@]}")
unknown=()
for file in "${used[@]}"; do [[ -n ${owner[$file]:-} ]] || unknown+=("${file#/usr}"); done
if ((${#unknown[@]} > 0)); then
    while read -r file package; do owner[/usr$file]=$package; done < <(owners "${unknown[@]}")
fi
declare -A packages=()
for file in "${used[@]}"; do
    package=${owner[$file]:-}
    [[ -n $package ]] || { echo "SKIP: $file belongs to no Debian package"; exit 77; }
    packages[$package]+="${packages[$package]:+ }$file"
done
missing=0
for package in "${!packages[@]}"; do
    if ! grep -qxF "$package" <<<"$provided"; then
        echo "FAIL: building or running korvane uses ${packages[$package]%% *} of $package," \
            "which scripts/run does not install" >&2
        missing=$((missing + 1))
    fi
done
((missing == 0)) || fail "KORVANE_RUN_PACKAGES in scripts/common.sh lacks $missing packages"
echo "the ${#used[@]} system files building and running korvane use come from" \
    "${#packages[@]} packages, all installed with: ${KORVANE_RUN_PACKAGES[*]}"
