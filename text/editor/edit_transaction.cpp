// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/editor/edit_transaction.h"

#include <cstdlib>
#include <new>
#include <utility>

#include "text/editor/text_editor.h"

namespace korvane::text {
namespace {

// Edits that need less memory than this are not asked about beforehand: what they need is had
// or not when they are made, and the document refuses them whole all the same.
constexpr qint64 kAskedNeed = qint64(1) << 20;

// The size of a text in UTF-8, as a file of it would be.
qint64 utf8Size(QStringView text) {
    qint64 size = 0;
    for (const QChar c : text) {
        // A surrogate pair's four bytes are counted two for each half.
        const char16_t unit = c.unicode();
        size += unit < 0x80 ? 1 : unit < 0x800 || c.isSurrogate() ? 2 : 3;
    }
    return size;
}

// Whether `bytes` of memory can be had now: the system is asked for them in one block and
// given them back. A block this large is mapped on its own and none of its pages are touched,
// so the answer costs a mapping, whatever the limit that refuses it (the address space the
// process may have, or what the system can commit).
bool canAllocate(qint64 bytes) {
    // More than a 64-bit processor's 47 bits of user address space is never had.
    constexpr qint64 kAddressSpace = qint64(1) << 47;
    if (bytes < 0 || bytes >= kAddressSpace)
        return false;
    void* block = std::malloc(std::size_t(bytes));
    std::free(block);
    return block != nullptr;
}

}  // namespace

EditTransaction::EditTransaction(TextEditor& editor, Shared& shared, RefusedEdit::Kind kind)
    : editor_(editor),
      shared_(shared),
      outer_(shared.open),
      refusal_{kind, -1},
      caret_(editor.cursorPosition()),
      anchor_(editor.anchorPosition()) {
    if (outer_)
        return;
    shared_.open = this;
    editor_.document().markEdits();
}

EditTransaction::~EditTransaction() {
    if (outer_)
        return;
    if (!kept_) {
        takeBack();
        editor_.setSelection(anchor_, caret_);
    }
    shared_.open = nullptr;
    if (!kept_)
        Q_EMIT editor_.editRefused(refusal_);
}

bool EditTransaction::run(const std::function<void()>& edit) {
    if (outer_) {
        edit();
        return true;
    }
    try {
        if (shared_.followerScope)
            shared_.followerScope(edit);
        else
            edit();
        editor_.document().keepEdits();
        for (const std::function<void()>& then : std::exchange(whenKept_, {}))
            then();
        kept_ = true;
    } catch (...) {
        // No memory for the edit, or for following it: the destructor takes back what was made.
        return false;
    }
    return true;
}

void EditTransaction::takeBack() noexcept {
    whenKept_.clear();
    // Taken back within the owner's scope too: what follows the document hears of it, and a
    // failure to follow that is not told again, the refusal being told once.
    TextDocument& document = editor_.document();
    const auto takeBack = [&document] {
        try {
            document.takeBackEdits();
        } catch (...) {
            document.keepEdits();  // what could not be put back stays; the history is whole
        }
    };
    try {
        if (shared_.followerScope)
            shared_.followerScope(takeBack);
        else
            takeBack();
    } catch (...) {
    }
}

void EditTransaction::setBytes(qint64 bytes) {
    outermost().refusal_.bytes = bytes;
}

void EditTransaction::whenKept(std::function<void()> then) {
    outermost().whenKept_.push_back(std::move(then));
}

void EditTransaction::ensureMemory(qsizetype added, qsizetype removed, bool held,
                                   QStringView text) {
    qint64 need = editor_.memoryToReplace(added, removed) + (held ? 0 : 2 * qint64(added));
    if (shared_.followerNeed)
        need += shared_.followerNeed(added);
    if (need < kAskedNeed || canAllocate(need))
        return;
    setBytes(text.isNull() ? added : utf8Size(text));
    throw std::bad_alloc();
}

}  // namespace korvane::text
