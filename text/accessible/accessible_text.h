// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessibleWidget>
#include <functional>
#include <memory>

#include "text/accessible/accessible_text_source.h"

namespace korvane::text {

// What a screen reader gets from a text box, single-line or multi-line, editable or read-only:
// the text at any offset by character, word, sentence, line and paragraph (the text library's
// segmentation), the caret, the selection, the character boxes, the attributes, and editing. Every
// offset it takes or gives counts code points, as AT-SPI counts characters (an emoji is one),
// whatever the box keeps.
class AccessibleText final : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    AccessibleText(QWidget* widget, std::unique_ptr<AccessibleTextSource> source);
    ~AccessibleText() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text kind, const QString& text) override;

    // The text interface.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    int cursorPosition() const override;
    void setCursorPosition(int offset) override;
    int selectionCount() const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;

    // The editable text interface; a read-only box refuses every edit.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    // A code-point offset as a position of the text, clamped to it (-1 is the end), and back.
    qsizetype position(int offset) const;
    int offset(qsizetype position) const;
    // The text from `start` to `end`, or none where there is no memory to copy it: Qt's
    // accessibility bridge calls in here, and no failure may pass back through it.
    QString copied(qsizetype start, qsizetype end) const noexcept;
    // Finds a span, writes its offsets and returns its text; where that cannot be done for want
    // of memory, no text, and -1 for both offsets.
    QString answer(const std::function<TextRange()>& find, int* startOffset,
                   int* endOffset) const noexcept;

    std::unique_ptr<AccessibleTextSource> source_;
};

}  // namespace korvane::text
