// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace korvane::cipher {

// The value of the number at the start of the text. Blanks (space, tab, line feed) are skipped
// anywhere, '.' is the decimal point whatever the locale, an exponent 'E' or 'e' may follow, and
// reading stops at the first character that cannot continue the number. No number gives 0; a
// number too large for a double reads as an infinity of its sign.
double ReadNumber(QStringView text);

// Rounds half to even; no value when the result leaves the target type's range.
std::optional<qint16> ToInt16(double value);
std::optional<qint32> ToInt32(double value);

// Plain decimal digits with a leading '-' when negative: no blank, no grouping.
QString FormatInteger(qint32 value);

}  // namespace korvane::cipher
