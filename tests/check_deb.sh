#!/usr/bin/env bash
# Builds the Debian package with CPack, unpacks it into a scratch root with dpkg -x and starts
# the installed program headless: it must come up and stay up until it is ended.
# Usage: check_deb.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?build directory}
version=${2:?version}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/test installs it)"
done

scratch=$(mktemp -d)
program=
cleanup() {
    if [[ -n $program ]]; then kill "$program" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
shopt -s nullglob
debs=("$scratch/out/korvane_${version}_"*.deb)
((${#debs[@]} == 1)) || fail "no korvane_${version}_*.deb: $(ls "$scratch/out")"
deb=${debs[0]}

[[ $(dpkg-deb -f "$deb" Package) == korvane ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
# Found by dpkg-shlibdeps from what the program links, with the versions it needs.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ $depends == *"$library ("* ]] || fail "Depends lacks $library: $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
for file in usr/bin/korvane usr/share/applications usr/share/metainfo \
    usr/share/icons/hicolor/16x16/apps usr/share/icons/hicolor/32x32/apps \
    usr/share/icons/hicolor/scalable/apps; do
    [[ -e $root/$file ]] || fail "the package lacks /$file"
done

QT_QPA_PLATFORM=offscreen "$root/usr/bin/korvane" >"$scratch/run.log" 2>&1 &
program=$!
sleep 3
if ! kill -0 "$program" 2>/dev/null; then
    wait "$program" && status=0 || status=$?
    program=
    cat "$scratch/run.log"
    fail "the installed program ended by itself (status $status)"
fi
kill "$program"
wait "$program" 2>/dev/null || true
program=
echo "$(basename "$deb") installs and starts; Depends: $depends"
