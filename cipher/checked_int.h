#pragma once

#include <QtGlobal>

#include "cipher/run_time_error.h"

namespace korvane {

// Signed 16-bit arithmetic that raises Overflow instead of wrapping.

inline qint16 CheckedAdd16(qint16 a, qint16 b) {
    qint16 sum;
    if (__builtin_add_overflow(a, b, &sum))
        throw OverflowError();
    return sum;
}

inline qint16 CheckedSub16(qint16 a, qint16 b) {
    qint16 difference;
    if (__builtin_sub_overflow(a, b, &difference))
        throw OverflowError();
    return difference;
}

inline qint16 CheckedMul16(qint16 a, qint16 b) {
    qint16 product;
    if (__builtin_mul_overflow(a, b, &product))
        throw OverflowError();
    return product;
}

inline qint16 NarrowToInt16(qint32 value) {
    if (value < -32768 || value > 32767)
        throw OverflowError();
    return static_cast<qint16>(value);
}

}  // namespace korvane
