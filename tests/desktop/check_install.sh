#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Installs the build into a scratch root as `cmake --install` does and checks what the desktop
# sees there: the program, a desktop entry and AppStream metainfo that pass their validators and
# name each other by one reverse-DNS id, and that id's icon in the hicolor theme, showing the
# window's own pictures. The home page, bug tracker and screenshot addresses appear in the
# metainfo exactly when the build sets them, and the validators pass both with and without them.
# Exits 77 (skipped) when one of the tools it needs is absent.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=${1:?build directory}
source_dir=${2:?source directory}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli identify compare xmllint; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

root=$(mktemp -d)
scratch=$(mktemp -d)
trap 'rm -rf "$root" "$scratch"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share

shopt -s nullglob
desktops=("$share"/applications/*.desktop)
((${#desktops[@]} == 1)) || fail "expected one desktop entry, found ${#desktops[@]}"
desktop=${desktops[0]}
id=$(basename "$desktop" .desktop)
[[ $id =~ ^[a-z0-9-]+(\.[A-Za-z0-9_-]+)+\.[A-Za-z0-9_-]+$ ]] || fail "not a reverse-DNS id: $id"
metainfo=$share/metainfo/$id.metainfo.xml
[[ -f $metainfo ]] || fail "no metainfo named after $id"

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"

entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Name) == Korvane ]] || fail "Name is '$(entry Name)'"
# A menu shows the comment as a tooltip: one short line, the program's own summary.
comment=$(entry Comment)
summary=$("$root/usr/bin/$(entry Exec)" --help | sed -n 2p)
[[ $comment == "${summary%.}" ]] || fail "the comment '$comment' is not the summary '$summary'"
((${#comment} <= 80)) || fail "the comment is ${#comment} characters long, not one short line"
[[ -x $root/usr/bin/$(entry Exec) ]] || fail "Exec=$(entry Exec) is not an installed program"

xpath() { xmllint --xpath "string($1)" "$metainfo"; }
[[ $(xpath /component/id) == "$id" ]] || fail "metainfo id $(xpath /component/id) is not $id"
[[ $(xpath "/component/launchable[@type='desktop-id']") == "$id.desktop" ]] ||
    fail "metainfo does not launch $id.desktop"
[[ $(xpath /component/name) == Korvane ]] || fail "metainfo name is $(xpath /component/name)"
[[ $(xpath /component/project_license) == MIT ]] || fail "metainfo names no MIT project licence"
# Each address is the one the build was given, and absent when it was given none.
cached() { sed -n "s/^$1:STRING=//p" "$build/CMakeCache.txt"; }
check_addresses() {
    local file=$1 homepage=$2 bugtracker=$3 screenshot=$4 name
    read_address() { xmllint --xpath "string($1)" "$file"; }
    [[ $(read_address "/component/url[@type='homepage']") == "$homepage" ]] ||
        fail "$file: home page is '$(read_address "/component/url[@type='homepage']")', not '$homepage'"
    [[ $(read_address "/component/url[@type='bugtracker']") == "$bugtracker" ]] ||
        fail "$file: bug tracker is not '$bugtracker'"
    [[ $(read_address "/component/screenshots/screenshot/image") == "$screenshot" ]] ||
        fail "$file: screenshot is not '$screenshot'"
    # Nothing is left behind empty either.
    [[ $(xmllint --xpath "count(/component/url)" "$file") == $(((${#homepage} > 0) + (${#bugtracker} > 0))) ]] ||
        fail "$file has other <url> elements than the addresses set"
    [[ $(xmllint --xpath "count(/component/screenshots)" "$file") == $((${#screenshot} > 0)) ]] ||
        fail "$file has a <screenshots> element without an address"
}
check_addresses "$metainfo" "$(cached KORVANE_HOMEPAGE)" "$(cached KORVANE_BUGTRACKER_URL)" \
    "$(cached KORVANE_SCREENSHOT_URL)"

# The same sources configured with all three addresses set still pass both validators.
homepage=https://example.org/korvane
cmake -S "$source_dir" -B "$scratch/build" -G "$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build/CMakeCache.txt")" \
    -DBUILD_TESTING=OFF -DKORVANE_HOMEPAGE="$homepage" -DKORVANE_BUGTRACKER_URL="$homepage/issues" \
    -DKORVANE_SCREENSHOT_URL="$homepage/screenshot.png" >"$scratch/configure.log" 2>&1 ||
    { cat "$scratch/configure.log"; fail "configuring with addresses failed"; }
desktop-file-validate "$scratch/build/packaging/$id.desktop" || fail "the entry with addresses is rejected"
appstreamcli validate --no-net "$scratch/build/packaging/$id.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo with addresses"
check_addresses "$scratch/build/packaging/$id.metainfo.xml" "$homepage" "$homepage/issues" \
    "$homepage/screenshot.png"
grep -q "^Source: $homepage\$" "$scratch/build/packaging/copyright" || fail "copyright lacks the home page"
[[ $(xpath "/component/provides/binary") == "$(entry Exec)" ]] ||
    fail "metainfo provides another binary than the entry starts"

icon=$(entry Icon)
[[ $icon == "$id" ]] || fail "Icon=$icon is not named after the id"
# The hand-made bitmaps, and the larger sizes the build draws from the scalable icon for docks
# and task switchers.
for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
    [[ -f $png ]] || fail "no ${size}x${size} icon"
    [[ $(identify -format '%wx%h' "$png") == "${size}x${size}" ]] || fail "$png is not $size px"
    # Every pixel, transparency included, as the window's picture of that size has it (the large
    # ones as the build drew them for the window's icon).
    picture=$source_dir/window/icon/icon-$size.xpm
    ((size <= 32)) || picture=$build/window/icon/icon-$size.png
    differing=$(compare -metric AE "$png" "$picture" null: 2>&1) || true
    [[ $differing == 0 ]] || fail "the ${size}x${size} icon differs from the window's in $differing pixels"
done
svg=$share/icons/hicolor/scalable/apps/$icon.svg
[[ -f $svg ]] || fail "no scalable icon"
[[ $(xmllint --xpath 'local-name(/*)' "$svg") == svg ]] || fail "the scalable icon is not SVG"
echo "installed tree of $id checked"
