// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

#include "runtime/run_time_error.h"

namespace korvane {

// Signed 16-bit arithmetic that raises Overflow instead of wrapping: each operation is done in
// 32 bits, where it cannot overflow, and the result is range-checked.

inline qint16 NarrowToInt16(qint32 value) {
    if (value < -32768 || value > 32767)
        throw runtime::OverflowError();
    return static_cast<qint16>(value);
}

inline qint16 CheckedAdd16(qint16 a, qint16 b) {
    return NarrowToInt16(qint32(a) + qint32(b));
}

inline qint16 CheckedSub16(qint16 a, qint16 b) {
    return NarrowToInt16(qint32(a) - qint32(b));
}

inline qint16 CheckedMul16(qint16 a, qint16 b) {
    return NarrowToInt16(qint32(a) * qint32(b));
}

}  // namespace korvane
