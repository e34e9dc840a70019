// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/undo_history.h"

#include <algorithm>

#include "text/model/line_breaks.h"

namespace korvane::text {

void UndoHistory::record(qsizetype position, QString removed, QStringView inserted,
                         EditKind kind) {
    // Room for one step more first, so that a failed note leaves both stacks as they were.
    undoSteps_.reserve(undoSteps_.size() + 1);
    const bool joinsBlock = blockDepth_ > 0 && !blockStepOpen_ && !undoSteps_.empty();
    const bool mergeable = mergeable_;
    if (joinsBlock) {
        undoSteps_.back().actions.push_back({position, inserted.size(), std::move(removed)});
    } else if (blockDepth_ > 0) {
        // A block is a step of its own that nothing merges into.
        undoSteps_.push_back({{{position, inserted.size(), std::move(removed)}}, EditKind::Other});
    } else if (!mergeable || !merge(position, removed, inserted, kind)) {
        undoSteps_.push_back({{{position, inserted.size(), std::move(removed)}}, kind});
    }
    redoSteps_.clear();
    blockStepOpen_ = false;
    if (blockDepth_ > 0)
        blockRecorded_ = true;
    else
        mergeable_ = true;
}

bool UndoHistory::merge(qsizetype position, const QString& removed, QStringView inserted,
                        EditKind kind) {
    if (kind == EditKind::Other || undoSteps_.empty() || undoSteps_.back().kind != kind ||
        undoSteps_.back().actions.size() != 1)
        return false;
    Action& last = undoSteps_.back().actions.back();
    if (kind == EditKind::Typing) {
        // Typing on where the last typed character went, whether that run began at the caret or
        // over a selection it replaced; a line break begins a new line of typing, and a step.
        const bool startsLine =
            std::any_of(inserted.begin(), inserted.end(),
                        [](QChar c) { return isLineBreak(c.unicode()); });
        if (!removed.isEmpty() || startsLine || position != last.position + last.length)
            return false;
        last.length += inserted.size();
        return true;
    }
    // Backspace just before what was deleted last, or Delete just where it was.
    if (!inserted.isEmpty() || last.length != 0)
        return false;
    if (position + removed.size() == last.position) {
        last.text.prepend(removed);
        last.position = position;
        return true;
    }
    if (position == last.position) {
        last.text.append(removed);
        return true;
    }
    return false;
}

void UndoHistory::beginBlock() {
    if (blockDepth_++ == 0)
        blockStepOpen_ = true;
}

void UndoHistory::endBlock() {
    if (blockDepth_ == 0)
        return;
    if (--blockDepth_ == 0 && blockRecorded_) {
        blockRecorded_ = false;
        mergeable_ = false;  // what is typed next is not part of the block
    }
}

void UndoHistory::clear() {
    undoSteps_.clear();
    redoSteps_.clear();
}

std::optional<qsizetype> UndoHistory::undo(const Apply& apply) {
    return replay(undoSteps_, redoSteps_, apply);
}

std::optional<qsizetype> UndoHistory::redo(const Apply& apply) {
    return replay(redoSteps_, undoSteps_, apply);
}

std::optional<qsizetype> UndoHistory::replay(std::vector<Step>& from, std::vector<Step>& to,
                                             const Apply& apply) {
    if (from.empty())
        return std::nullopt;
    to.reserve(to.size() + 1);
    Step& step = from.back();
    Step reverse{{}, EditKind::Other};
    reverse.actions.reserve(step.actions.size());
    qsizetype caret = 0;
    try {
        for (auto action = step.actions.rbegin(); action != step.actions.rend(); ++action) {
            const qsizetype put = action->text.size();
            const qsizetype position = action->position;
            QString replaced = apply(*action);
            reverse.actions.push_back({position, put, std::move(replaced)});
            caret = position + put;
        }
    } catch (...) {
        // The replacements made so far are made back, newest first, each into the action it
        // came from; the text they take back has its room in the text still.
        auto action = step.actions.rbegin() + qsizetype(reverse.actions.size());
        for (auto back = reverse.actions.rbegin(); back != reverse.actions.rend(); ++back)
            (--action)->text = apply(*back);
        throw;
    }
    from.pop_back();
    to.push_back(std::move(reverse));
    mergeable_ = false;  // what is typed next is a step of its own
    return caret;
}

}  // namespace korvane::text
