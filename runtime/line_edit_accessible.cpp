// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/line_edit_accessible.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPalette>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "runtime/line_edit.h"
#include "text/text_attributes.h"
#include "text/text_segments.h"

namespace korvane::runtime {

using text::AccessibleTextAttributes;
using text::SegmentAfter;
using text::SegmentAt;
using text::SegmentBefore;
using text::TextSegment;
namespace {

// Writes the segment's offsets and returns its text.
QString Answer(const QString& text, TextSegment segment, int* startOffset, int* endOffset) {
    *startOffset = segment.start;
    *endOffset = segment.end;
    return text.mid(segment.start, segment.end - segment.start);
}

QAccessibleInterface* MakeLineEditAccessible(const QString& className, QObject* object) {
    if (className != QLatin1StringView(LineEdit::staticMetaObject.className()))
        return nullptr;
    auto* line = qobject_cast<QLineEdit*>(object);
    return line ? new LineEditAccessible(line) : nullptr;
}

}  // namespace

LineEditAccessible::LineEditAccessible(QLineEdit* line)
    : QAccessibleWidget(line, QAccessible::EditableText) {}

QLineEdit* LineEditAccessible::Line() const {
    return static_cast<QLineEdit*>(widget());
}

// The box's text as it is drawn: the same text, or bullets in a password box.
QString LineEditAccessible::ShownText() const {
    return Line()->displayText();
}

int LineEditAccessible::ClampedOffset(int offset) const {
    return std::clamp(offset, 0, characterCount());
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LineEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();  // focusable, focused, …
    if (Line()->isReadOnly()) {
        state.readOnly = true;
    } else {
        state.editable = true;
    }
    state.passwordEdit = Line()->echoMode() != QLineEdit::Normal;
    state.multiLine = false;
    state.selectableText = true;
    return state;
}

QString LineEditAccessible::text(QAccessible::Text kind) const {
    QString text = kind == QAccessible::Value ? ShownText() : QString();
    if (text.isEmpty())
        text = QAccessibleWidget::text(kind);
    if (text.isEmpty() && kind == QAccessible::Description)
        text = Line()->placeholderText();
    return text;
}

void LineEditAccessible::setText(QAccessible::Text kind, const QString& text) {
    if (kind != QAccessible::Value) {
        QAccessibleWidget::setText(kind, text);
        return;
    }
    Edit(0, characterCount(), text);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
    const int start = ClampedOffset(startOffset);
    const int end = endOffset == -1 ? characterCount() : ClampedOffset(endOffset);
    return start < end ? ShownText().mid(start, end - start) : QString();
}

int LineEditAccessible::characterCount() const {
    return int(ShownText().size());
}

int LineEditAccessible::cursorPosition() const {
    return Line()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
    Line()->setCursorPosition(ClampedOffset(position));
}

int LineEditAccessible::selectionCount() const {
    return Line()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && Line()->hasSelectedText()) {
        *startOffset = Line()->selectionStart();
        *endOffset = Line()->selectionEnd();
    }
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);  // a line edit has one selection at most
}

void LineEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        Line()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const int start = ClampedOffset(startOffset);
    Line()->setSelection(start, ClampedOffset(endOffset) - start);
}

QString LineEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    const QString shown = ShownText();
    return Answer(shown, SegmentAt(shown, boundaryType, offset), startOffset, endOffset);
}

QString LineEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    const QString shown = ShownText();
    return Answer(shown, SegmentBefore(shown, boundaryType, offset), startOffset, endOffset);
}

QString LineEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    const QString shown = ShownText();
    return Answer(shown, SegmentAfter(shown, boundaryType, offset), startOffset, endOffset);
}

// The whole value is drawn in one font and colour, so it is one run whatever the offset.
QString LineEditAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return AccessibleTextAttributes(*Line(), Line()->alignment());
}

// The caret sits in the middle of the line edit's cursor rectangle; the other offsets are placed
// from it by a layout of the shown text like the one the line edit draws, which takes its scrolling
// into account without reaching into its internals.
QRect LineEditAccessible::characterRect(int offset) const {
    const QString shown = ShownText();
    if (offset < 0 || offset >= shown.size())
        return {};
    const TextSegment character = SegmentAt(shown, QAccessible::CharBoundary, offset);
    QTextLayout layout(shown, Line()->font());
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setTextDirection(Line()->layoutDirection());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const QRect caret = Line()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const qreal caretX = (caret.left() + caret.right() + 1) / 2.0;
    const qreal from = line.cursorToX(character.start);
    const qreal to = line.cursorToX(character.end);
    const qreal left = caretX + std::min(from, to) - line.cursorToX(Line()->cursorPosition());
    const QFontMetrics metrics(Line()->font());
    const QRect rect(qRound(left), caret.top(), std::max(1, qRound(std::abs(to - from))),
                     metrics.height());
    return rect.translated(Line()->mapToGlobal(QPoint(0, 0)));
}

// The character under the point, or -1 where there is none.
int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = Line()->mapFromGlobal(point);
    if (!Line()->rect().contains(local))
        return -1;
    const int caret = Line()->cursorPositionAt(local);  // the nearest gap between characters
    for (const int offset : {caret, caret - 1}) {
        const QRect rect = characterRect(offset);
        if (point.x() >= rect.left() && point.x() <= rect.right())
            return offset;
    }
    return -1;
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    // The line edit scrolls to show its caret: show the end first, then the start.
    Line()->setCursorPosition(ClampedOffset(endIndex));
    Line()->setCursorPosition(ClampedOffset(startIndex));
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
    Edit(startOffset, endOffset, QString());
}

void LineEditAccessible::insertText(int offset, const QString& text) {
    Edit(offset, offset, text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    Edit(startOffset, endOffset, text);
}

void LineEditAccessible::Edit(int startOffset, int endOffset, const QString& text) {
    if (Line()->isReadOnly())
        return;
    const int length = int(Line()->text().size());
    const int start = std::clamp(std::min(startOffset, endOffset), 0, length);
    const int end = std::clamp(std::max(startOffset, endOffset), 0, length);
    if (start == end && text.isEmpty())
        return;
    Line()->setSelection(start, end - start);
    Line()->insert(text);
}

void InstallLineEditAccessible() {
    // Qt keeps each factory once, and asks the factories for the most derived class first.
    QAccessible::installFactory(MakeLineEditAccessible);
}

}  // namespace korvane::runtime
