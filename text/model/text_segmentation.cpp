// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/text_segmentation.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "text/model/line_window.h"

namespace korvane::text {
namespace {

QTextBoundaryFinder::BoundaryType finderType(TextBoundary boundary) {
    switch (boundary) {
        case TextBoundary::Character:
            return QTextBoundaryFinder::Grapheme;
        case TextBoundary::Word:
            return QTextBoundaryFinder::Word;
        default:
            return QTextBoundaryFinder::Sentence;
    }
}

// The segment of `piece` holding `at`, which lies inside it. Word boundaries count only where a
// word starts or ends, so that a word and the run after it are one segment each, as the caret
// moves by word. The finder answers -1 past either end, so both walks end.
TextRange segmentOf(const QString& piece, qsizetype at, TextBoundary boundary) {
    QTextBoundaryFinder finder(finderType(boundary), piece);
    const auto isCut = [&](qsizetype position) {
        finder.setPosition(position);
        return finder.isAtBoundary() &&
               (boundary != TextBoundary::Word ||
                (finder.boundaryReasons() &
                 (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem)));
    };
    qsizetype start = at;
    while (start > 0 && !isCut(start)) {
        finder.setPosition(start);
        start = std::max<qsizetype>(0, finder.toPreviousBoundary());
    }
    qsizetype end = at;
    do {
        finder.setPosition(end);
        end = finder.toNextBoundary();
    } while (end > 0 && end < piece.size() && !isCut(end));
    if (end < 0 || end > piece.size())
        end = piece.size();
    return {start, end};
}

// The character, word or sentence of `line` holding `position`, which lies inside the line.
TextRange segmentInLine(const TextReader& text, qsizetype position, TextRange line,
                        TextBoundary boundary) {
    for (LineWindow window(text, line, position);;) {
        const TextRange local = segmentOf(window.text(), position - window.start(), boundary);
        const TextRange found{window.start() + local.start, window.start() + local.end};
        // A segment that reaches close to a cut edge may go on past it, or be cut short by it.
        if (window.settles(found))
            return found;
    }
}

}  // namespace

TextRange segmentAt(const TextReader& text, qsizetype position, TextBoundary boundary) {
    const qsizetype length = text.length();
    position = std::clamp<qsizetype>(position, 0, length);
    if (boundary == TextBoundary::Whole)
        return {0, length};
    const TextRange line = text.lineAround(position);
    const qsizetype withBreak = line.end < length ? line.end + 1 : line.end;
    if (boundary == TextBoundary::Line || boundary == TextBoundary::Paragraph)
        return {line.start, withBreak};
    if (position == length) {
        // The end belongs to the last segment of the last line, when it has one.
        if (boundary == TextBoundary::Character || line.start == line.end)
            return {length, length};
        --position;
    } else if (position == line.end) {
        // A line break ends the sentence before it on its line: a screen reader reading by
        // sentence would speak a break of its own as an empty utterance. For the other
        // boundaries, and on an empty line, the break is a segment of its own.
        if (boundary != TextBoundary::Sentence || line.start == line.end)
            return {line.end, withBreak};
        --position;
    }
    const TextRange found = segmentInLine(text, position, line, boundary);
    if (boundary == TextBoundary::Sentence && found.end == line.end)
        return {found.start, withBreak};
    return found;
}

TextRange segmentBefore(const TextReader& text, qsizetype position, TextBoundary boundary) {
    const TextRange at = segmentAt(text, position, boundary);
    if (boundary == TextBoundary::Whole || at.start == 0)
        return {0, 0};
    return segmentAt(text, at.start - 1, boundary);
}

TextRange segmentAfter(const TextReader& text, qsizetype position, TextBoundary boundary) {
    const qsizetype length = text.length();
    const TextRange at = segmentAt(text, position, boundary);
    if (boundary == TextBoundary::Whole || at.end >= length)
        return {length, length};
    return segmentAt(text, at.end, boundary);
}

}  // namespace korvane::text
