// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

#include "text/gap_buffer.h"
#include "text/line_index.h"

namespace korvane::text {

// A plain text as an editor holds it: its characters in a gap buffer, where its lines start,
// the length of its longest line, and the steps to undo and redo its edits. Every edit, by a
// user or a program, is one replace of a span, announced before it happens (the span about to
// go can still be read) and after it (the span that came can be read).
class TextDocument final : public QObject {
    Q_OBJECT

public:
    // How an edit joins the undo history. Typed characters that continue the typing before
    // them, and deletions that continue the deleting before them, are undone together, as Qt's
    // editors group them; any other edit is a step of its own.
    enum class EditKind { Other, Typing, Deleting };

    explicit TextDocument(QObject* parent = nullptr);
    ~TextDocument() override;

    qsizetype length() const { return buffer_.size(); }
    bool isEmpty() const { return buffer_.isEmpty(); }
    QChar at(qsizetype position) const { return buffer_.at(position); }
    // A copy of the `length` characters at `position`; it leaves the buffer as it is.
    QString mid(qsizetype position, qsizetype length) const {
        return buffer_.mid(position, length);
    }
    // The `length` characters at `position`, contiguous, valid until the next span, text() or
    // edit. It may move the buffer's gap out of the span.
    QStringView span(qsizetype position, qsizetype length) {
        return buffer_.span(position, length);
    }
    // The whole text, sharing the document's storage until the next edit. It moves the gap to
    // the end, which costs the distance from the last edit.
    const QString& text() { return buffer_.text(); }
    const GapBuffer& buffer() const { return buffer_; }

    const LineIndex& lines() const { return lines_; }
    int lineCount() const { return lines_.lineCount(); }
    qsizetype lineStart(int line) const { return lines_.lineStart(line); }
    // Where the line's text ends: at its line break, or at the end of the text for the last one.
    qsizetype lineEnd(int line) const { return lines_.lineEnd(line, length()); }
    int lineAt(qsizetype position) const { return lines_.lineAt(position); }
    // The number of characters of the longest line, its line break excluded.
    qsizetype longestLineLength() const { return longestLine_; }

    // Replaces the `removed` characters at `position` by `inserted`; both are clamped to the
    // text. Nothing happens, and nothing is announced, when nothing would change.
    void replace(qsizetype position, qsizetype removed, QStringView inserted,
                 EditKind kind = EditKind::Other);
    // The same, taking the inserted text's storage as the document's own when the document
    // is empty, so that a paste into an empty box copies nothing.
    void replace(qsizetype position, qsizetype removed, QString&& inserted,
                 EditKind kind = EditKind::Other);

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
    void beginEditBlock();
    void endEditBlock();

    // A document that keeps no history (the program's output) spends no memory on it.
    bool isUndoRedoEnabled() const { return undoRedoEnabled_; }
    void setUndoRedoEnabled(bool enabled);
    bool isUndoAvailable() const { return !undoSteps_.empty(); }
    bool isRedoAvailable() const { return !redoSteps_.empty(); }
    // Where the last undo or redo left the text it touched, for a caret to go: the end of the
    // text it put back, or the place of the text it took away.
    qsizetype lastUndoRedoPosition() const { return lastUndoRedoPosition_; }
    void undo();
    void redo();
    void clearUndoRedoStacks();

Q_SIGNALS:
    // Before an edit: the `removed` characters at `position` are about to be replaced.
    void contentsAboutToChange(qsizetype position, qsizetype removed);
    // After an edit: `removed` characters at `position` gave way to the `added` ones there now.
    void contentsChanged(qsizetype position, qsizetype removed, qsizetype added);
    void undoAvailable(bool available);
    void redoAvailable(bool available);

private:
    // One edit undone or redone by replacing `length` characters at `position` by `text`.
    struct Action {
        qsizetype position = 0;
        qsizetype length = 0;
        QString text;
    };
    struct Step {
        std::vector<Action> actions;  // in the order they were made
        EditKind kind = EditKind::Other;
    };

    template <typename Text>
    void edit(qsizetype position, qsizetype removed, Text&& inserted, EditKind kind);
    // Applies the edit to the buffer, the line index and the longest line, announcing it.
    template <typename Text>
    void apply(qsizetype position, qsizetype removed, Text&& inserted);
    // Notes how to undo an edit about to be made; merges it into the step before when the kinds
    // allow it.
    void record(qsizetype position, qsizetype removed, QStringView inserted, EditKind kind);
    // The characters an edit is about to remove, to keep for undoing it: the whole text is
    // kept without a copy, its storage shared.
    QString removedText(qsizetype position, qsizetype removed);
    // Undoes the newest step of `from`, pushing the step that redoes it onto `to`.
    void replay(std::vector<Step>& from, std::vector<Step>& to);
    void announceAvailability(bool undoBefore, bool redoBefore);
    // The characters `write` gives for the span, gathered into one string.
    QString written(qsizetype position, qsizetype length, const Writer& write);
    // The length of the longest line of lines [first, last], line breaks excluded.
    qsizetype longestOf(int first, int last) const;
    // How many of lines [first, last] are `lineLength` characters long, line breaks excluded.
    int countOf(qsizetype lineLength, int first, int last) const;
    // Finds the longest line, and how many lines are that long, reading every line.
    void countLongest();

    GapBuffer buffer_;
    LineIndex lines_;
    qsizetype longestLine_ = 0;
    // How many lines are the longest line's length.
    int longestCount_ = 1;

    bool undoRedoEnabled_ = true;
    bool replaying_ = false;
    // False right after an undo or redo, so that the next edit starts a step of its own.
    bool mergeable_ = true;
    int blockDepth_ = 0;
    // Whether the next edit opens a new step even inside a block.
    bool blockStepOpen_ = false;
    // Whether the outermost block open recorded an edit, so that what follows it is a step of
    // its own.
    bool blockRecorded_ = false;
    std::vector<Step> undoSteps_;
    std::vector<Step> redoSteps_;
    qsizetype lastUndoRedoPosition_ = 0;
};

}  // namespace korvane::text
