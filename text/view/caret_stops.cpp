// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/caret_stops.h"

#include <QTextBoundaryFinder>
#include <algorithm>

#include "text/model/text_segmentation.h"

namespace korvane::text {
namespace {

// How far either side of the caret a line is first laid out, and how close to a cut edge of the
// window a stop may lie before the window grows.
constexpr qsizetype kFirstReach = 2048;
constexpr qsizetype kEdgeMargin = 64;

// Whether a word segment holds a word rather than blanks or punctuation.
bool holdsWord(const TextDocument& document, TextRange segment) {
    const QString start = document.mid(segment.start, std::min<qsizetype>(segment.length(), 64));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, start);
    return finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem;
}

}  // namespace

qsizetype caretStop(const TextDocument& document, const QFont& font, qsizetype position,
                    bool forward, QTextLayout::CursorMode mode) {
    if (forward ? position >= document.length() : position <= 0)
        return forward ? document.length() : 0;
    const TextRange line = document.lineAround(position);
    if (position == (forward ? line.end : line.start))
        return forward ? position + 1 : position - 1;
    for (qsizetype reach = kFirstReach;; reach *= 2) {
        qsizetype from = std::max(line.start, position - reach);
        qsizetype to = std::min(line.end, position + reach);
        // A window edge never parts the halves of a surrogate pair.
        if (from > line.start && document.at(from).isLowSurrogate())
            --from;
        if (to < line.end && document.at(to).isLowSurrogate())
            ++to;
        QTextLayout layout(document.mid(from, to - from), font);
        const int inWindow = int(position - from);
        const qsizetype stop = from + (forward ? layout.nextCursorPosition(inWindow, mode)
                                               : layout.previousCursorPosition(inWindow, mode));
        if (forward ? to == line.end || stop < to - kEdgeMargin
                    : from == line.start || stop > from + kEdgeMargin)
            return stop;
    }
}

TextRange clickedWord(const TextDocument& document, qsizetype position) {
    const TextRange line = document.lineAround(position);
    if (line.start == line.end)
        return {position, position};
    if (position == line.end)
        return segmentAt(document, position - 1, TextBoundary::Word);
    const TextRange at = segmentAt(document, position, TextBoundary::Word);
    if (position > line.start && at.start == position && !holdsWord(document, at)) {
        const TextRange before = segmentAt(document, position - 1, TextBoundary::Word);
        if (holdsWord(document, before))
            return before;
    }
    return at;
}

}  // namespace korvane::text
