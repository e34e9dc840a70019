// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/run_time_error.h"

namespace korvane::runtime {

RunTimeError OverflowError() {
    return {6, QStringLiteral("Overflow")};
}

RunTimeError invalidPropertyValueError() {
    return {380, QStringLiteral("Invalid property value")};
}

RunTimeError outOfMemoryError() {
    return {7, QStringLiteral("Out of memory")};
}

RunTimeError internalError() {
    return {51, QStringLiteral("Internal error")};
}

}  // namespace korvane::runtime
