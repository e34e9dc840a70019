// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/text_diff.h"

#include <QChar>
#include <algorithm>
#include <cstring>

namespace korvane::text {
namespace {

// How many code units the two texts share at their start, compared four at a time.
qsizetype commonPrefix(QStringView first, QStringView second) {
    const char16_t* a = first.utf16();
    const char16_t* b = second.utf16();
    const qsizetype n = std::min(first.size(), second.size());
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        if (std::memcmp(a + i, b + i, 4 * sizeof(char16_t)) != 0)
            break;
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// How many code units the two texts share at their end, compared four at a time.
qsizetype commonSuffix(QStringView first, QStringView second) {
    const char16_t* a = first.utf16() + first.size();
    const char16_t* b = second.utf16() + second.size();
    const qsizetype n = std::min(first.size(), second.size());
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        if (std::memcmp(a - i - 4, b - i - 4, 4 * sizeof(char16_t)) != 0)
            break;
    }
    while (i < n && a[-i - 1] == b[-i - 1])
        ++i;
    return i;
}

}  // namespace

ChangedSpan findChangedSpan(QStringView current, QStringView wanted) {
    ChangedSpan span;
    span.prefix = commonPrefix(current, wanted);
    if (span.prefix > 0 && QChar::isHighSurrogate(current[span.prefix - 1].unicode()))
        --span.prefix;
    span.suffix = commonSuffix(current.sliced(span.prefix), wanted.sliced(span.prefix));
    if (span.suffix > 0 && QChar::isLowSurrogate(current[current.size() - span.suffix].unicode()))
        --span.suffix;
    return span;
}

}  // namespace korvane::text
