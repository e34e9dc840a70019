// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/line_edit_accessible.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPalette>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "text/line_edit.h"
#include "text/text_attributes.h"
#include "text/text_segments.h"

namespace korvane::text {

using text::accessibleTextAttributes;
using text::segmentAfter;
using text::segmentAt;
using text::segmentBefore;
using text::TextSegment;
namespace {

// Writes the segment's offsets and returns its text.
QString answer(const QString& text, TextSegment segment, int* startOffset, int* endOffset) {
    *startOffset = segment.start;
    *endOffset = segment.end;
    return text.mid(segment.start, segment.end - segment.start);
}

QAccessibleInterface* makeLineEditAccessible(const QString& className, QObject* object) {
    if (className != QLatin1StringView(LineEdit::staticMetaObject.className()))
        return nullptr;
    auto* line = qobject_cast<QLineEdit*>(object);
    return line ? new LineEditAccessible(line) : nullptr;
}

}  // namespace

LineEditAccessible::LineEditAccessible(QLineEdit* line)
    : QAccessibleWidget(line, QAccessible::EditableText) {}

QLineEdit* LineEditAccessible::line() const {
    return static_cast<QLineEdit*>(widget());
}

// The box's text as it is drawn: the same text, or bullets in a password box.
QString LineEditAccessible::shownText() const {
    return line()->displayText();
}

int LineEditAccessible::clampedOffset(int offset) const {
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
    if (line()->isReadOnly()) {
        state.readOnly = true;
    } else {
        state.editable = true;
    }
    state.passwordEdit = line()->echoMode() != QLineEdit::Normal;
    state.multiLine = false;
    state.selectableText = true;
    return state;
}

QString LineEditAccessible::text(QAccessible::Text kind) const {
    QString text = kind == QAccessible::Value ? shownText() : QString();
    if (text.isEmpty())
        text = QAccessibleWidget::text(kind);
    if (text.isEmpty() && kind == QAccessible::Description)
        text = line()->placeholderText();
    return text;
}

void LineEditAccessible::setText(QAccessible::Text kind, const QString& text) {
    if (kind != QAccessible::Value) {
        QAccessibleWidget::setText(kind, text);
        return;
    }
    edit(0, characterCount(), text);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
    const int start = clampedOffset(startOffset);
    const int end = endOffset == -1 ? characterCount() : clampedOffset(endOffset);
    return start < end ? shownText().mid(start, end - start) : QString();
}

int LineEditAccessible::characterCount() const {
    return int(shownText().size());
}

int LineEditAccessible::cursorPosition() const {
    return line()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
    line()->setCursorPosition(clampedOffset(position));
}

int LineEditAccessible::selectionCount() const {
    return line()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && line()->hasSelectedText()) {
        *startOffset = line()->selectionStart();
        *endOffset = line()->selectionEnd();
    }
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);  // a line edit has one selection at most
}

void LineEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        line()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const int start = clampedOffset(startOffset);
    line()->setSelection(start, clampedOffset(endOffset) - start);
}

QString LineEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    const QString shown = shownText();
    return answer(shown, segmentAt(shown, boundaryType, offset), startOffset, endOffset);
}

QString LineEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    const QString shown = shownText();
    return answer(shown, segmentBefore(shown, boundaryType, offset), startOffset, endOffset);
}

QString LineEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    const QString shown = shownText();
    return answer(shown, segmentAfter(shown, boundaryType, offset), startOffset, endOffset);
}

// The whole value is drawn in one font and colour, so it is one run whatever the offset.
QString LineEditAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return accessibleTextAttributes(*line(), line()->alignment());
}

// The caret sits in the middle of the line edit's cursor rectangle; the other offsets are placed
// from it by a layout of the shown text like the one the line edit draws, which takes its scrolling
// into account without reaching into its internals.
QRect LineEditAccessible::characterRect(int offset) const {
    const QString shown = shownText();
    if (offset < 0 || offset >= shown.size())
        return {};
    const TextSegment character = segmentAt(shown, QAccessible::CharBoundary, offset);
    QTextLayout layout(shown, line()->font());
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setTextDirection(line()->layoutDirection());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();
    const QRect caret = line()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const qreal caretX = (caret.left() + caret.right() + 1) / 2.0;
    const qreal from = textLine.cursorToX(character.start);
    const qreal to = textLine.cursorToX(character.end);
    const qreal left = caretX + std::min(from, to) - textLine.cursorToX(line()->cursorPosition());
    const QFontMetrics metrics(line()->font());
    const QRect rect(qRound(left), caret.top(), std::max(1, qRound(std::abs(to - from))),
                     metrics.height());
    return rect.translated(line()->mapToGlobal(QPoint(0, 0)));
}

// The character under the point, or -1 where there is none.
int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = line()->mapFromGlobal(point);
    if (!line()->rect().contains(local))
        return -1;
    const int caret = line()->cursorPositionAt(local);  // the nearest gap between characters
    for (const int offset : {caret, caret - 1}) {
        const QRect rect = characterRect(offset);
        if (point.x() >= rect.left() && point.x() <= rect.right())
            return offset;
    }
    return -1;
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    // The line edit scrolls to show its caret: show the end first, then the start.
    line()->setCursorPosition(clampedOffset(endIndex));
    line()->setCursorPosition(clampedOffset(startIndex));
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
    edit(startOffset, endOffset, QString());
}

void LineEditAccessible::insertText(int offset, const QString& text) {
    edit(offset, offset, text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    edit(startOffset, endOffset, text);
}

void LineEditAccessible::edit(int startOffset, int endOffset, const QString& text) {
    if (line()->isReadOnly())
        return;
    const int length = int(line()->text().size());
    const int start = std::clamp(std::min(startOffset, endOffset), 0, length);
    const int end = std::clamp(std::max(startOffset, endOffset), 0, length);
    if (start == end && text.isEmpty())
        return;
    line()->setSelection(start, end - start);
    line()->insert(text);
}

void installLineEditAccessible() {
    // Qt keeps each factory once, and asks the factories for the most derived class first.
    QAccessible::installFactory(makeLineEditAccessible);
}

}  // namespace korvane::text
