// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

#include "runtime/run_time_error.h"

namespace korvane {

// Signed 16-bit arithmetic that raises Overflow instead of wrapping: each operation is done in
// 32 bits, where it cannot overflow, and the result is range-checked.

inline qint16 narrowToInt16(qint32 value) {
    if (value < -32768 || value > 32767)
        throw runtime::OverflowError();
    return static_cast<qint16>(value);
}

inline qint16 checkedAdd16(qint16 a, qint16 b) {
    return narrowToInt16(qint32(a) + qint32(b));
}

inline qint16 checkedSub16(qint16 a, qint16 b) {
    return narrowToInt16(qint32(a) - qint32(b));
}

inline qint16 checkedMul16(qint16 a, qint16 b) {
    return narrowToInt16(qint32(a) * qint32(b));
}

}  // namespace korvane
