// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>
#include <QStringView>

namespace korvane::text {

// A span of a text in UTF-16 offsets, end excluded.
struct TextSegment {
    qsizetype start = 0;
    qsizetype end = 0;

    friend bool operator==(const TextSegment&, const TextSegment&) = default;
};

// The segments of one line of text that a screen reader asks for, cut by QTextBoundaryFinder:
// characters are grapheme clusters, words are words and the runs between them, sentences are
// sentences; a line, a paragraph and no boundary at all are the whole text. Each query works on
// a list of cut points built in one forward pass, so none can loop, whatever the offset.
//
// An offset of -1 means the end; others are clamped to 0…length. The end offset belongs to the
// last segment, except for characters: there is no character at the end. Where no segment
// exists (before the first, after the last, or in an empty text) the answer is the empty
// segment at that edge.
TextSegment segmentAt(QStringView text, QAccessible::TextBoundaryType boundary, int offset);
TextSegment segmentBefore(QStringView text, QAccessible::TextBoundaryType boundary, int offset);
TextSegment segmentAfter(QStringView text, QAccessible::TextBoundaryType boundary, int offset);

}  // namespace korvane::text
