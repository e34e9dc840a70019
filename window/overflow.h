// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

#include "cipher/inverse_key.h"
#include "runtime/run_time_error.h"

namespace korvane::window {

// The engine gives no value where its checked arithmetic overflowed. In this window that is the
// run-time error Overflow (6): it ends the handler that met it, which writes nothing more, and
// goes to the runtime's report.
template <typename T>
T orOverflow(std::optional<T> value) {
    if (!value)
        throw runtime::OverflowError();
    return *std::move(value);
}

// The same, with the sentence the report shows below "Overflow": what overflowed, in the user's
// terms. `explain` makes it, and is called only when there was an overflow.
template <typename T, typename Explain>
T orOverflow(std::optional<T> value, Explain&& explain) {
    if (!value) {
        runtime::RunTimeError error = runtime::OverflowError();
        error.explanation = std::forward<Explain>(explain)();
        throw error;
    }
    return *std::move(value);
}

// The sentences, one for each way the window's arithmetic overflows.

// A box holds a number its type cannot take: "The rotation box holds 1234567, outside
// −32768…32767; " and what the user can do about it.
QString numberOutsideRange(QStringView box, QStringView held, qint32 smallest, qint32 largest,
                           QStringView remedy);
// The rotation box's value stepped one past the 16-bit range by '&' (up) or '(' (down).
QString stepOutsideRange(qint16 value, QChar step);
// A letter ('A'–'Z') whose product with the multiplier, or sum with the rotation, leaves the
// 16-bit range under the key.
QString letterOutsideRange(char16_t letter, cipher::Key key);

}  // namespace korvane::window
