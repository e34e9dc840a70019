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

// Registers with Qt the accessibility interface of TextView: an editable-text role, read-only
// and multi-line, with the full text interface. Calling it again does nothing.
void InstallTextViewAccessibility();

// Whether TextView tells assistive technology of its changes: only while Qt's accessibility is
// active or an observer is set, since the events carry the changed text.
bool TextViewEventsWanted();
// Hands `event` to Qt's accessibility and to the observer, if one is set.
void SendTextViewEvent(QAccessibleEvent* event);
// Also hands every event a TextView sends to `observer` (null to stop), whether or not Qt's
// accessibility is active: for tools that watch what assistive technology is told.
using TextViewEventObserver = void (*)(QAccessibleEvent*);
void SetTextViewEventObserver(TextViewEventObserver observer);

// The span [start, end) of the text that assistive technology means by the character, word,
// sentence, line or paragraph at `offset` (0 to the text's length inclusive). Every line break
// ends a segment, so the answer depends on the one line around `offset` only; of a very long
// line only a window of characters around it is looked at.
TextSegment SegmentAt(const GapBuffer& text, const LineIndex& lines, qsizetype offset,
                      QAccessible::TextBoundaryType boundary);

}  // namespace korvane::text
