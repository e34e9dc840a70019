#!/usr/bin/env bash
# Installs the build into a scratch root as `cmake --install` does and checks what the desktop
# sees there: the program, a desktop entry and AppStream metainfo that pass their validators and
# name each other by one reverse-DNS id, and that id's icon in the hicolor theme, showing the
# window's own pictures.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=${1:?build directory}
source_dir=${2:?source directory}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli identify compare xmllint; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/test installs it)"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
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
comment=$(entry Comment)
for part in "plain or an enciphered text" "positive rotation" "scroll bar" \
    "multiplication factor" "as you type"; do
    [[ $comment == *"$part"* ]] || fail "the comment lacks the usage note's '$part'"
done
[[ -x $root/usr/bin/$(entry Exec) ]] || fail "Exec=$(entry Exec) is not an installed program"

xpath() { xmllint --xpath "string($1)" "$metainfo"; }
[[ $(xpath /component/id) == "$id" ]] || fail "metainfo id $(xpath /component/id) is not $id"
[[ $(xpath "/component/launchable[@type='desktop-id']") == "$id.desktop" ]] ||
    fail "metainfo does not launch $id.desktop"
[[ $(xpath /component/name) == Korvane ]] || fail "metainfo name is $(xpath /component/name)"
screenshot=$(xpath "/component/screenshots/screenshot/image")
[[ $screenshot == https://*/docs/screenshot.png ]] || fail "screenshot address: $screenshot"
# The address points at the README's screenshot, which must be in the tree to be published.
[[ -f $source_dir/docs/screenshot.png ]] || fail "docs/screenshot.png is missing"
[[ $(xpath "/component/provides/binary") == "$(entry Exec)" ]] ||
    fail "metainfo provides another binary than the entry starts"

icon=$(entry Icon)
[[ $icon == "$id" ]] || fail "Icon=$icon is not named after the id"
for size in 16 32; do
    png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
    [[ -f $png ]] || fail "no ${size}x${size} icon"
    [[ $(identify -format '%wx%h' "$png") == "${size}x${size}" ]] || fail "$png is not $size px"
    # Every pixel, transparency included, as the window's picture of that size has it.
    differing=$(compare -metric AE "$png" "$source_dir/window/icon/icon-$size.xpm" null: 2>&1) ||
        true
    [[ $differing == 0 ]] || fail "the ${size}x${size} icon differs from the window's in $differing pixels"
done
svg=$share/icons/hicolor/scalable/apps/$icon.svg
[[ -f $svg ]] || fail "no scalable icon"
[[ $(xmllint --xpath 'local-name(/*)' "$svg") == svg ]] || fail "the scalable icon is not SVG"
echo "installed tree of $id checked"
