// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>

namespace korvane::text {

// What ends a line of a stored text: a line feed or a LINE SEPARATOR (U+2028), one character
// each, which belongs to the line it ends.
constexpr bool isLineBreak(char16_t unit) {
    return unit == u'\n' || unit == u'\x2028';
}

// Another kind of line break, which an editable view stores as a line feed: a carriage return
// ("\r\n" counts as one break), the paragraph separator U+2029 and the frame marks U+FDD0 and
// U+FDD1 that rich-text documents use.
constexpr bool isOtherLineBreak(char16_t unit) {
    return unit == u'\r' || unit == u'\u2029' || unit == u'\ufdd0' || unit == u'\ufdd1';
}

// The text as an editable view stores it: every other kind of line break ("\r\n" as one, a lone
// '\r', the paragraph separator U+2029 and the frame marks U+FDD0 and U+FDD1 that rich-text
// documents use) becomes a line feed, every other character stays. A text with none of them
// comes back as it is, sharing its storage.
QString withLineFeeds(QString text);

// Whether two runs of `length` characters hold their line breaks at the same places.
bool sameLineBreaks(const QChar* a, const QChar* b, qsizetype length);

}  // namespace korvane::text
