// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <functional>
#include <vector>

namespace korvane::text {

class TextEditor;

// An edit, or a copy, that an editor refused because it could not get its memory: the text,
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

// One edit (or copy) the user asked an editor for, made whole or refused whole. A command opens
// one for as long as it runs; one opened while another is open is part of that one. The
// outermost runs the edit inside its editor's follower scope, so that whoever follows the
// document can fail it. An edit that cannot get its memory, or that its followers cannot
// follow, throws; the transaction then ends without being kept, and on its way out takes back
// whatever of the edit was made (the text and the history, again inside the follower scope,
// then the caret and the selection) and has the editor report the refusal once.
class EditTransaction {
public:
    // Runs each user edit so that its owner sees what follows it fail: calls `edit`, and throws
    // std::bad_alloc when the edit, or what the owner does on hearing of it, could not get its
    // memory. Without one, the edit is just called.
    using FollowerScope = std::function<void(const std::function<void()>& edit)>;
    // The memory, in bytes, that whoever follows the document needs for an edit adding `added`
    // characters, counted with the editor's own before the edit is made.
    using FollowerNeed = std::function<qint64(qsizetype added)>;
    // What the transactions of one editor share.
    struct Shared {
        EditTransaction* open = nullptr;  // the outermost one open
        FollowerScope followerScope;
        FollowerNeed followerNeed;
    };

    // Opens the transaction of an edit refused as `kind`, or joins the one open.
    EditTransaction(TextEditor& editor, Shared& shared, RefusedEdit::Kind kind);
    ~EditTransaction();
    EditTransaction(const EditTransaction&) = delete;
    EditTransaction& operator=(const EditTransaction&) = delete;

    // Makes `edit`; false when the edit was refused. Inside another transaction it is part of
    // that one, and what it throws goes on to it.
    bool run(const std::function<void()>& edit);

    // The size of the text concerned, for the report (see RefusedEdit::bytes).
    void setBytes(qint64 bytes);
    // Does `then` once the edit stands, such as putting a cut's copy on the clipboard.
    void whenKept(std::function<void()> then);
    // Throws std::bad_alloc, the report's size set, unless an edit putting `added` characters
    // in place of `removed` (with the string of `added`, if `held` is false) and following it
    // can have the memory it needs. `text` is the text, when it is there to be measured. Small
    // edits are not asked about.
    void ensureMemory(qsizetype added, qsizetype removed, bool held, QStringView text = {});

private:
    EditTransaction& outermost() { return outer_ ? *outer_ : *this; }
    // Takes back what of the edit was made, inside the follower scope.
    void takeBack() noexcept;

    TextEditor& editor_;
    Shared& shared_;
    EditTransaction* outer_;
    RefusedEdit refusal_;
    // The caret and the anchor when the edit began.
    qsizetype caret_;
    qsizetype anchor_;
    std::vector<std::function<void()>> whenKept_;
    bool kept_ = false;
};

}  // namespace korvane::text
