// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/line_breaks.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvane::text {
namespace {

bool isOtherBreak(char16_t c) {
    return c == u'\r' || c == u'\u2029' || c == u'\ufdd0' || c == u'\ufdd1';
}

}  // namespace

QString withLineFeeds(QString text) {
    const char16_t* begin = reinterpret_cast<const char16_t*>(std::as_const(text).constData());
    const char16_t* end = begin + text.size();
    const char16_t* first = std::find_if(begin, end, isOtherBreak);
    if (first == end)
        return text;
    QString stored;
    stored.reserve(text.size());
    stored.append(QStringView(begin, first));
    for (const char16_t* c = first; c != end; ++c) {
        if (*c == u'\r' && c + 1 != end && c[1] == u'\n')
            continue;  // the line feed that follows stands for both
        stored.append(isOtherBreak(*c) ? QChar(u'\n') : QChar(*c));
    }
    return stored;
}

bool sameLineBreaks(const QChar* a, const QChar* b, qsizetype length) {
    // Eight at a time in the vector unit (SSE2), the rest one by one.
    const auto* x = reinterpret_cast<const char16_t*>(a);
    const auto* y = reinterpret_cast<const char16_t*>(b);
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi16(u'\n');
    const __m128i separator = _mm_set1_epi16(short(u'\x2028'));
    const auto breaks = [&](const char16_t* units) {
        const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
        return _mm_or_si128(_mm_cmpeq_epi16(lanes, lineFeed), _mm_cmpeq_epi16(lanes, separator));
    };
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
