// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <optional>

namespace korvane::cipher {

// Signed 16-bit arithmetic that gives no value instead of wrapping: each operation is done in
// 32 bits, where it cannot overflow, and the result is range-checked.

inline std::optional<qint16> narrowToInt16(qint32 value) {
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

inline std::optional<qint16> checkedAdd16(qint16 a, qint16 b) {
    return narrowToInt16(qint32(a) + qint32(b));
}

inline std::optional<qint16> checkedSub16(qint16 a, qint16 b) {
    return narrowToInt16(qint32(a) - qint32(b));
}

}  // namespace korvane::cipher
