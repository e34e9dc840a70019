// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "text/model/text_document.h"
#include "text/view/layout_cache.h"
#include "text/view/text_cursor.h"

class QMenu;
class QMimeData;

namespace korvane::text {

class PrimarySelection;
class TextInput;

// An edit, or a copy, that the view refused because it could not get its memory: the text,
// the caret, the selection, the undo history and the clipboard stayed as they were.
struct RefusedEdit {
    enum Kind {
        Typing,
        Deleting,
        Pasting,
        PastingSelection,  // the primary selection, with the middle button
        Dropping,
        Composing,  // an input method's commit
        Undoing,
        Redoing,
        Cutting,
        Copying,
        Dragging,  // the selection taken into a drag
        Writing,   // by assistive technology
    } kind = Typing;
    // The size of the text concerned (the one that would come in, or be copied) in bytes of
    // UTF-8, or as many as its characters where only those were counted; -1 when unknown.
    qint64 bytes = -1;
};

// A view of a long plain text, with a caret and a selection the user moves with the mouse and
// the keyboard, and copies; unless it is read-only, the user also edits it as in a plain-text
// editor: typing, deleting, undo and redo, the clipboard, input methods and drag and drop. The
// view is a facade over the parts that own its state: the document (the text, its lines, its
// history), the cursor (the caret and the selection), the layout cache (the lines in view laid
// out, a slice at a time in a long line) and the input handling (keys, mouse, input methods,
// drag and drop). Lines never wrap.
class TextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // The document the view shows and edits; it belongs to the view.
    const TextDocument& document() const { return *document_; }
    TextDocument& document() { return *document_; }
    // The whole text, a copy that shares the document's storage while the text lies in one
    // piece.
    QString text() const { return document_->toString(); }
    qsizetype length() const { return document_->length(); }
    int lineCount() const { return document_->lineCount(); }

    // Replaces the whole text; the caret goes to the start and the view to the top.
    void setText(QString text);

    // A read-only view (the default) shows, selects and copies; the user cannot change it.
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    // Puts `text` in at the caret in place of the selection, as typing it does: a run of typed
    // characters is one undo step, a line break a step of its own.
    void insertTyped(const QString& text);
    // Puts `text` in at the caret in place of the selection as one undo step, as a paste does.
    void insertText(QString text);
    void undo();
    void redo();
    void cut();
    void paste();
    // Removes the selected text.
    void deleteSelection();
    // The text an input method is composing, shown at the caret but not yet in the document.
    const QString& preeditText() const { return layouts_.preedit().text; }
    // Replaces `removed` characters at `position` by `inserted`. The caret, the selection and
    // the lines in view stay on the text they were on, as in a document edited elsewhere.
    void replace(qsizetype position, qsizetype removed, QStringView inserted);

    qsizetype cursorPosition() const { return cursor_.position(); }
    qsizetype anchorPosition() const { return cursor_.anchor(); }
    qsizetype selectionStart() const { return cursor_.selectionStart(); }
    qsizetype selectionEnd() const { return cursor_.selectionEnd(); }
    bool hasSelection() const { return cursor_.hasSelection(); }
    // The selected text with its line breaks as line feeds.
    QString selectedText() const;
    // Selects from `anchor` to `position`, where the caret goes; equal values select nothing.
    void setSelection(qsizetype anchor, qsizetype position);
    void setCursorPosition(qsizetype position) { setSelection(position, position); }
    void selectAll();
    // Puts the selection on the clipboard.
    void copy();
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

    // The line at the top of the view.
    int firstVisibleLine() const;
    int lineAt(qsizetype position) const { return document_->lineAt(position); }
    qsizetype lineStart(int line) const { return document_->lineStart(line); }
    qsizetype lineEnd(int line) const { return document_->lineEnd(line); }
    // The box of the character at `position` (the caret's place at the end of a line), in
    // viewport coordinates.
    QRect characterRect(qsizetype position) const;
    // The position nearest to a viewport point.
    qsizetype positionAt(QPoint point) const;
    // Brings the character at `position` into view: by as few lines as needed, and sideways to
    // the middle of the view if it lies beyond either side, as QPlainTextEdit does.
    void ensureVisible(qsizetype position);

    // What an input method asks of the text around the caret.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Makes an edit (or a copy) the user asked for, refused whole when it cannot get its memory,
    // or when whoever follows the view's edits cannot follow it: then the text, the caret, the
    // selection and the undo history go back to what they were, editRefused() tells of it, and
    // false is returned. An edit inside another one is part of it. Every edit, copy and paste
    // the view makes for the user runs so; nothing it throws goes on to the caller.
    bool runUserEdit(RefusedEdit::Kind kind, const std::function<void()>& edit);
    // Runs each user edit, so that its owner sees what follows it fail: calls `edit`, and
    // throws std::bad_alloc when the edit, or what the owner does on hearing of it, could not
    // get its memory. Without one, the edit is just called.
    using EditScope = std::function<void(const std::function<void()>& edit)>;
    void setEditScope(EditScope scope) { editScope_ = std::move(scope); }
    // The memory, in bytes, that whoever follows the view's edits needs for an edit adding
    // `added` characters, counted with the view's own before the edit is made.
    using FollowerNeed = std::function<qint64(qsizetype added)>;
    void setFollowerNeed(FollowerNeed need) { followerNeed_ = std::move(need); }
    // The memory the document and the view need for an edit putting `added` characters, held
    // in a string already, in place of `removed`: the buffer's growth, the line starts, the
    // note in the history and what assistive technology is told.
    qint64 memoryToReplace(qsizetype added, qsizetype removed) const;

Q_SIGNALS:
    void editRefused(const korvane::text::RefusedEdit& refused);
    // Before an edit of the document, while the `removed` characters at `position` can still
    // be read, and after it, once the view has followed it: caret, selection and lines in view.
    void contentsAboutToChange(qsizetype position, qsizetype removed);
    void contentsChanged(const korvane::text::TextChange& change);
    void cursorPositionChanged();
    void selectionChanged();
    void extraMenuItemTriggered();
    void extraSubmenuItemTriggered(int index);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class TextInput;

    // The blank space around the text, as QPlainTextEdit's document margin.
    static constexpr int kMargin = 4;

    // Replaces `removed` characters at `position` by the user's `text`, its line breaks made
    // line feeds; the caret goes after it.
    void editAt(qsizetype position, qsizetype removed, QString text, EditKind kind);
    // Takes one step of the document's history (its undo or redo) as a user edit refused as
    // `kind`, and puts the caret where the step leaves it.
    void stepHistory(RefusedEdit::Kind kind, std::optional<qsizetype> (TextDocument::*step)());
    // Runs a user edit as runUserEdit() does. An edit that is not `named` (a key press, a mouse
    // press: what it does is not known yet) is refused as the kind of the first edit inside it.
    bool runEdit(RefusedEdit::Kind kind, const std::function<void()>& edit, bool named);
    // Inside a user edit: throws std::bad_alloc, the refusal's size set, unless an edit putting
    // `added` characters in place of `removed` (with the string of `added`, if `held` is false)
    // and following it can have the memory it needs. Small edits are not asked about.
    void ensureMemory(qsizetype added, qsizetype removed, bool held, QStringView text = {});
    // The text of clipboard or drag data for a user edit in place of `removed` characters:
    // when this process offers the data its size is checked before any copy, else after Qt
    // fetched it. `owned` tells whether the data is this process's own.
    QString mimeText(const QMimeData& data, bool owned, qsizetype removed);
    // Puts the text of the clipboard's primary selection in at `position`, as the middle button
    // does.
    void pasteSelectionAt(qsizetype position);
    void showContextMenu(const QPoint& globalPosition);
    // Where the view's left edge and right edge lie on a line, from the line's left end.
    LayoutCache::Span viewSpan() const;
    // The horizontal place of `position` on its line, from the line's left end.
    qreal xOf(qsizetype position) const;
    qsizetype positionAt(int line, qreal x) const;
    // `position` within the text, and off the second half of a surrogate pair.
    qsizetype clamped(qsizetype position) const;
    qreal topOffset() const;
    // Tells assistive technology what an edit removed at `position` and inserted.
    void notifyTextChange(qsizetype position, const QString& removed, const QString& inserted);
    // Before an edit of the document: notes what the view needs to follow it.
    void noteComingChange(qsizetype position, qsizetype removed) noexcept;
    // After it: moves the layouts, the lines in view, the caret and the selection with the text.
    void followChange(const TextChange& change) noexcept;

    void moveCaret(qsizetype position, bool extend);
    // Sets the anchor and the caret, and tells who needs to know.
    void select(qsizetype anchor, qsizetype caret);
    void adjustScrollBars();
    int visibleLineCount() const;
    // Repaints lines [from, to] where they are in view, and nothing else.
    void updateLines(int from, int to);
    // Repaints the line the caret was last drawn on, if any, and the caret's line now.
    void updateCaretLines();
    void restartBlinking();
    // Offers the selection as the primary selection, where the platform has one.
    void updatePrimarySelection();
    // Has the primary selection this view last offered keep its text as it reads now, before
    // the selection goes or its text changes, and offers it no longer.
    void keepPrimarySelection();

    TextDocument* document_;
    TextCursor cursor_;
    mutable LayoutCache layouts_;
    std::unique_ptr<TextInput> input_;
    // What noteComingChange saw before the edit in progress: the text assistive technology is
    // told was removed and where, in code points, and the line at the top.
    struct ComingChange {
        QString removedText;
        qsizetype offset = 0;
        int firstVisibleLine = 0;
    } coming_;
    bool readOnly_ = true;
    bool caretShown_ = false;
    QBasicTimer blinkTimer_;
    // The line the caret was last painted on, or -1; an edit that renumbers it repaints it too.
    int paintedCaretLine_ = -1;
    // The primary selection that still reads this view's selection, while the clipboard has it.
    QPointer<PrimarySelection> primary_;
    QString extraMenuItem_;
    QString extraSubmenuTitle_;
    QStringList extraSubmenu_;
    EditScope editScope_;
    FollowerNeed followerNeed_;
    // The refusal the user edit under way would report, if any, and what is done once it
    // stands.
    RefusedEdit* userEdit_ = nullptr;
    bool userEditNamed_ = false;
    std::vector<std::function<void()>> onceKept_;
};

}  // namespace korvane::text
