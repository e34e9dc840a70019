#pragma once

#include <QAccessible>
#include <QString>

namespace korvane::runtime {

class LineIndex;

// Registers with Qt the accessibility interface of TextView: an editable-text role, read-only
// and multi-line, with the full text interface. Calling it again does nothing.
void InstallTextViewAccessibility();

// The span [start, end) of the text that assistive technology means by the character, word,
// sentence, line or paragraph at `offset` (0 to the text's length inclusive). Every line break
// ends a segment, so the answer depends on the one line around `offset` only; of a very long
// line only a window of characters around it is looked at.
struct TextSegment {
    qsizetype start = 0;
    qsizetype end = 0;
};
TextSegment SegmentAt(const QString& text, const LineIndex& lines, qsizetype offset,
                      QAccessible::TextBoundaryType boundary);

}  // namespace korvane::runtime
