// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

namespace korvane::text {

// How an edit joins the undo history. Typed characters that continue the typing before them,
// and deletions that continue the deleting before them, are undone together, as Qt's editors
// group them; any other edit is a step of its own.
enum class EditKind { Other, Typing, Deleting };

// The steps that undo and redo the edits of a text, each a list of replacements, grouped as a
// user expects: a typed run (also one that began by typing over a selection) is one step, a run
// of Backspace or of Delete is one, a line break typed is a step of its own, the edits between
// beginBlock() and endBlock() are one, and each undo or redo closes the step before it.
class UndoHistory {
public:
    // One edit undone or redone by replacing `length` characters at `position` by `text`.
    struct Action {
        qsizetype position = 0;
        qsizetype length = 0;
        QString text;
    };

    bool canUndo() const { return !undoSteps_.empty(); }
    bool canRedo() const { return !redoSteps_.empty(); }

    // Notes how to undo an edit about to be made at `position`: `removed` is the text it takes
    // away, `inserted` the text it puts there. It clears what could be redone. When there is no
    // memory for the note, nothing changes.
    void record(qsizetype position, QString removed, QStringView inserted, EditKind kind);

    // Edits between these two are undone and redone as one step. They nest.
    void beginBlock();
    void endBlock();

    // Makes the replacement of an action: replaces the action's span by its text, which it may
    // take, and returns the text it replaced. When it fails (for want of memory) it must change
    // nothing and leave the action as it was. Putting back a replacement just made
    // (`puttingBack`), it returns the replaced text only when it took the action's text, which
    // then has to come back to the action, and else a null string: the action still holds that
    // very text, so no copy of it is made where memory has just run out.
    using Apply = std::function<QString(Action&, bool puttingBack)>;
    // Undoes the newest step, its actions newest first, and keeps the step that redoes it; and
    // the other way round. Each returns where the caret goes, after the text the step's last
    // replacement put in, or nothing when there is nothing to undo or redo. A step that fails
    // part way is taken back whole, and the failure goes on to the caller with both stacks as
    // they were.
    std::optional<qsizetype> undo(const Apply& apply);
    std::optional<qsizetype> redo(const Apply& apply);

    void clear();

    // From mark() on, each note and each undo or redo can be taken back, newest first, by
    // takeBack(), which leaves the history as it was at the mark: the steps, how the next edit
    // joins them, and the steps a note cleared from redo, which are kept until settle() or the
    // next mark. Edits a listener could not follow are taken back so.
    void mark();
    // The notes, undos and redos since mark(), each taken back by `apply` (which puts back what
    // the edit removed, in place of what it put in), newest first, and the history restored. A
    // replacement that fails leaves the history as it was before that one and goes on to the
    // caller.
    void takeBack(const Apply& apply);
    // What happened since mark() stands; what the notes cleared from redo goes.
    void settle();

private:
    struct Step {
        std::vector<Action> actions;  // in the order they were made
        EditKind kind = EditKind::Other;
    };

    // How a note or a replay since mark() changed the history, to be taken back.
    struct Change {
        enum How { NewStep, Joined, Typed, Prepended, Appended, Undone, Redone } how;
        qsizetype count = 0;  // characters typed on, or deleted onto the step's text
        std::vector<Step> clearedRedo;
        Step replayed;  // the step an undo or redo replayed, as it was
        bool mergeable = true;
        bool blockStepOpen = false;
        bool blockRecorded = false;
    };
    // Takes back the newest change since mark().
    void takeBackChange(Change& change, const Apply& apply);

    // Tries to add the edit to the newest step as typing or deleting that continues it.
    bool merge(qsizetype position, const QString& removed, QStringView inserted, EditKind kind,
               Change& change);
    std::optional<qsizetype> replay(std::vector<Step>& from, std::vector<Step>& to,
                                    const Apply& apply, Change::How how);

    std::vector<Step> undoSteps_;
    std::vector<Step> redoSteps_;
    // False right after an undo, a redo or a block, so that the next edit starts a step of its
    // own.
    bool mergeable_ = true;
    int blockDepth_ = 0;
    // Whether the next edit opens a new step even inside a block.
    bool blockStepOpen_ = false;
    // Whether the outermost block open recorded an edit.
    bool blockRecorded_ = false;
    // The changes since mark(), oldest first, while one is set.
    std::vector<Change> marked_;
    bool marking_ = false;
};

}  // namespace korvane::text
