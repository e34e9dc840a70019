// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPointer>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "text/text_document.h"

class QMenu;

namespace korvane::text {

class PrimarySelection;

// A view of a long plain text, with a caret and a selection the user moves with the mouse and
// the keyboard, and copies; unless it is read-only, the user also edits it as in a plain-text
// editor: typing, deleting, undo and redo, the clipboard, input methods and drag and drop. The text
// is kept in a gap buffer, so that an edit costs what it changes, with an index of where its lines
// start; only the lines in view are laid out, and of a line longer than kLongLine only a slice
// around the part in view, so a text of many megabytes, or one line of megabytes, costs no more to
// show than a page of it. Lines never wrap.
class TextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // The whole text. It moves the buffer's gap from the last edit to the end, which costs the
    // distance between them: for the few callers that need all of it.
    const QString& text() const { return document_->text(); }
    // The document the view shows and edits; it belongs to the view.
    TextDocument& document() const { return *document_; }
    // The text as the view keeps it, for reading spans of it.
    const GapBuffer& buffer() const { return document_->buffer(); }
    qsizetype length() const { return document_->length(); }
    int lineCount() const { return document_->lineCount(); }
    // How many surrogate pairs the text holds, so that a text without any counts in code points
    // at no cost. It is counted when first asked for and then kept up to date by each edit while
    // assistive technology listens; an edit made while none does lets it be counted again.
    qsizetype surrogatePairCount() const;

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
    const QString& preeditText() const { return preedit_; }
    // Replaces `removed` characters at `position` by `inserted`. The caret, the selection and
    // the lines in view stay on the text they were on, as in a document edited elsewhere.
    void replace(qsizetype position, qsizetype removed, QStringView inserted);

    qsizetype cursorPosition() const { return caret_; }
    qsizetype anchorPosition() const { return anchor_; }
    qsizetype selectionStart() const { return std::min(anchor_, caret_); }
    qsizetype selectionEnd() const { return std::max(anchor_, caret_); }
    bool hasSelection() const { return anchor_ != caret_; }
    // The selected text with its line breaks as line feeds.
    QString selectedText() const;
    // Selects from `anchor` to `position`, where the caret goes; equal values select nothing.
    void setSelection(qsizetype anchor, qsizetype position);
    void setCursorPosition(qsizetype position) { setSelection(position, position); }
    void selectAll();
    // Puts the selection on the clipboard.
    void copy() const;
    // The menu a right click opens: Undo, Redo, Cut, Copy, Paste, Delete and Select All, or
    // only Copy and Select All when read-only. The caller owns it.
    QMenu* createStandardContextMenu();

    // The line at the top of the view.
    int firstVisibleLine() const;
    const LineIndex& lineIndex() const { return document_->lines(); }
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

    // Lines longer than this many characters are laid out a slice at a time.
    static constexpr qsizetype kLongLine = 2048;

Q_SIGNALS:
    void textChanged();
    void cursorPositionChanged();
    void selectionChanged();

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
    // The blank space around the text, as QPlainTextEdit's document margin.
    static constexpr int kMargin = 4;

    // The laid-out text of one line, or of the slice of a long line starting `offset`
    // characters into it and drawn `x` pixels from the line's left end.
    struct LineLayout {
        qsizetype offset = 0;
        qsizetype length = 0;
        qreal x = 0;
        qreal width = 0;
        std::unique_ptr<QTextLayout> layout;
    };

    // The line's layout, covering at least the horizontal range in view for a long line.
    LineLayout& layoutOf(int line) const;
    // A layout of `text`, with the input method's pre-edit text shown at `preeditAt` if that is
    // not negative.
    std::unique_ptr<QTextLayout> makeLayout(QStringView text, qsizetype preeditAt = -1) const;
    // Where in the slice of `line` starting `offset` characters into it the pre-edit text is
    // shown, or -1.
    qsizetype preeditIn(int line, qsizetype offset, qsizetype length) const;
    // Replaces `removed` characters at `position` by the user's `text`, its line breaks made
    // line feeds; the caret goes after it.
    void editAt(qsizetype position, qsizetype removed, QString text, TextDocument::EditKind kind);
    // Handles the keys that change the text; false for any other key.
    bool editingKey(QKeyEvent* event);
    void showContextMenu(const QPoint& globalPosition);
    // Lays out the slice of a long line that covers the range in view, placed so that it meets
    // the slice laid out before wherever the two overlap.
    void layOutSlice(int line, LineLayout& slice) const;
    // The horizontal place of `position` on its line, from the line's left end.
    qreal xOf(qsizetype position) const;
    qsizetype positionAt(int line, qreal x) const;
    // `position` within the text, and off the second half of a surrogate pair.
    qsizetype clamped(qsizetype position) const;
    qreal topOffset() const;
    void notifyTextChange(qsizetype position, const QString& removed, const QString& inserted);
    // Before an edit of the document: notes what the view needs to follow it.
    void noteComingChange(qsizetype position, qsizetype removed);
    // After it: moves the layouts, the lines in view, the caret and the selection with the text.
    void followChange(qsizetype position, qsizetype removed, qsizetype added);

    void moveCaret(qsizetype position, bool extend);
    // Sets the anchor and the caret, and tells who needs to know.
    void select(qsizetype anchor, qsizetype caret);
    void adjustScrollBars();
    void forgetLayouts();
    void noteWidth(qreal right) const;
    int visibleLineCount() const;
    // Repaints lines [from, to] where they are in view, and nothing else.
    void updateLines(int from, int to);
    // Repaints the line the caret was last drawn on, if any, and the caret's line now.
    void updateCaretLines();
    int lineHeight() const { return lineHeight_; }
    void restartBlinking();
    void updateFontMetrics();
    // Offers the selection as the primary selection, where the platform has one.
    void updatePrimarySelection();
    // Has the primary selection this view last offered keep its text as it reads now, before
    // the selection goes or its text changes, and offers it no longer.
    void keepPrimarySelection();
    void autoScroll();
    // The word, or run of blanks or punctuation, under `position`, as a double click selects it.
    std::pair<qsizetype, qsizetype> wordAt(qsizetype position) const;
    // The part of the line holding `position` that the word and character moves look at: the
    // whole line, or kLongLine characters either side in a long one.
    std::pair<qsizetype, qsizetype> lineWindow(qsizetype position) const;
    // The caret's next place forward or back, by character or by word, as the line's layout
    // moves it.
    qsizetype cursorStep(qsizetype position, bool forward, QTextLayout::CursorMode mode) const;

    TextDocument* document_;
    // What noteComingChange saw of the text before the edit in progress.
    struct ComingChange {
        QString removedText;
        qsizetype position = 0;  // as assistive technology counts it
        int editLine = 0;
        int lastOldLine = 0;
        int lineCount = 1;
        int firstVisibleLine = 0;
    } coming_;
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    // Where Up and Down aim on the next line, from the line's left end; negative when unset.
    qreal wantedX_ = -1;
    int lineHeight_ = 1;
    qreal averageCharWidth_ = 1;
    mutable qreal widestSeen_ = 0;
    mutable std::map<int, LineLayout> layouts_;
    bool caretShown_ = false;
    bool selectingByMouse_ = false;
    bool selectingWords_ = false;
    bool mightStartDrag_ = false;
    // The word a double click selected, which a drag after it extends word by word.
    std::pair<qsizetype, qsizetype> clickedWord_;
    QPoint lastMousePoint_;
    QBasicTimer blinkTimer_;
    QBasicTimer autoScrollTimer_;
    // Runs for a double-click interval after a double click: a press meanwhile selects the line.
    QBasicTimer tripleClickTimer_;
    QPoint doubleClickPoint_;
    bool readOnly_ = true;
    // The surrogate pairs of the text, or -1 when they are to be counted again.
    mutable qsizetype surrogatePairs_ = 0;
    // The line the caret was last painted on, or -1; an edit that renumbers it repaints it too.
    int paintedCaretLine_ = -1;
    // The selection a drag out of this view carries, removed when it is moved elsewhere.
    qsizetype dragStart_ = 0;
    qsizetype dragEnd_ = 0;
    QString preedit_;
    // The caret's place within the pre-edit text, and whether the input method shows it.
    int preeditCursor_ = 0;
    bool preeditCursorShown_ = true;
    QList<QTextLayout::FormatRange> preeditFormats_;
    // Where a drag over the view would drop, or -1.
    qsizetype dropCaret_ = -1;
    // Whether the drag under way started from this view's selection.
    bool draggingOwnSelection_ = false;
    // The primary selection that still reads this view's selection, while the clipboard has it.
    QPointer<PrimarySelection> primary_;
};

}  // namespace korvane::text
