// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

#include "text/model/code_point_index.h"
#include "text/model/line_index.h"
#include "text/model/text_buffer.h"
#include "text/model/text_reader.h"
#include "text/model/undo_history.h"

namespace korvane::text {

// What one edit of a document did: `removed` characters at `position` gave way to `added`
// others, on the lines `lines` names.
struct TextChange {
    qsizetype position = 0;
    qsizetype removed = 0;
    qsizetype added = 0;
    EditedLines lines;

    // A rewrite of a span by as many characters on as many lines, such as the output under a new
    // key: whoever reads the text keeps their place in it.
    bool isRewrite() const { return removed == added && lines.lineDelta() == 0; }
};

// A plain text as an editor holds it: its characters in a gap buffer, where its lines start,
// the length of its longest line, where its surrogate pairs are, and the steps to undo and redo
// its edits. Every edit, by a user or a program, is one replace of a span, announced before it
// happens (the span about to go can still be read) and after it, with the change it made. An edit
// that cannot get its memory is refused whole: it throws std::bad_alloc and the document, its
// history and its indexes stay as they were.
class TextDocument final : public QObject, public TextReader {
    Q_OBJECT

public:
    explicit TextDocument(QObject* parent = nullptr);
    ~TextDocument() override;

    qsizetype length() const override { return buffer_.size(); }
    bool isEmpty() const { return buffer_.isEmpty(); }
    QChar at(qsizetype position) const override { return buffer_.at(position); }
    // A copy of the `length` characters at `position`; it leaves the buffer as it is.
    QString mid(qsizetype position, qsizetype length) const override {
        return buffer_.mid(position, length);
    }
    // The whole text as a copy, which shares the document's storage while the text lies in one
    // piece; text() puts it in one piece first.
    QString toString() const { return buffer_.mid(0, length()); }
    // The whole text, sharing the document's storage until the next edit. It moves the gap to
    // the end, which costs the distance from the last edit.
    const QString& text() { return buffer_.text(); }
    const TextBuffer& buffer() const { return buffer_; }

    const LineIndex& lines() const { return lines_; }
    int lineCount() const { return lines_.lineCount(); }
    qsizetype lineStart(int line) const { return lines_.lineStart(line); }
    // Where the line's text ends: at its line break, or at the end of the text for the last one.
    qsizetype lineEnd(int line) const { return lines_.lineEnd(line, length()); }
    int lineAt(qsizetype position) const { return lines_.lineAt(position); }
    TextRange lineAround(qsizetype position) const override;
    // The number of characters of the longest line, its line break excluded.
    qsizetype longestLineLength() const { return longestLine_; }

    // Positions in code points, as screen readers count. The pairs are found when first asked
    // for, then followed by each edit; an edit of very many characters lets them be found again.
    qsizetype codePointOffset(qsizetype position) const override;
    qsizetype positionOfCodePoint(qsizetype offset) const override;

    // Counts the changes of the text: one more at every change, before it is announced.
    quint64 revision() const { return revision_; }
    // The memory, in bytes, an edit putting `added` characters (held in a string already) in
    // place of `removed` needs: the buffer's growth, the line starts it brings and the note in
    // the history.
    qint64 memoryToReplace(qsizetype added, qsizetype removed) const;

    // Replaces the `removed` characters at `position` by `inserted`; both are clamped to the
    // text. Nothing happens, and nothing is announced, when nothing would change.
    void replace(qsizetype position, qsizetype removed, QStringView inserted,
                 EditKind kind = EditKind::Other);
    // The same, taking the inserted text's storage as the document's own when it replaces the
    // whole text, so that a paste into an empty box copies nothing.
    void replace(qsizetype position, qsizetype removed, QString&& inserted,
                 EditKind kind = EditKind::Other);
    // The same with the lines of `inserted` indexed already (LineIndex::buildWithLineFeeds, or
    // the lines of a text whose line breaks stand where those of `inserted` do): the edit takes
    // them, and reads the text for nothing.
    void replace(qsizetype position, qsizetype removed, QString&& inserted, LineIndex insertedLines,
                 EditKind kind = EditKind::Other);
    // Makes the text `wanted` by replacing only the span where the two differ, in one edit.
    // Returns the span of `wanted` that came in, or nothing when the texts were the same.
    std::optional<TextRange> replaceChanged(QStringView wanted);

    // Writes up to `length` characters of the text from `position` into `out` and returns how
    // many it wrote, at least one: a writer may stop short, so as not to split a surrogate pair.
    using Writer = std::function<qsizetype(qsizetype position, qsizetype length, QChar* out)>;
    // Replaces the `length` characters at `position` by as many that `write` gives, piece by
    // piece, in place: no copy of the span is made, and the line index is kept when the line
    // breaks stay where they were. It is announced as one edit from the first character that
    // differs to the span's end, and not at all when none does. A document with an undo history
    // gathers the new text first and replaces the span with it, as any edit.
    void overwrite(qsizetype position, qsizetype length, const Writer& write);

    // Edits between these two are undone and redone as one step. They nest.
    void beginEditBlock() { history_.beginBlock(); }
    void endEditBlock() { history_.endBlock(); }

    // A document that keeps no history (the program's output) spends no memory on it.
    bool isUndoRedoEnabled() const { return undoRedoEnabled_; }
    void setUndoRedoEnabled(bool enabled);
    bool isUndoAvailable() const { return history_.canUndo(); }
    bool isRedoAvailable() const { return history_.canRedo(); }
    // Each returns where a caret goes, after the text the step put back, or nothing when there
    // was nothing to undo or redo.
    std::optional<qsizetype> undo();
    std::optional<qsizetype> redo();
    void clearUndoRedoStacks();

    // From markEdits() on, the edits, undos and redos made can be taken back together by
    // takeBackEdits(), as when whoever follows the document could not follow them: the text and
    // the history return to what they were at the mark, and the taking back is announced as
    // edits. keepEdits() lets them stand. A document that keeps no history cannot take back.
    void markEdits();
    // It fails for want of memory only when putting back a text needs more than the edits
    // freed, which leaves the edits not yet taken back in place.
    void takeBackEdits();
    void keepEdits();

Q_SIGNALS:
    // Before an edit: the `removed` characters at `position` are about to be replaced.
    void contentsAboutToChange(qsizetype position, qsizetype removed);
    // After it.
    void contentsChanged(const korvane::text::TextChange& change);
    void undoAvailable(bool available);
    void redoAvailable(bool available);

private:
    // An edit with everything it needs memory for made ready: the lines of the new text, and
    // room in the buffer and the line index.
    struct PreparedEdit {
        qsizetype position = 0;
        qsizetype removed = 0;
        bool whole = false;  // the edit replaces the whole text
        LineIndex wholeLines;
        QString wholeText;  // the new whole text, when it is not given as a string to take
        LineIndex::Edit lineEdit;
    };

    template <typename Text>
    void edit(qsizetype position, qsizetype removed, Text&& inserted, EditKind kind,
              LineIndex* insertedLines = nullptr);
    // Makes ready, or fails for want of memory with nothing changed. A whole text that will not
    // be taken (`taking` false) is copied here. The lines of `inserted` are found here unless
    // they are given, indexed already.
    PreparedEdit prepare(qsizetype position, qsizetype removed, QStringView inserted, bool taking,
                         LineIndex* insertedLines = nullptr);
    // Makes a prepared edit, which can no longer fail, and announces it. A whole text given as a
    // string is taken with its storage.
    void commit(PreparedEdit& edit, QStringView inserted, QString* takenText);
    // The characters an edit is about to remove: the whole text is kept without a copy, its
    // storage shared.
    QString removedText(qsizetype position, qsizetype removed);
    std::optional<qsizetype> replay(bool undoing);
    // Replaces an action's span by its text as any edit, but for the note in the history, and
    // returns what it replaced (see UndoHistory::Apply).
    QString apply(UndoHistory::Action& action, bool puttingBack);
    void announceAvailability(bool undoBefore, bool redoBefore);
    void announceChange(const TextChange& change);
    // The characters `write` gives for the span, gathered into one string.
    QString written(qsizetype position, qsizetype length, const Writer& write);
    // The length of the longest line of lines [first, last], line breaks excluded.
    qsizetype longestOf(int first, int last) const;
    // How many of lines [first, last] are `lineLength` characters long, line breaks excluded.
    int countOf(qsizetype lineLength, int first, int last) const;
    // Finds the longest line, and how many lines are that long, reading every line.
    void countLongest();
    // Follows an edit with the pairs' index, or drops it for a large one or when it cannot get
    // its memory.
    void followPairs(qsizetype position, qsizetype removed, qsizetype added) noexcept;
    const CodePointIndex& pairs() const;

    TextBuffer buffer_;
    LineIndex lines_;
    qsizetype longestLine_ = 0;
    // How many lines are the longest line's length.
    int longestCount_ = 1;
    // Built when first asked for; dropped by an edit too large to follow.
    mutable CodePointIndex pairs_;
    mutable bool pairsBuilt_ = false;

    bool undoRedoEnabled_ = true;
    UndoHistory history_;
    quint64 revision_ = 0;
};

}  // namespace korvane::text
