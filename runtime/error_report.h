// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "runtime/run_time_error.h"

namespace korvane::runtime {

// How the report of an unhandled error words it: "Run-time error '6':", a blank line, "Overflow".
QString UnhandledErrorText(const RunTimeError& error);

// The report of a run-time error that no handler caught: a modal box titled with the application
// title that names the error's number and message. The program goes on afterwards.
void ReportUnhandledError(const RunTimeError& error) noexcept;

}  // namespace korvane::runtime
