// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>
#include <QString>

#include "text/text_segments.h"

namespace korvane::text {

class GapBuffer;
class LineIndex;

class TextView;

// Registers with Qt the accessibility interface of TextView: an editable-text role, multi-line,
// read-only or editable as the view is, with the full text interface. Calling it again does
// nothing.
void installTextViewAccessibility();

// Assistive technology counts a text in characters (code points), the view in UTF-16 units:
// the offset of the view's `position`, and the position of an `offset`. Without a surrogate
// pair in the text both are the same number and cost nothing.
qsizetype textViewOffset(const TextView& view, qsizetype position);
qsizetype textViewPosition(const TextView& view, qsizetype offset);

// The span [start, end) of the text that assistive technology means by the character, word,
// sentence, line or paragraph at `offset` (0 to the text's length inclusive). Every line break
// ends a segment, so the answer depends on the one line around `offset` only; of a very long
// line only a window of characters around it is looked at.
TextSegment documentSegmentAt(const GapBuffer& text, const LineIndex& lines, qsizetype offset,
                              QAccessible::TextBoundaryType boundary);

}  // namespace korvane::text
