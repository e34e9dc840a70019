// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/line_index.h"

#include <algorithm>
#include <bit>

#include "text/model/line_break_lanes.h"
#include "text/model/line_breaks.h"

namespace korvane::text {
namespace {

// Appends `offset` plus the place after each line break of `text`: the starts of the lines the
// breaks begin. One pass over the text whatever the length of its lines: 32 units at a time in
// the vector unit (SSE2), tested together for what may be a break and, where one of them may be,
// compared with the breaks and the compares packed into one bit a unit; the rest one by one. With
// `kLookForOthers`, the same pass tells whether the text holds another kind of line break
// (isOtherLineBreak).
template <bool kLookForOthers>
bool scan(QStringView text, qsizetype offset, std::vector<qsizetype>& starts) {
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    const char16_t* c = begin;
    bool others = false;
#if defined(__SSE2__)
    for (; end - c >= 32; c += 32) {
        const BreakBlock block(c);
        if (!block.mayHoldBreaks())
            continue;
        if constexpr (kLookForOthers)
            others = others || block.holdsOtherBreaks();
        for (quint32 mask = block.lineBreaks(); mask != 0; mask &= mask - 1)
            starts.push_back(offset + (c - begin) + std::countr_zero(mask) + 1);
    }
#endif
    for (; c != end; ++c) {
        if (isLineBreak(*c))
            starts.push_back(offset + (c - begin) + 1);
        if constexpr (kLookForOthers)
            others = others || isOtherLineBreak(*c);
    }
    return others;
}

// The starts of the lines of a whole text, the first at 0, with room for them reserved from a
// guess: prose of about 70 characters a line spares most reallocations.
std::vector<qsizetype> firstStart(QStringView text) {
    std::vector<qsizetype> starts;
    starts.reserve(std::size_t(text.size() / 64 + 16));
    starts.push_back(0);
    return starts;
}

}  // namespace

LineIndex::LineIndex() {
    starts_.assign({0});
}

void LineIndex::build(QStringView text) {
    std::vector<qsizetype> starts = firstStart(text);
    scan<false>(text, 0, starts);
    starts_.assign(std::move(starts));
}

void LineIndex::buildWithLineFeeds(QString& text) {
    std::vector<qsizetype> starts = firstStart(text);
    if (scan<true>(text, 0, starts)) {
        // Rare in pasted text: the breaks are made line feeds, and the text is read again.
        text = withLineFeeds(std::move(text));
        starts.resize(1);
        scan<false>(text, 0, starts);
    }
    starts_.assign(std::move(starts));
}

LineIndex::Edit LineIndex::prepare(qsizetype position, qsizetype removed, QStringView inserted) {
    Edit edit{position, removed, inserted.size(), lineAt(position), lineAt(position + removed), {}};
    scan<false>(inserted, position, edit.addedStarts);
    starts_.reserve(qsizetype(edit.addedStarts.size()) - (edit.lastRemoved - edit.first));
    return edit;
}

LineIndex::Edit LineIndex::prepare(qsizetype position, qsizetype removed, qsizetype inserted,
                                   const LineIndex& insertedLines) {
    Edit edit{position, removed, inserted, lineAt(position), lineAt(position + removed), {}};
    edit.addedStarts.reserve(std::size_t(insertedLines.lineCount() - 1));
    for (int line = 1; line < insertedLines.lineCount(); ++line)
        edit.addedStarts.push_back(position + insertedLines.lineStart(line));
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
