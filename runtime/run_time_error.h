// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::runtime {

// A run-time error: a number and a message, thrown as a value and caught where Qt calls a
// handler. The errors below are the ones the program raises or meets.
struct RunTimeError {
    int number = 0;
    QString message;
    // What raised it, in the program's words, where the program knew it when it raised the
    // error; the report shows it below the message in place of the number's usual explanation.
    QString explanation = {};

    friend bool operator==(const RunTimeError&, const RunTimeError&) = default;
};

// Error 6: checked 16-bit or 32-bit arithmetic, or a conversion, left its type's range.
RunTimeError OverflowError();

// Error 380: a control was given a value it cannot take (a negative width, a scroll-bar value
// outside its range).
RunTimeError invalidPropertyValueError();

// Errors that do not come from the program's own rules but must still never cross a Qt frame.
RunTimeError outOfMemoryError();
RunTimeError internalError();

}  // namespace korvane::runtime
