// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace korvane::text {

// What a screen reader gets from a single-line text box. Qt 6.4's own line-edit interface loops
// for ever when asked for the word or sentence at the end of the text, and reports attribute
// runs of no length, from which a reader rebuilds the line short of its last character. This
// one answers every text query from QTextBoundaryFinder cut points, reports the whole value as
// one attribute run, and edits through the line edit, so that the box changes as for typing.
class LineEditAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* line);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text kind, const QString& text) override;

    // The text interface, in UTF-16 offsets into the text the box shows.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    int selectionCount() const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;

    // The editable text interface. A read-only box refuses every edit.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    QLineEdit* line() const;
    QString shownText() const;
    int clampedOffset(int offset) const;
    // Replaces the span with the text through QLineEdit::insert, which validates the result and
    // emits textEdited and textChanged as typing does.
    void edit(int startOffset, int endOffset, const QString& text);
};

// Makes Qt build a LineEditAccessible for every korvane::text::LineEdit. Safe to call more
// than once.
void installLineEditAccessible();

}  // namespace korvane::text
