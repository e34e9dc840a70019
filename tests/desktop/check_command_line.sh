#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Korvane contributors
# SPDX-License-Identifier: MIT
#
# Runs the built program as a person does from a terminal: --version and --help answer on
# standard output and exit 0 without any display, and with no display at all the program says so
# in one line on standard error and exits 1, as its manual page promises, instead of dumping core.
# Usage: check_command_line.sh PROGRAM VERSION
set -uo pipefail
program=${1:?program}
version=${2:?version}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# run NAME EXPECTED_STATUS STDOUT_PATTERN STDERR_PATTERN ENV... -- ARGS...: runs the program with
# no display and the given environment, and checks its exit status and both outputs, each
# matched whole as an extended regular expression.
run() {
    local name=$1 status=$2 out=$3 err=$4
    shift 4
    local environment=()
    while [[ $1 != -- ]]; do environment+=("$1"); shift; done
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "${environment[@]}" \
        timeout 20 "$program" "$@" >"$scratch/out" 2>"$scratch/err" </dev/null
    local got=$?
    local problem=
    ((got == status)) || problem="exit status $got, expected $status"
    local stdout_text stderr_text
    stdout_text=$(cat "$scratch/out"; echo .)
    stderr_text=$(cat "$scratch/err"; echo .)
    [[ -z $problem ]] && ! [[ ${stdout_text%.} =~ ^($out)$ ]] && problem="standard output differs"
    [[ -z $problem ]] && ! [[ ${stderr_text%.} =~ ^($err)$ ]] && problem="standard error differs"
    if [[ -n $problem ]]; then
        echo "FAIL: $name: $problem"
        echo "--- standard output:"; cat "$scratch/out"
        echo "--- standard error:"; cat "$scratch/err"
        failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
}

escaped_version=${version//./\\.}
run "--version" 0 "Korvane $escaped_version"$'\n' "" -- --version
run "--version after a Qt option" 0 "Korvane $escaped_version"$'\n' "" -- -platform xcb --version
run "--help" 0 "Usage: korvane \[--help \| --version\][^"$'\n'"]*"$'\n'"[^"$'\n'"]+\."$'\n'".*--help.*--version.*" "" -- --help
run "-h" 0 "Usage: korvane .*" "" -- -h
run "no display at all" 1 "" "korvane: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set"$'\n' --
run "an X display nobody answers" 1 "" "korvane: cannot open a display: no X server answered at DISPLAY=:4711"$'\n' DISPLAY=:4711 --
run "a window system Qt cannot start" 1 "" "korvane: cannot open a display: [^"$'\n'"]*QT_QPA_PLATFORM[^"$'\n'"]*"$'\n' QT_QPA_PLATFORM=xcb --
# With a display the window opens: the offscreen platform stands in for one, and the program
# stays up until it is ended (timeout's status 124), answering no option it was not given.
QT_QPA_PLATFORM=offscreen timeout 3 "$program" >"$scratch/out" 2>/dev/null </dev/null
status=$?
if ((status == 124)) && [[ ! -s $scratch/out ]]; then
    echo "ok: no option opens the window"
else
    echo "FAIL: without options the program exited with status $status before it was ended"
    failures=$((failures + 1))
fi
((failures == 0)) || exit 1
