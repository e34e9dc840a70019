// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

// The line breaks among the code units of a text, eight at a time in the vector unit (SSE2), for
// the readings of a text that look for them: a lane of all ones for each unit that is one, of all
// zeros for any other.
#if defined(__SSE2__)
#include <emmintrin.h>
#include <QtGlobal>

namespace korvane::text {

// Loads the eight code units at `units`.
inline __m128i loadUnits(const char16_t* units) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
}

// What ends a line of a stored text (isLineBreak): a line feed or a LINE SEPARATOR.
inline __m128i lineBreakLanes(__m128i units) {
    return _mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(u'\n')),
                        _mm_cmpeq_epi16(units, _mm_set1_epi16(short(u'\x2028'))));
}

// The other kinds of line break an editable view makes line feeds (isOtherLineBreak): a carriage
// return, the paragraph separator U+2029 and the frame marks U+FDD0 and U+FDD1.
inline __m128i otherBreakLanes(__m128i units) {
    const __m128i frameMark = _mm_and_si128(units, _mm_set1_epi16(short(0xfffe)));
    return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(u'\r')),
                                     _mm_cmpeq_epi16(units, _mm_set1_epi16(short(u'\u2029')))),
                        _mm_cmpeq_epi16(frameMark, _mm_set1_epi16(short(u'\ufdd0'))));
}

// Where the breaks of a block of 32 code units may lie, found from its lowest and its highest
// unit, which is cheaper than looking for them: among the control characters up to the carriage
// return (a line feed, a carriage return), among the units from U+2028 on (the others). Most
// blocks of most texts hold neither, and a reading looks closer only at those that may.
class BreakBlock {
public:
    explicit BreakBlock(const char16_t* units)
        : units_{loadUnits(units), loadUnits(units + 8), loadUnits(units + 16),
                 loadUnits(units + 24)} {
        // Flipping the top bit orders the units as signed numbers as they are ordered unsigned,
        // for SSE2's signed minimum and maximum.
        const __m128i flip = _mm_set1_epi16(short(0x8000));
        const __m128i a = _mm_xor_si128(units_[0], flip);
        const __m128i b = _mm_xor_si128(units_[1], flip);
        const __m128i c = _mm_xor_si128(units_[2], flip);
        const __m128i d = _mm_xor_si128(units_[3], flip);
        const __m128i lowest = _mm_min_epi16(_mm_min_epi16(a, b), _mm_min_epi16(c, d));
        const __m128i highest = _mm_max_epi16(_mm_max_epi16(a, b), _mm_max_epi16(c, d));
        controls_ = _mm_movemask_epi8(_mm_cmplt_epi16(lowest, _mm_set1_epi16(short(0x800e)))) != 0;
        high_ = _mm_movemask_epi8(_mm_cmpgt_epi16(highest, _mm_set1_epi16(short(0xa027)))) != 0;
    }

    bool mayHoldBreaks() const { return controls_ || high_; }

    // A bit for each unit that ends a line (isLineBreak).
    quint32 lineBreaks() const {
        return mask16(lineBreaksOf(units_[0]), lineBreaksOf(units_[1])) |
               mask16(lineBreaksOf(units_[2]), lineBreaksOf(units_[3])) << 16;
    }
    // Whether a unit is another kind of line break (isOtherLineBreak).
    bool holdsOtherBreaks() const {
        const __m128i any = _mm_or_si128(_mm_or_si128(othersOf(units_[0]), othersOf(units_[1])),
                                         _mm_or_si128(othersOf(units_[2]), othersOf(units_[3])));
        return _mm_movemask_epi8(any) != 0;
    }

private:
    static quint32 mask16(__m128i low, __m128i high) {
        return quint16(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
    }
    __m128i lineBreaksOf(__m128i units) const {
        return high_ ? lineBreakLanes(units) : _mm_cmpeq_epi16(units, _mm_set1_epi16(u'\n'));
    }
    __m128i othersOf(__m128i units) const {
        return high_ ? otherBreakLanes(units) : _mm_cmpeq_epi16(units, _mm_set1_epi16(u'\r'));
    }

    __m128i units_[4];
    bool controls_ = false;
    bool high_ = false;
};

}  // namespace korvane::text
#endif
