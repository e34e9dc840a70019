// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/accessible/accessible_text.h"

#include <algorithm>

#include "text/model/text_segmentation.h"

namespace korvane::text {
namespace {

TextBoundary boundaryOf(QAccessible::TextBoundaryType type) {
    switch (type) {
        case QAccessible::CharBoundary:
            return TextBoundary::Character;
        case QAccessible::WordBoundary:
            return TextBoundary::Word;
        case QAccessible::SentenceBoundary:
            return TextBoundary::Sentence;
        case QAccessible::ParagraphBoundary:
            return TextBoundary::Paragraph;
        case QAccessible::LineBoundary:
            return TextBoundary::Line;
        case QAccessible::NoBoundary:
            break;
    }
    return TextBoundary::Whole;
}

}  // namespace

AccessibleText::AccessibleText(QWidget* widget, std::unique_ptr<AccessibleTextSource> source)
    : QAccessibleWidget(widget, QAccessible::EditableText), source_(std::move(source)) {}

AccessibleText::~AccessibleText() = default;

void* AccessibleText::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleText::state() const {
    QAccessible::State state = QAccessibleWidget::state();  // focusable, focused, …
    state.readOnly = source_->isReadOnly();
    state.editable = !source_->isReadOnly();
    state.multiLine = source_->isMultiLine();
    state.passwordEdit = source_->isPassword();
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QString AccessibleText::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return copied(0, source_->text().length());
    return QAccessibleWidget::text(kind);
}

void AccessibleText::setText(QAccessible::Text kind, const QString& text) {
    if (kind != QAccessible::Value) {
        QAccessibleWidget::setText(kind, text);
        return;
    }
    if (!source_->isReadOnly())
        source_->setValue(text);
}

qsizetype AccessibleText::position(int offset) const {
    const TextReader& shown = source_->text();
    if (offset == -1)
        return shown.length();
    return std::clamp<qsizetype>(shown.positionOfCodePoint(std::max(offset, 0)), 0, shown.length());
}

int AccessibleText::offset(qsizetype position) const {
    return int(source_->text().codePointOffset(position));
}

QString AccessibleText::copied(qsizetype start, qsizetype end) const noexcept {
    try {
        return end > start ? source_->text().mid(start, end - start) : QString();
    } catch (...) {
        return QString();
    }
}

QString AccessibleText::answer(const std::function<TextRange()>& find, int* startOffset,
                               int* endOffset) const noexcept {
    try {
        const TextRange range = find();
        QString text = source_->text().mid(range.start, range.length());
        *startOffset = offset(range.start);
        *endOffset = offset(range.end);
        return text;
    } catch (...) {
        *startOffset = *endOffset = -1;
        return QString();
    }
}

QString AccessibleText::text(int startOffset, int endOffset) const {
    return copied(position(startOffset), position(endOffset));
}

int AccessibleText::characterCount() const {
    return offset(source_->text().length());
}

int AccessibleText::cursorPosition() const {
    return offset(source_->cursorPosition());
}

void AccessibleText::setCursorPosition(int offset) {
    const qsizetype at = position(offset);
    source_->select(at, at);
}

int AccessibleText::selectionCount() const {
    return source_->selection().length() > 0 ? 1 : 0;
}

void AccessibleText::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const TextRange selected = source_->selection();
    if (selectionIndex == 0 && selected.length() > 0) {
        *startOffset = offset(selected.start);
        *endOffset = offset(selected.end);
    }
}

void AccessibleText::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);  // a text box has one selection at most
}

void AccessibleText::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        const qsizetype caret = source_->cursorPosition();
        source_->select(caret, caret);
    }
}

void AccessibleText::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        source_->select(position(startOffset), position(endOffset));
}

QString AccessibleText::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                     int* startOffset, int* endOffset) const {
    return answer(
        [&] { return segmentAt(source_->text(), position(offset), boundaryOf(boundary)); },
        startOffset, endOffset);
}

QString AccessibleText::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const {
    return answer(
        [&] { return segmentBefore(source_->text(), position(offset), boundaryOf(boundary)); },
        startOffset, endOffset);
}

QString AccessibleText::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                        int* startOffset, int* endOffset) const {
    return answer(
        [&] { return segmentAfter(source_->text(), position(offset), boundaryOf(boundary)); },
        startOffset, endOffset);
}

QString AccessibleText::attributes(int offset, int* startOffset, int* endOffset) const {
    // The box draws its text in one font and colour: one run over the line around the offset.
    const TextRange line = segmentAt(source_->text(), position(offset), TextBoundary::Line);
    *startOffset = this->offset(line.start);
    *endOffset = this->offset(line.end);
    return source_->attributes();
}

QRect AccessibleText::characterRect(int offset) const {
    return source_->characterRect(position(offset));
}

int AccessibleText::offsetAtPoint(const QPoint& point) const {
    const qsizetype at = source_->positionAt(point);
    return at < 0 ? -1 : offset(at);
}

void AccessibleText::scrollToSubstring(int startIndex, int endIndex) {
    source_->scrollTo(position(startIndex), position(endIndex));
}

void AccessibleText::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void AccessibleText::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void AccessibleText::replaceText(int startOffset, int endOffset, const QString& text) {
    if (source_->isReadOnly())
        return;
    const qsizetype start = position(std::min(startOffset, endOffset));
    const qsizetype end = position(std::max(startOffset, endOffset));
    if (start == end && text.isEmpty())
        return;
    source_->edit(start, end, text);
}

}  // namespace korvane::text
