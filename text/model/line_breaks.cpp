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

// The first break other than a line feed in [begin, end), or `end`. Most pasted text has none,
// so the whole text is read: 32 units at a time in the vector unit (SSE2), whose lanes are
// tested together and looked at one by one only where one of them holds a break.
const char16_t* firstOtherBreak(const char16_t* begin, const char16_t* end) {
    const char16_t* c = begin;
#if defined(__SSE2__)
    const __m128i carriageReturn = _mm_set1_epi16(u'\r');
    const __m128i paragraphSeparator = _mm_set1_epi16(short(u'\u2029'));
    const __m128i frameMarks = _mm_set1_epi16(short(u'\ufdd0'));  // U+FDD0 and U+FDD1
    const __m128i lastBitOff = _mm_set1_epi16(short(0xfffe));
    const auto breaks = [&](const char16_t* units) {
        const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
        return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(lanes, carriageReturn),
                                         _mm_cmpeq_epi16(lanes, paragraphSeparator)),
                            _mm_cmpeq_epi16(_mm_and_si128(lanes, lastBitOff), frameMarks));
    };
    for (; end - c >= 32; c += 32) {
        const __m128i any = _mm_or_si128(_mm_or_si128(breaks(c), breaks(c + 8)),
                                         _mm_or_si128(breaks(c + 16), breaks(c + 24)));
        if (_mm_movemask_epi8(any) != 0)
            break;  // found one by one below
    }
#endif
    return std::find_if(c, end, isOtherBreak);
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
