// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QString>
#include <QStringList>

#include "text/editor/text_editor.h"
#include "text/view/layout_cache.h"
#include "text/view/text_input.h"

class QMenu;

namespace korvane::text {

// The widget that shows a text editor: a view of a long plain text with its caret and selection,
// in a scroll area whose scroll bars are always there. It lays out and paints the lines in view
// (lines never wrap), scrolls, blinks the caret while it has focus, opens the context menu, and
// hands what the user does (keys, the mouse, the wheel, input methods, drag and drop) to its
// input handling, which turns it into the editor's commands: every edit, the caret and the
// selection are the editor's, and the view follows its signals. It tells assistive technology of
// every edit and move.
class TextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // The editor the view shows; it belongs to the view.
    const TextEditor& editor() const { return editor_; }
    TextEditor& editor() { return editor_; }
    // Replaces the whole text; the caret goes to the start and the view to the top.
    void setText(QString text);

    // The menu a right click opens: Undo, Redo, Cut, Copy, Paste, Delete and Select All, or
    // only Copy and Select All when read-only, and the owner's item below them. The caller owns
    // it.
    QMenu* createStandardContextMenu();
    // An item of the owner's below the standard ones in the menu the view opens, which emits
    // extraMenuItemTriggered(); none while the caption is empty.
    void setExtraMenuItem(const QString& caption);
    const QString& extraMenuItem() const { return extraMenuItem_; }
    // A submenu of the owner's below the standard ones and the item, titled `title`, whose items
    // emit extraSubmenuItemTriggered() with their index; none while `items` is empty.
    void setExtraSubmenu(const QString& title, const QStringList& items);
    const QStringList& extraSubmenu() const { return extraSubmenu_; }

    // The line at the top of the view, and how many whole lines it shows.
    int firstVisibleLine() const;
    int visibleLineCount() const;
    // The box of the character at `position` (the caret's place at the end of a line), in
    // viewport coordinates.
    QRect characterRect(qsizetype position) const;
    // The position nearest to a viewport point.
    qsizetype positionAt(QPoint point) const;
    // The horizontal place of `position` on its line, from the line's left end, and the
    // position on `line` nearest to such a place.
    qreal xOf(qsizetype position) const;
    qsizetype positionAt(int line, qreal x) const;
    // Brings the character at `position` into view: by as few lines as needed, and sideways to
    // the middle of the view if it lies beyond either side, as QPlainTextEdit does.
    void ensureVisible(qsizetype position);
    // Shows the caret at once, where it is, and starts its blink again.
    void restartBlinking();

    // What an input method asks of the text around the caret and of where it is shown.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    void extraMenuItemTriggered();
    void extraSubmenuItemTriggered(int index);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // The blank space around the text, as QPlainTextEdit's document margin.
    static constexpr int kMargin = 4;

    // Hands what the user did to the input handling; false for an event it leaves to the
    // scroll area. The one place where what handling the user's events throws is caught: an
    // edit that could not get its memory was refused and reported by the editor, and whatever
    // else failed for want of memory (a selection by the mouse, a drag) is dropped with its
    // event, which goes no further into Qt.
    bool handleInput(QEvent& event) noexcept;
    // Where the view's left edge and right edge lie on a line, from the line's left end.
    LayoutCache::Span viewSpan() const;
    qreal topOffset() const;
    void adjustScrollBars();
    // Repaints lines [from, to] where they are in view, and nothing else.
    void updateLines(int from, int to);
    // Repaints the line the caret was last drawn on, if any, and the caret's line now.
    void updateCaretLines();
    // Before an edit of the document: notes what the view needs to follow it.
    void noteComingChange(qsizetype position, qsizetype removed) noexcept;
    // After it: moves the layouts and the lines in view with the text, and tells assistive
    // technology what changed.
    void followEdit(const TextChange& change) noexcept;
    // Repaints a caret or selection that moved, and tells assistive technology.
    void followCursor(const TextCursor::Moved& moved);
    void followPreedit(const Preedit& before);
    void followReadOnly(bool readOnly);
    // Tells assistive technology what an edit removed at `position` and inserted.
    void notifyTextChange(qsizetype position, const QString& removed, const QString& inserted);

    TextEditor editor_;
    mutable LayoutCache layouts_;
    TextInput input_;
    // What noteComingChange saw before the edit in progress: the text assistive technology is
    // told was removed and where, in code points, and the line at the top.
    struct ComingChange {
        QString removedText;
        qsizetype offset = 0;
        int firstVisibleLine = 0;
    } coming_;
    bool caretShown_ = false;
    QBasicTimer blinkTimer_;
    // The line the caret was last painted on, or -1; an edit that renumbers it repaints it too.
    int paintedCaretLine_ = -1;
    QString extraMenuItem_;
    QString extraSubmenuTitle_;
    QStringList extraSubmenu_;
};

}  // namespace korvane::text
