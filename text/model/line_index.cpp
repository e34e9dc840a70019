// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/line_index.h"

#include <algorithm>

#include "text/model/line_breaks.h"

namespace korvane::text {
namespace {

// Appends `offset` plus the place after each line break of `text`: the starts of the lines the
// breaks begin. Two searches that each resume where they stopped, so the text is read about
// twice at the speed of Qt's vectorized character search, whatever the length of the lines.
void scan(QStringView text, qsizetype offset, std::vector<qsizetype>& starts) {
    const qsizetype end = text.size();
    qsizetype lineFeed = text.indexOf(u'\n');
    qsizetype separator = text.indexOf(QChar(QChar::LineSeparator));
    for (;;) {
        if (lineFeed < 0)
            lineFeed = end;
        if (separator < 0)
            separator = end;
        const qsizetype next = std::min(lineFeed, separator);
        if (next >= end)
            return;
        starts.push_back(offset + next + 1);
        if (next == lineFeed)
            lineFeed = text.indexOf(u'\n', next + 1);
        else
            separator = text.indexOf(QChar(QChar::LineSeparator), next + 1);
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

qsizetype LineIndex::longestLineLength(qsizetype textLength) const {
    qsizetype longest = 0;
    qsizetype start = 0;
    for (int line = 1; line < lineCount(); ++line) {
        const qsizetype next = lineStart(line);
        longest = std::max(longest, next - start - 1);
        start = next;
    }
    return std::max(longest, textLength - start);
}

}  // namespace korvane::text
