# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Shared by the scripts: installs missing Debian packages and configures the build in build/.
# shellcheck shell=bash

KORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORVANE_BUILD=${KORVANE_BUILD:-$KORVANE_ROOT/build}

# What building and running the program need on a fresh Debian machine, and all scripts/run
# installs: the compiler, CMake, Ninja, Qt's development packages (Qt SVG draws the larger icon
# pictures from the scalable icon) and a font for the window's text.
KORVANE_RUN_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev fonts-dejavu-core)
# In a Wayland session, Qt's Wayland platform plugin, with which the window runs natively there.
if [[ -n ${WAYLAND_DISPLAY:-} || ${XDG_SESSION_TYPE:-} == wayland ]]; then
    KORVANE_RUN_PACKAGES+=(qt6-wayland)
fi
# What the test suite needs on top, and the other scripts install as well.
KORVANE_PACKAGES=("${KORVANE_RUN_PACKAGES[@]}")
# The desktop-integration checks: the validators, the Debian packaging tools with the file utility
# dpkg-shlibdeps needs and lintian, the MinGW resource compiler, image comparison and XPath for
# the installed files, and reuse (with git, which tells it the build
# folders are not sources) for the licence of every file. Without them these checks are skipped,
# which scripts/test does not accept.
KORVANE_PACKAGES+=(desktop-file-utils appstream dpkg-dev file lintian binutils-mingw-w64-x86-64
    imagemagick libxml2-utils reuse git)
# The screen-reader check over the real AT-SPI bus: the accessibility bus and registry, the Python
# bindings that read it, an X server for Qt's xcb platform (its accessibility bridge needs one)
# and a D-Bus session of its own.
KORVANE_PACKAGES+=(at-spi2-core python3-pyatspi gir1.2-atspi-2.0 xvfb dbus)
# The Orca check: the screen reader itself, a window manager that gives the window focus back
# after a message box closes, and xdotool to type into the window.
KORVANE_PACKAGES+=(orca openbox xdotool)
# The input check through the X server: IBus and Fcitx 5 with their m17n engines, the m17n
# input methods, and Qt's module for Fcitx 5 (Qt's own IBus module comes with Qt).
KORVANE_PACKAGES+=(ibus ibus-m17n m17n-db fcitx5 fcitx5-m17n fcitx5-frontend-qt6)
# The out-of-memory check: xclip offers a large text as another program's clipboard and primary
# selection, GTK 3's Python bindings make the window it is dragged from, and prlimit (util-linux)
# limits the program's address space.
KORVANE_PACKAGES+=(xclip python3-gi gir1.2-gtk-3.0 util-linux)
# The naming and layout checks: clang-tidy's naming rule and clang-format over the sources.
KORVANE_PACKAGES+=(clang-tidy clang-format)
# UnicodeData.txt, which the tests check the upper-casing of every character against.
KORVANE_PACKAGES+=(unicode-data)
# What the sanitizer build and the fuzzers need on top: clang with its sanitizer and libFuzzer
# runtimes, and the symbolizer that names the lines in their reports.
KORVANE_CLANG_PACKAGES=(clang libclang-rt-14-dev llvm-14)

# Installs those of the named packages that are absent; does nothing when all are there.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    ((${#missing[@]} == 0)) && return 0
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures build/ (once) and builds the given targets, or everything. The project's own builds
# treat compiler warnings as errors.
build_korvane() {
    if [[ ! -f $KORVANE_BUILD/CMakeCache.txt ]]; then
        cmake -S "$KORVANE_ROOT" -B "$KORVANE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKORVANE_WERROR=ON
    fi
    if (($# > 0)); then
        cmake --build "$KORVANE_BUILD" --parallel "$(nproc)" --target "$@"
    else
        cmake --build "$KORVANE_BUILD" --parallel "$(nproc)"
    fi
}
