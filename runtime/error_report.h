#pragma once

#include "cipher/run_time_error.h"

namespace korvane::runtime {

// The report of a run-time error that no handler caught: a modal box titled with the application
// title that names the error's number and message. The program goes on afterwards.
void ReportUnhandledError(const RunTimeError& error) noexcept;

}  // namespace korvane::runtime
