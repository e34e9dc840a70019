// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "text/model/text_reader.h"

namespace korvane::text {

// The units a screen reader reads a text by.
enum class TextBoundary { Character, Word, Sentence, Line, Paragraph, Whole };

// The segments of a text that a screen reader asks for, in UTF-16 positions, cut by Unicode's
// text segmentation (UAX #29, through QTextBoundaryFinder): characters are grapheme clusters,
// words are words and the runs between them, sentences are sentences; a line and a paragraph
// run to and take in their line break; the whole text is one segment. Every line break ends a
// segment: a break is a character and a word of its own, and the end of a sentence.
//
// The segment at a position is the one that holds it. The end of the text belongs to the last
// segment, except that no character is at the end; where no segment exists (before the first,
// after the last, in an empty text) the answer is the empty segment at that edge. Only the part
// of a line around the position is read: a window that grows until the segment found lies
// inside it, so a query costs what the segment's length does, however long the line.
TextRange segmentAt(const TextReader& text, qsizetype position, TextBoundary boundary);
TextRange segmentBefore(const TextReader& text, qsizetype position, TextBoundary boundary);
TextRange segmentAfter(const TextReader& text, qsizetype position, TextBoundary boundary);

}  // namespace korvane::text
