// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/line_index.h"

#include <algorithm>

namespace korvane::text {

LineIndex::LineIndex() {
    starts_.assign(std::vector<qsizetype>{0});
}

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
    std::vector<qsizetype> starts;
    // A guess from prose of about 70 characters a line spares most reallocations.
    starts.reserve(std::size_t(text.size() / 64 + 16));
    starts.push_back(0);
    scan(text, 0, text.size(), starts);
    starts_.assign(std::move(starts));
    stepLine_ = 0;
    stepDelta_ = 0;
}

void LineIndex::moveStep(int line) {
    if (stepDelta_ == 0) {
        stepLine_ = line;
        return;
    }
    if (line >= stepLine_) {
        starts_.add(stepLine_ + 1, line + 1, stepDelta_);
    } else if (stepLine_ - line <= lineCount() - 1 - stepLine_) {
        // Back to an earlier line, when that is shorter than carrying the delta to the end.
        starts_.add(line + 1, stepLine_ + 1, -stepDelta_);
    } else {
        starts_.add(stepLine_ + 1, lineCount(), stepDelta_);
        stepDelta_ = 0;
    }
    stepLine_ = line;
}

void LineIndex::replace(QStringView text, qsizetype position, qsizetype removed,
                        qsizetype inserted) {
    // Lines begun inside the removed span, that is after one of its breaks, go away; those
    // begun inside the inserted span come in their place.
    const int first = lineAt(position);
    const int last = lineAt(position + removed);
    moveStep(first);
    starts_.erase(first + 1, last - first);
    added_.clear();
    scan(text, position, position + inserted, added_);
    starts_.insert(first + 1, added_.data(), qsizetype(added_.size()));
    // The new starts are stored as they are; those after them shift by the edit's length.
    stepLine_ = first + int(added_.size());
    stepDelta_ += inserted - removed;
}

int LineIndex::lineAt(qsizetype position) const {
    const int step = stepLine_;
    const qsizetype delta = stepDelta_;
    const auto offset = [step, delta](qsizetype line) { return line > step ? delta : 0; };
    return int(starts_.upperBound(0, starts_.size(), position, offset)) - 1;
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
