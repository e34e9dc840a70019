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
#include "text/text_view.h"

namespace korvane::text {
namespace {

TextViewEventObserver gObserver = nullptr;

// How far either side of the offset a very long line is looked at.
constexpr qsizetype kWindow = 4096;

class TextViewAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextViewAccessible(TextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
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

    // --- QAccessibleTextInterface

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && view()->hasSelection()) {
            *startOffset = int(view()->selectionStart());
            *endOffset = int(view()->selectionEnd());
        }
    }
    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        view()->setSelection(startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0)
            view()->setCursorPosition(view()->cursorPosition());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0)
            view()->setSelection(startOffset, endOffset);
    }
    int cursorPosition() const override { return int(view()->cursorPosition()); }
    void setCursorPosition(int position) override {
        view()->setCursorPosition(position);
        view()->ensureVisible(view()->cursorPosition());
    }
    QString text(int startOffset, int endOffset) const override {
        const qsizetype length = view()->length();
        const qsizetype start = std::clamp<qsizetype>(startOffset, 0, length);
        const qsizetype end = std::clamp<qsizetype>(endOffset, start, length);
        return view()->buffer().mid(start, end - start);
    }
    int characterCount() const override { return int(view()->length()); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        if (boundary == QAccessible::NoBoundary)
            return answer(0, view()->length(), startOffset, endOffset);
        const TextSegment at = segmentAt(offset, boundary);
        return answer(at.start, at.end, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        const qsizetype clampedOffset = std::clamp<qsizetype>(offset, 0, view()->length());
        const TextSegment at = segmentAt(offset, boundary);
        if (boundary == QAccessible::NoBoundary || at.start == 0)
            return answer(clampedOffset, clampedOffset, startOffset, endOffset);
        const TextSegment before = segmentAt(at.start - 1, boundary);
        return answer(before.start, before.end, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        const qsizetype clampedOffset = std::clamp<qsizetype>(offset, 0, view()->length());
        const TextSegment at = segmentAt(offset, boundary);
        if (boundary == QAccessible::NoBoundary || at.end >= view()->length())
            return answer(clampedOffset, clampedOffset, startOffset, endOffset);
        const TextSegment after = segmentAt(at.end, boundary);
        return answer(after.start, after.end, startOffset, endOffset);
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        // One run of the view's font and colours over the line around the offset.
        const TextSegment line = segmentAt(offset, QAccessible::LineBoundary);
        *startOffset = int(line.start);
        *endOffset = int(line.end);
        return AccessibleTextAttributes(*view());
    }

    QRect characterRect(int offset) const override {
        const QRect rect = view()->characterRect(offset);
        return QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(local))
            return -1;
        return int(view()->positionAt(local));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        view()->ensureVisible(endIndex);
        view()->ensureVisible(startIndex);
    }

private:
    TextView* view() const { return static_cast<TextView*>(widget()); }

    TextSegment segmentAt(qsizetype offset, QAccessible::TextBoundaryType boundary) const {
        return SegmentAt(view()->buffer(), view()->lineIndex(), offset, boundary);
    }

    QString answer(qsizetype start, qsizetype end, int* startOffset, int* endOffset) const {
        *startOffset = int(start);
        *endOffset = int(end);
        return view()->buffer().mid(start, end - start);
    }
};

QAccessibleInterface* TextViewFactory(const QString& className, QObject* object) {
    if (object && object->isWidgetType() &&
        className == QLatin1String(TextView::staticMetaObject.className()))
        return new TextViewAccessible(static_cast<TextView*>(object));
    return nullptr;
}

}  // namespace

TextSegment SegmentAt(const GapBuffer& text, const LineIndex& lines, qsizetype offset,
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
    if (offset == lineEnd)
        return {lineEnd, withBreak};  // the line break, a segment of its own

    qsizetype from = std::max(lineStart, offset - kWindow);
    qsizetype to = std::min(lineEnd, offset + kWindow);
    if (from > lineStart && text[from].isLowSurrogate())
        --from;
    if (to < lineEnd && text[to].isLowSurrogate())
        ++to;
    // The characters, words and sentences of the window, cut as the single-line boxes cut theirs.
    const TextSegment local =
        text::SegmentAt(text.mid(from, to - from), boundary, int(offset - from));
    return {from + local.start, from + local.end};
}

bool TextViewEventsWanted() {
    return gObserver || QAccessible::isActive();
}

void SendTextViewEvent(QAccessibleEvent* event) {
    if (gObserver)
        gObserver(event);
    QAccessible::updateAccessibility(event);
}

void SetTextViewEventObserver(TextViewEventObserver observer) {
    gObserver = observer;
}

void InstallTextViewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(TextViewFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace korvane::text
