// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/line_breaks.h"

#include <algorithm>

#include "text/model/line_break_lanes.h"

namespace korvane::text {
namespace {

// The first break other than a line feed in [begin, end), or `end`. Most pasted text has none,
// so the whole text is read: 32 units at a time in the vector unit (SSE2), looked at one by one
// only where one of them is such a break.
const char16_t* firstOtherBreak(const char16_t* begin, const char16_t* end) {
    const char16_t* c = begin;
#if defined(__SSE2__)
    for (; end - c >= 32; c += 32) {
        const BreakBlock block(c);
        if (block.mayHoldBreaks() && block.holdsOtherBreaks())
            break;  // found one by one below
    }
#endif
    return std::find_if(c, end, isOtherLineBreak);
}

}  // namespace

QString withLineFeeds(QString text) {
    const char16_t* begin = reinterpret_cast<const char16_t*>(std::as_const(text).constData());
    const char16_t* end = begin + text.size();
    const char16_t* first = firstOtherBreak(begin, end);
    if (first == end)
        return text;
    QString stored;
    stored.reserve(text.size());
    stored.append(QStringView(begin, first));
    for (const char16_t* c = first; c != end; ++c) {
        if (*c == u'\r' && c + 1 != end && c[1] == u'\n')
            continue;  // the line feed that follows stands for both
        stored.append(isOtherLineBreak(*c) ? QChar(u'\n') : QChar(*c));
    }
    return stored;
}

bool sameLineBreaks(const QChar* a, const QChar* b, qsizetype length) {
    // Eight at a time in the vector unit (SSE2), the rest one by one.
    const auto* x = reinterpret_cast<const char16_t*>(a);
    const auto* y = reinterpret_cast<const char16_t*>(b);
    qsizetype i = 0;
#if defined(__SSE2__)
    const auto breaks = [](const char16_t* units) { return lineBreakLanes(loadUnits(units)); };
    __m128i differ = _mm_setzero_si128();
    for (; i + 8 <= length; i += 8)
        differ = _mm_or_si128(differ, _mm_xor_si128(breaks(x + i), breaks(y + i)));
    if (_mm_movemask_epi8(differ) != 0)
        return false;
#endif
    for (; i < length; ++i) {
        if (isLineBreak(x[i]) != isLineBreak(y[i]))
            return false;
    }
    return true;
}

}  // namespace korvane::text
