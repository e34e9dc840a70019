// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/program.h"
#include "runtime/run_time_error.h"

namespace korvane::window {

// The application title, version, desktop entry id and one-line summary, as the build defines
// them, and what raises a run-time error in this window. The explanation of Overflow lives here
// because only the window knows which sums its boxes feed into the engine: the runtime reports
// errors of any program, and the engine's checked arithmetic does not know where its operands
// came from or what the window does with its output afterwards.
inline runtime::ProjectDescription korvaneProject() {
    return {
        .title = QStringLiteral(KORVANE_TITLE),
        .version = QStringLiteral(KORVANE_VERSION),
        .desktopFileName = QStringLiteral(KORVANE_APP_ID),
        .summary = QStringLiteral(KORVANE_SUMMARY),
        .errorExplanations = {{runtime::OverflowError().number,
                               QStringLiteral("A letter's code times the multiplier, plus the "
                                              "rotation, left the range of 16-bit arithmetic "
                                              "(-32768 to 32767), or a box holds a number "
                                              "outside it; the output box keeps its text.")},
                              {runtime::outOfMemoryError().number,
                               QStringLiteral("The output for the new key does not fit in "
                                              "memory; the output box keeps its text.")}},
    };
}

}  // namespace korvane::window
