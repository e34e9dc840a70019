// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/line_index.h"

#include <algorithm>

namespace korvane::text {
void LineIndex::scan(QStringView text, qsizetype from, qsizetype to,
                     std::vector<qsizetype>& starts) {
    // Two searches that each resume where they stopped, so the span is read about twice at the
    // speed of Qt's vectorized character search, whatever the length of the lines.
    const QStringView span = text.first(to);
    qsizetype lineFeed = span.indexOf(u'\n', from);
    qsizetype separator = span.indexOf(QChar(QChar::LineSeparator), from);
    for (;;) {
        if (lineFeed < 0)
            lineFeed = to;
        if (separator < 0)
            separator = to;
        const qsizetype next = std::min(lineFeed, separator);
        if (next >= to)
            return;
        starts.push_back(next + 1);
        if (next == lineFeed)
            lineFeed = span.indexOf(u'\n', next + 1);
        else
            separator = span.indexOf(QChar(QChar::LineSeparator), next + 1);
    }
}

void LineIndex::build(QStringView text) {
    starts_.clear();
    // A guess from prose of about 70 characters a line spares most reallocations.
    starts_.reserve(std::size_t(text.size() / 64 + 16));
    starts_.push_back(0);
    scan(text, 0, text.size(), starts_);
}

void LineIndex::replace(QStringView text, qsizetype position, qsizetype removed,
                        qsizetype inserted) {
    // Lines begun inside the removed span, that is after one of its breaks, go away.
    const auto first = std::upper_bound(starts_.begin(), starts_.end(), position);
    const auto last = std::upper_bound(first, starts_.end(), position + removed);
    std::vector<qsizetype> added;
    scan(text, position, position + inserted, added);
    const qsizetype delta = inserted - removed;
    const auto kept = starts_.erase(first, last);
    const auto after = starts_.insert(kept, added.begin(), added.end()) + qsizetype(added.size());
    for (auto it = after; it != starts_.end(); ++it)
        *it += delta;
}

int LineIndex::lineAt(qsizetype position) const {
    return int(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

qsizetype LineIndex::longestLineLength(qsizetype textLength) const {
    qsizetype longest = 0;
    for (std::size_t i = 1; i < starts_.size(); ++i)
        longest = std::max(longest, starts_[i] - starts_[i - 1] - 1);
    return std::max(longest, textLength - starts_.back());
}

}  // namespace korvane::text
