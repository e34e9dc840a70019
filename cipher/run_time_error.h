#pragma once

#include <QString>

namespace korvane {

// A run-time error: a number and a message, thrown as a value and caught where Qt calls our code.
struct RunTimeError {
    int number = 0;
    QString message;

    friend bool operator==(const RunTimeError&, const RunTimeError&) = default;
};

// Error 6: checked 16-bit or 32-bit arithmetic, or a conversion, left its type's range.
RunTimeError OverflowError();

}  // namespace korvane
