// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/line_index.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/model/line_breaks.h"

namespace korvane::text {
namespace {

// Appends `offset` plus the place after each line break of `text`: the starts of the lines the
// breaks begin. One pass over the text whatever the length of its lines: 32 units at a time in
// the vector unit (SSE2), whose compares are packed into one bit a unit, the rest one by one.
void scan(QStringView text, qsizetype offset, std::vector<qsizetype>& starts) {
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    const char16_t* c = begin;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi16(u'\n');
    const __m128i lineSeparator = _mm_set1_epi16(short(u'\x2028'));
    const auto breaks = [&](const char16_t* units) {
        const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
        return _mm_or_si128(_mm_cmpeq_epi16(lanes, lineFeed),
                            _mm_cmpeq_epi16(lanes, lineSeparator));
    };
    // A bit for each of 16 units.
    const auto mask16 = [&](const char16_t* units) {
        return quint32(
            quint16(_mm_movemask_epi8(_mm_packs_epi16(breaks(units), breaks(units + 8)))));
    };
    for (; end - c >= 32; c += 32) {
        for (quint32 mask = mask16(c) | mask16(c + 16) << 16; mask != 0; mask &= mask - 1)
            starts.push_back(offset + (c - begin) + std::countr_zero(mask) + 1);
    }
#endif
    for (; c != end; ++c) {
        if (isLineBreak(*c))
            starts.push_back(offset + (c - begin) + 1);
    }
}

}  // namespace

LineIndex::LineIndex() {
    starts_.assign({0});
}

void LineIndex::build(QStringView text) {
    std::vector<qsizetype> starts;
    // A guess from prose of about 70 characters a line spares most reallocations.
    starts.reserve(std::size_t(text.size() / 64 + 16));
    starts.push_back(0);
    scan(text, 0, starts);
    starts_.assign(std::move(starts));
}

LineIndex::Edit LineIndex::prepare(qsizetype position, qsizetype removed, QStringView inserted) {
    Edit edit{position, removed, inserted.size(), lineAt(position), lineAt(position + removed), {}};
    scan(inserted, position, edit.addedStarts);
    starts_.reserve(qsizetype(edit.addedStarts.size()) - (edit.lastRemoved - edit.first));
    return edit;
}

EditedLines LineIndex::apply(const Edit& edit) {
    // Lines begun inside the removed span, that is after one of its breaks, go away; those
    // begun inside the inserted span come in their place.
    starts_.replace(edit.first + 1, edit.lastRemoved + 1, edit.addedStarts,
                    edit.inserted - edit.removed);
    return {edit.first, edit.lastRemoved, edit.first + int(edit.addedStarts.size())};
}

LineIndex::LongestLine LineIndex::longestLine(qsizetype textLength) const {
    LongestLine longest;
    const auto measure = [&](qsizetype length) {
        if (length > longest.length)
            longest = {length, 0};
        longest.count += length == longest.length;
    };
    qsizetype start = 0;
    for (int line = 1; line < lineCount(); ++line) {
        const qsizetype next = lineStart(line);
        measure(next - start - 1);
        start = next;
    }
    measure(textLength - start);
    return longest;
}

}  // namespace korvane::text
