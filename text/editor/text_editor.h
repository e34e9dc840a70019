// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

#include "text/editor/edit_transaction.h"
#include "text/editor/preedit.h"
#include "text/editor/text_cursor.h"
#include "text/model/text_document.h"

class QInputMethodEvent;
class QMimeData;

namespace korvane::text {

class PrimarySelection;

// A plain-text editor that is not a widget: the document (the text, its lines, its history), the
// caret and the selection, every command the user gives it, the input method's pre-edit, and the
// caret and selection following every change of the document, whoever made it. Each command that
// changes the text or the clipboard is one user edit, made whole or refused whole when it cannot
// get its memory (see EditTransaction). Unless it is read-only, it edits as a plain-text editor
// on Linux does. Whoever shows it (a TextView) follows its signals and maps the user's keys and
// mouse to its commands; what needs the text laid out, such as moving the caret up a line, is
// worked out there and handed in as positions.
class TextEditor final : public QObject {
    Q_OBJECT

public:
    explicit TextEditor(QObject* parent = nullptr);
    ~TextEditor() override;

    // The document the editor edits; it belongs to the editor.
    const TextDocument& document() const { return *document_; }
    TextDocument& document() { return *document_; }
    // The whole text, a copy that shares the document's storage while the text lies in one
    // piece.
    QString text() const { return document_->toString(); }
    // Replaces the whole text; the caret goes to the start.
    void setText(QString text);

    // A read-only editor (the default) selects and copies; the user cannot change its text.
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    // The font caret stops are found in.
    void setFont(const QFont& font) { font_ = font; }

    qsizetype cursorPosition() const { return cursor_.position(); }
    qsizetype anchorPosition() const { return cursor_.anchor(); }
    qsizetype selectionStart() const { return cursor_.selectionStart(); }
    qsizetype selectionEnd() const { return cursor_.selectionEnd(); }
    bool hasSelection() const { return cursor_.hasSelection(); }
    // The selected text with its line breaks as line feeds.
    QString selectedText() const;
    // Selects from `anchor` to `caret`, each within the text and off the second half of a
    // surrogate pair; equal values select nothing.
    void setSelection(qsizetype anchor, qsizetype caret);
    void setCursorPosition(qsizetype position) { setSelection(position, position); }
    // Puts the caret at `position`, the selection extended to it or gone.
    void moveCaretTo(qsizetype position, bool extend);
    // How the arrow keys and their neighbours move the caret through the text.
    enum class Move { Character, Word, LineEdge, DocumentEdge };
    // Moves the caret as the key of `move` does, to the right (`forward`) or to the left, as
    // Qt's editors move it: a character step over a selection collapses it to that side; in a
    // right-to-left line a character or word step to the right goes back in the text.
    void moveCaret(Move move, bool forward, bool extend);
    // Where Up and Down aim, from the line's left end, once a vertical move set it; the other
    // moves and every edit forget it.
    std::optional<qreal> wantedX() const;
    void setWantedX(std::optional<qreal> x);
    void selectAll();
    // Offers the selection as the primary selection, where the platform has one.
    void offerPrimarySelection();

    // The commands. Each is refused whole, and reported by editRefused(), when it cannot get
    // its memory or its followers cannot follow it; a read-only editor makes no edit.
    // Puts `text` in at the caret in place of the selection, as typing it does: a run of typed
    // characters is one undo step, a line break a step of its own.
    void insertTyped(const QString& text);
    // Puts `text` in at the caret in place of the selection as one undo step, as a paste does.
    void insertText(QString text);
    void deleteSelection();
    // Removes `range` of the text as one undo step.
    void deleteText(TextRange range);
    // Backspace (back) and Delete (forward): the selection, or else the grapheme cluster (a
    // syllable typed mark by mark loses its last mark to Backspace), or with `word` the text to
    // the next start of a word.
    void deleteNext(bool forward, bool word);
    void undo();
    void redo();
    void cut();
    // Puts the selection on the clipboard.
    void copy();
    void paste();
    // Puts the text of the clipboard's primary selection in at `position`, as the middle button
    // does.
    void pasteSelectionAt(qsizetype position);
    // Puts the text of drag and drop `data` in at `position` as one undo step; `fromHere` tells
    // whether this process offers it. A non-empty `moved` span of the text is moved there: it
    // leaves its place in the same step. False when the drop was refused.
    bool drop(const QMimeData& data, bool fromHere, qsizetype position, TextRange moved);
    // What an input method sends: its commit replaces the selection, or the range it names, as
    // typing; its pre-edit is shown at the caret. False when the commit was refused.
    bool inputMethod(const QInputMethodEvent& event);
    // The text an input method is composing, shown at the caret but not in the document.
    const Preedit& preedit() const { return preedit_; }
    // What an input method asks of the text around the caret: the caret's line, or a window of
    // it around the caret in a long line. Nothing for what the text does not answer.
    std::optional<QVariant> inputMethodQuery(Qt::InputMethodQuery query) const;

    // Runs `edit` as one user edit, refused as `kind` (see EditTransaction::run).
    bool runUserEdit(RefusedEdit::Kind kind, const std::function<void(EditTransaction&)>& edit);
    void setFollowerScope(EditTransaction::FollowerScope scope);
    void setFollowerNeed(EditTransaction::FollowerNeed need);
    // The memory the document and the editor need for an edit putting `added` characters, held
    // in a string already, in place of `removed`: the document's, and the texts assistive
    // technology is told of.
    qint64 memoryToReplace(qsizetype added, qsizetype removed) const;

Q_SIGNALS:
    void editRefused(const korvane::text::RefusedEdit& refused);
    // Before an edit of the document, while the `removed` characters at `position` can still
    // be read.
    void contentsAboutToChange(qsizetype position, qsizetype removed);
    // After it, before the caret and the selection follow it: whoever shows the text follows
    // it first.
    void contentsEdited(const korvane::text::TextChange& change);
    // After it, once the caret, the selection and whoever shows the text have followed it.
    void contentsChanged(const korvane::text::TextChange& change);
    // The caret, the selection or both moved.
    void cursorMoved(const korvane::text::TextCursor::Moved& moved);
    // Whoever shows the text brings `position` into view, as after an edit the user made.
    void visibilityRequest(qsizetype position);
    void preeditChanged(const korvane::text::Preedit& before);
    void readOnlyChanged(bool readOnly);

private:
    // Replaces `removed` characters at `position` by the user's `text`, its line breaks made
    // line feeds; the caret goes after it.
    void editAt(qsizetype position, qsizetype removed, QString text, EditKind kind);
    // Takes one step of the document's history (its undo or redo) as a user edit refused as
    // `kind`, and puts the caret where the step leaves it.
    void stepHistory(RefusedEdit::Kind kind, std::optional<qsizetype> (TextDocument::*step)());
    // The text of clipboard or drag data for a user edit in place of `removed` characters:
    // when this process offers the data its size is checked before any copy, else after Qt
    // fetched it. `owned` tells whether the data is this process's own.
    QString mimeText(EditTransaction& edit, const QMimeData& data, bool owned, qsizetype removed);
    void setPreedit(Preedit preedit);
    // Before an edit of the document: keeps the primary selection an edit of the selected text
    // would change.
    void noteComingChange(qsizetype position, qsizetype removed) noexcept;
    // After it: moves the caret and the selection with the text.
    void followChange(const TextChange& change) noexcept;
    // Has the primary selection this editor last offered keep its text as it reads now, before
    // the selection goes or its text changes, and offers it no longer.
    void keepPrimarySelection();

    TextDocument* document_;
    TextCursor cursor_;
    bool readOnly_ = true;
    QFont font_;
    Preedit preedit_;
    // The primary selection that still reads this editor's selection, while the clipboard has
    // it.
    QPointer<PrimarySelection> primary_;
    EditTransaction::Shared transactions_;
};

}  // namespace korvane::text
