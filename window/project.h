// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/program.h"
#include "runtime/run_time_error.h"

namespace korvane::window {

// The application title, version, desktop entry id and one-line summary, as the build defines
// them, and what raises a run-time error in this window where the place that raises it cannot
// say. Each Overflow names its own cause where it is raised (window/overflow.h): only the window
// knows which boxes and sums feed the engine, the runtime reports errors of any program, and the
// engine's checked arithmetic does not know where its operands came from.
inline runtime::ProjectDescription korvaneProject() {
    return {
        .title = QStringLiteral(KORVANE_TITLE),
        .version = QStringLiteral(KORVANE_VERSION),
        .desktopFileName = QStringLiteral(KORVANE_APP_ID),
        .summary = QStringLiteral(KORVANE_SUMMARY),
        .errorExplanations = {{runtime::outOfMemoryError().number,
                               QStringLiteral("The output for the new key does not fit in "
                                              "memory; the output box keeps its text.")}},
    };
}

}  // namespace korvane::window
