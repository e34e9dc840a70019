// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/text_segments.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <optional>

namespace korvane::text {
namespace {

std::optional<QTextBoundaryFinder::BoundaryType> finderType(
    QAccessible::TextBoundaryType boundary) {
    switch (boundary) {
        case QAccessible::CharBoundary:
            return QTextBoundaryFinder::Grapheme;
        case QAccessible::WordBoundary:
            return QTextBoundaryFinder::Word;
        case QAccessible::SentenceBoundary:
            return QTextBoundaryFinder::Sentence;
        case QAccessible::ParagraphBoundary:
        case QAccessible::LineBoundary:
        case QAccessible::NoBoundary:
            break;
    }
    return std::nullopt;  // one line, one paragraph: the whole text is the only segment
}

// The cut points from 0 to the length, rising. Word boundaries count only where a word starts
// or ends, so that a word and the gap after it are one segment each, as the caret moves by
// word. The finder's position only ever rises and it answers -1 past the end, so the pass ends.
QList<int> cutPoints(QStringView text, QAccessible::TextBoundaryType boundary) {
    const int length = int(text.size());
    QList<int> cuts{0};
    if (const auto type = finderType(boundary)) {
        QTextBoundaryFinder finder(*type, text);
        for (qsizetype position = finder.toNextBoundary(); position > 0 && position < length;
             position = finder.toNextBoundary()) {
            const bool itemEdge = finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem |
                                                              QTextBoundaryFinder::EndOfItem);
            if (boundary != QAccessible::WordBoundary || itemEdge)
                cuts.append(int(position));
        }
    }
    if (length > 0)
        cuts.append(length);
    return cuts;
}

struct Located {
    QList<int> cuts;
    int offset = 0;
    // The index of the segment [cuts[index], cuts[index + 1]) holding the offset; for the
    // character "at" the end, the empty segment after the last one.
    qsizetype index = 0;
};

Located locate(QStringView text, QAccessible::TextBoundaryType boundary, int offset) {
    const int length = int(text.size());
    Located found{cutPoints(text, boundary), offset == -1 ? length : std::clamp(offset, 0, length)};
    const qsizetype segments = found.cuts.size() - 1;
    if (found.offset == length) {
        found.index =
            boundary == QAccessible::CharBoundary || segments == 0 ? segments : segments - 1;
    } else {
        // The last cut not after the offset starts its segment.
        found.index = std::upper_bound(found.cuts.cbegin(), found.cuts.cend(), found.offset) -
                      found.cuts.cbegin() - 1;
    }
    return found;
}

// Segment number index, or the empty segment at the nearer edge when there is none.
TextSegment segment(const QList<int>& cuts, qsizetype index) {
    if (index < 0)
        return {0, 0};
    if (index + 1 >= cuts.size())
        return {cuts.back(), cuts.back()};
    return {cuts[index], cuts[index + 1]};
}

}  // namespace

TextSegment segmentAt(QStringView text, QAccessible::TextBoundaryType boundary, int offset) {
    const Located found = locate(text, boundary, offset);
    return segment(found.cuts, found.index);
}

TextSegment segmentBefore(QStringView text, QAccessible::TextBoundaryType boundary, int offset) {
    const Located found = locate(text, boundary, offset);
    return segment(found.cuts, found.index - 1);
}

TextSegment segmentAfter(QStringView text, QAccessible::TextBoundaryType boundary, int offset) {
    const Located found = locate(text, boundary, offset);
    return segment(found.cuts, found.index + 1);
}

}  // namespace korvane::text
