#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Compiles the Windows resource script the build generates with the MinGW resource compiler and
# reads the compiled resource back: the version record and the icon a Windows build carries.
# Exits 77 (skipped) when the resource compiler or ImageMagick is absent.
# Usage: check_windows_resource.sh RC_FILE VERSION EXECUTABLE SOURCE_DIR
set -euo pipefail
rc=${1:?resource script}
version=${2:?version}
executable=${3:?the executable as built}
source_dir=${4:?source directory}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
windres=x86_64-w64-mingw32-windres
for tool in "$windres" cpp compare identify; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$windres" --preprocessor=cpp -i "$rc" -O res -o "$scratch/korvane.res" ||
    fail "the resource script does not compile"
"$windres" -J res -i "$scratch/korvane.res" -O rc -o "$scratch/back.rc"

value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"$/\1/p" "$scratch/back.rc"; }
name=$(basename "$executable")
[[ $(value FileVersion) == "$version" ]] || fail "FileVersion is '$(value FileVersion)'"
[[ $(value ProductVersion) == "$version" ]] || fail "ProductVersion is '$(value ProductVersion)'"
[[ $(value ProductName) == Korvane ]] || fail "ProductName is '$(value ProductName)'"
[[ $(value FileDescription) == Korvane ]] || fail "FileDescription is '$(value FileDescription)'"
[[ $(value OriginalFilename) == "$name" ]] || fail "OriginalFilename is not $name"
[[ $(value InternalName) == "${name%.exe}" ]] || fail "InternalName is not ${name%.exe}"
for part in "plain or an enciphered text" "positive rotation" "scroll bar" \
    "multiplication factor" "as you type" "slow on older machines"; do
    [[ $(value Comments) == *"$part"* ]] || fail "Comments lack '$part'"
done
# U.S. English, Unicode: the string block and the translation table agree.
grep -q 'BLOCK "040904B0"' "$scratch/back.rc" || fail "no U.S. English Unicode string block"
grep -q 'VALUE "Translation", 0x409, 1200' "$scratch/back.rc" || fail "no translation 0x409, 1200"
grep -q "FILEVERSION ${version%%.*}, " "$scratch/back.rc" || fail "binary file version"
grep -q 'RT_GROUP_ICON' "$scratch/back.rc" || fail "no icon in the resource"

# The .ico holds the window's two pictures, pixel for pixel.
ico=$(sed -n 's/^1 ICON "\(.*\)"$/\1/p' "$rc")
[[ $(identify -format '%wx%h ' "$ico") == "16x16 32x32 " ]] || fail "$ico is not 16 and 32 px"
for frame in 0 1; do
    size=$((16 << frame))
    differing=$(compare -metric AE "$ico[$frame]" "$source_dir/window/icon/icon-$size.xpm" null: 2>&1) ||
        true
    [[ $differing == 0 ]] || fail "the ${size}px picture of the .ico differs in $differing pixels"
done
echo "version record $version and icon compile"
