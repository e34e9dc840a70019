// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "window_run.h"

namespace korvane::bench {

// Runs the scenario in this process (a QApplication must exist) and writes its figures to
// standard output, one "name value" line each: times in ms, the peak resident size in KiB.
// Returns the exit status: 0, or 2 when the output box did not show the transform of the input.
int runWindowScenario(const WindowRun& run);

}  // namespace korvane::bench
