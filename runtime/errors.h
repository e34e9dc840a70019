#pragma once

#include <QString>

#include "cipher/run_time_error.h"

namespace korvane::runtime {

// Error 380: a control was given a value it cannot take (a negative width, a scroll-bar value
// outside its range).
RunTimeError InvalidPropertyValueError();

// Errors that do not come from the program's own rules but must still never cross a Qt frame.
RunTimeError OutOfMemoryError();
RunTimeError InternalError();

// How the report of an unhandled error words it: "Run-time error '6':", a blank line, "Overflow".
QString UnhandledErrorText(const RunTimeError& error);

}  // namespace korvane::runtime
