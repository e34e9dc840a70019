// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/text_view_accessible.h"

#include <QAccessibleWidget>
#include <QFontInfo>
#include <QScrollBar>
#include <algorithm>

#include "text/gap_buffer.h"
#include "text/line_index.h"
#include "text/text_attributes.h"
#include "text/text_diff.h"
#include "text/text_view.h"

namespace korvane::text {
namespace {

// How far either side of the offset a very long line is looked at.
constexpr qsizetype kWindow = 4096;

// Every offset this interface takes or gives is in code points, as AT-SPI counts; the view's
// positions are UTF-16 units.
class TextViewAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit TextViewAccessible(TextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = view()->isReadOnly();
        state.editable = !view()->isReadOnly();
        state.multiLine = true;
        state.selectableText = true;
        state.focusable = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return view()->text();
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind != QAccessible::Value || view()->isReadOnly())
            return;
        // Only the span that differs is rewritten, as one step to undo.
        const QString& current = view()->text();
        const ChangedSpan span = findChangedSpan(current, text);
        edit(span.prefix, current.size() - span.suffix,
             text.mid(span.prefix, text.size() - span.prefix - span.suffix));
    }

    // --- QAccessibleEditableTextInterface: refused on a read-only view

    void deleteText(int startOffset, int endOffset) override {
        edit(position(startOffset), position(endOffset), QString());
    }
    void insertText(int offset, const QString& text) override {
        const qsizetype at = position(offset);
        edit(at, at, text);
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        edit(position(startOffset), position(endOffset), text);
    }

    // --- QAccessibleTextInterface

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && view()->hasSelection()) {
            *startOffset = offset(view()->selectionStart());
            *endOffset = offset(view()->selectionEnd());
        }
    }
    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        view()->setSelection(position(startOffset), position(endOffset));
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0)
            view()->setCursorPosition(view()->cursorPosition());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0)
            view()->setSelection(position(startOffset), position(endOffset));
    }
    int cursorPosition() const override { return offset(view()->cursorPosition()); }
    void setCursorPosition(int offset) override {
        view()->setCursorPosition(position(offset));
        view()->ensureVisible(view()->cursorPosition());
    }
    QString text(int startOffset, int endOffset) const override {
        const qsizetype start = position(startOffset);
        const qsizetype end = std::max(start, position(endOffset));
        return view()->buffer().mid(start, end - start);
    }
    int characterCount() const override {
        return int(view()->length() - view()->surrogatePairCount());
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        if (boundary == QAccessible::NoBoundary)
            return answer(0, view()->length(), startOffset, endOffset);
        const TextSegment at = segmentAt(position(offset), boundary);
        return answer(at.start, at.end, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        const qsizetype clampedOffset = position(offset);
        const TextSegment at = segmentAt(clampedOffset, boundary);
        if (boundary == QAccessible::NoBoundary || at.start == 0)
            return answer(clampedOffset, clampedOffset, startOffset, endOffset);
        const TextSegment before = segmentAt(at.start - 1, boundary);
        return answer(before.start, before.end, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        const qsizetype clampedOffset = position(offset);
        const TextSegment at = segmentAt(clampedOffset, boundary);
        if (boundary == QAccessible::NoBoundary || at.end >= view()->length())
            return answer(clampedOffset, clampedOffset, startOffset, endOffset);
        const TextSegment after = segmentAt(at.end, boundary);
        return answer(after.start, after.end, startOffset, endOffset);
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        // One run of the view's font and colours over the line around the offset.
        const TextSegment line = segmentAt(position(offset), QAccessible::LineBoundary);
        *startOffset = this->offset(line.start);
        *endOffset = this->offset(line.end);
        return accessibleTextAttributes(*view());
    }

    QRect characterRect(int offset) const override {
        const QRect rect = view()->characterRect(position(offset));
        return QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(local))
            return -1;
        return offset(view()->positionAt(local));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        view()->ensureVisible(position(endIndex));
        view()->ensureVisible(position(startIndex));
    }

private:
    TextView* view() const { return static_cast<TextView*>(widget()); }

    qsizetype position(int offset) const { return textViewPosition(*view(), offset); }
    int offset(qsizetype position) const { return int(textViewOffset(*view(), position)); }

    // Replaces the UTF-16 span [start, end) by `text` as one step to undo, the caret after it.
    void edit(qsizetype start, qsizetype end, const QString& text) {
        if (view()->isReadOnly() || end < start)
            return;
        view()->setSelection(start, end);
        view()->insertText(text);
    }

    TextSegment segmentAt(qsizetype offset, QAccessible::TextBoundaryType boundary) const {
        return documentSegmentAt(view()->buffer(), view()->lineIndex(), offset, boundary);
    }

    QString answer(qsizetype start, qsizetype end, int* startOffset, int* endOffset) const {
        *startOffset = offset(start);
        *endOffset = offset(end);
        return view()->buffer().mid(start, end - start);
    }
};

QAccessibleInterface* textViewFactory(const QString& className, QObject* object) {
    if (object && object->isWidgetType() &&
        className == QLatin1String(TextView::staticMetaObject.className()))
        return new TextViewAccessible(static_cast<TextView*>(object));
    return nullptr;
}

}  // namespace

TextSegment documentSegmentAt(const GapBuffer& text, const LineIndex& lines, qsizetype offset,
                              QAccessible::TextBoundaryType boundary) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    if (boundary == QAccessible::NoBoundary)
        return {0, text.size()};
    const int line = lines.lineAt(offset);
    const qsizetype lineStart = lines.lineStart(line);
    const qsizetype lineEnd = lines.lineEnd(line, text.size());
    const qsizetype withBreak = lineEnd < text.size() ? lineEnd + 1 : lineEnd;
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary)
        return {lineStart, withBreak};
    if (offset == text.size())
        return {offset, offset};
    if (offset == lineEnd) {
        // A line break ends the sentence before it on its line: a screen reader reading by
        // sentence would speak a break of its own as an empty utterance. For the other
        // boundaries, and on an empty line, the break is a segment of its own.
        if (boundary != QAccessible::SentenceBoundary || lineStart == lineEnd)
            return {lineEnd, withBreak};
        --offset;
    }

    qsizetype from = std::max(lineStart, offset - kWindow);
    qsizetype to = std::min(lineEnd, offset + kWindow);
    if (from > lineStart && text[from].isLowSurrogate())
        --from;
    if (to < lineEnd && text[to].isLowSurrogate())
        ++to;
    // The characters, words and sentences of the window, cut as the single-line boxes cut theirs.
    const TextSegment local =
        text::segmentAt(text.mid(from, to - from), boundary, int(offset - from));
    const qsizetype end = from + local.end;
    if (boundary == QAccessible::SentenceBoundary && end == lineEnd)
        return {from + local.start, withBreak};
    return {from + local.start, end};
}

qsizetype textViewOffset(const TextView& view, qsizetype position) {
    const GapBuffer& text = view.buffer();
    position = std::clamp<qsizetype>(position, 0, text.size());
    if (view.surrogatePairCount() == 0)
        return position;
    qsizetype offset = position;
    for (qsizetype i = 1; i < position; ++i) {
        if (text.at(i).isLowSurrogate() && text.at(i - 1).isHighSurrogate())
            --offset;
    }
    return offset;
}

qsizetype textViewPosition(const TextView& view, qsizetype offset) {
    const GapBuffer& text = view.buffer();
    if (offset < 0)
        return 0;
    if (view.surrogatePairCount() == 0)
        return std::min(offset, text.size());
    qsizetype position = 0;
    for (qsizetype counted = 0; counted < offset && position < text.size(); ++counted) {
        if (text.at(position).isHighSurrogate() && position + 1 < text.size() &&
            text.at(position + 1).isLowSurrogate())
            position += 2;
        else
            ++position;
    }
    return position;
}

void installTextViewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(textViewFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace korvane::text
