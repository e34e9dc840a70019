// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/undo_history.h"

#include <algorithm>

#include "text/model/line_breaks.h"

namespace korvane::text {

void UndoHistory::record(qsizetype position, QString removed, QStringView inserted, EditKind kind) {
    // Room for one step more first, so that a failed note leaves both stacks as they were.
    undoSteps_.reserve(undoSteps_.size() + 1);
    if (marking_)
        marked_.reserve(marked_.size() + 1);
    Change change{Change::NewStep, 0, {}, {}, mergeable_, blockStepOpen_, blockRecorded_};
    const bool joinsBlock = blockDepth_ > 0 && !blockStepOpen_ && !undoSteps_.empty();
    const bool mergeable = mergeable_;
    if (joinsBlock) {
        undoSteps_.back().actions.push_back({position, inserted.size(), std::move(removed)});
        change.how = Change::Joined;
    } else if (blockDepth_ > 0) {
        // A block is a step of its own that nothing merges into.
        undoSteps_.push_back({{{position, inserted.size(), std::move(removed)}}, EditKind::Other});
    } else if (!mergeable || !merge(position, removed, inserted, kind, change)) {
        undoSteps_.push_back({{{position, inserted.size(), std::move(removed)}}, kind});
    }
    if (marking_)
        change.clearedRedo = std::move(redoSteps_);
    redoSteps_.clear();
    blockStepOpen_ = false;
    if (blockDepth_ > 0)
        blockRecorded_ = true;
    else
        mergeable_ = true;
    if (marking_)
        marked_.push_back(std::move(change));  // room was made above
}

bool UndoHistory::merge(qsizetype position, const QString& removed, QStringView inserted,
                        EditKind kind, Change& change) {
    if (kind == EditKind::Other || undoSteps_.empty() || undoSteps_.back().kind != kind ||
        undoSteps_.back().actions.size() != 1)
        return false;
    Action& last = undoSteps_.back().actions.back();
    if (kind == EditKind::Typing) {
        // Typing on where the last typed character went, whether that run began at the caret or
        // over a selection it replaced; a line break begins a new line of typing, and a step.
        const bool startsLine = std::any_of(inserted.begin(), inserted.end(),
                                            [](QChar c) { return isLineBreak(c.unicode()); });
        if (!removed.isEmpty() || startsLine || position != last.position + last.length)
            return false;
        last.length += inserted.size();
        change.how = Change::Typed;
        change.count = inserted.size();
        return true;
    }
    // Backspace just before what was deleted last, or Delete just where it was.
    if (!inserted.isEmpty() || last.length != 0)
        return false;
    if (position + removed.size() == last.position) {
        last.text.prepend(removed);
        last.position = position;
        change.how = Change::Prepended;
        change.count = removed.size();
        return true;
    }
    if (position == last.position) {
        last.text.append(removed);
        change.how = Change::Appended;
        change.count = removed.size();
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
    marked_.clear();
    marking_ = false;
}

std::optional<qsizetype> UndoHistory::undo(const Apply& apply) {
    return replay(undoSteps_, redoSteps_, apply, Change::Undone);
}

std::optional<qsizetype> UndoHistory::redo(const Apply& apply) {
    return replay(redoSteps_, undoSteps_, apply, Change::Redone);
}

namespace {

// Puts back, newest first, the replacements `made` made: each one replaced the span of the
// action of `from` at the same place counted from the end, which gets its text back if the
// replacement took it.
void putBack(std::vector<UndoHistory::Action>& made, std::vector<UndoHistory::Action>& from,
             const UndoHistory::Apply& apply) {
    auto action = from.rbegin() + qsizetype(made.size());
    for (auto back = made.rbegin(); back != made.rend(); ++back) {
        QString text = apply(*back, true);
        --action;
        if (!text.isNull())
            action->text = std::move(text);
    }
}

}  // namespace

void UndoHistory::mark() {
    marked_.clear();
    marking_ = true;
}

void UndoHistory::settle() {
    marked_.clear();
    marking_ = false;
}

void UndoHistory::takeBack(const Apply& apply) {
    while (!marked_.empty()) {
        takeBackChange(marked_.back(), apply);
        marked_.pop_back();
    }
    marking_ = false;
}

void UndoHistory::takeBackChange(Change& change, const Apply& apply) {
    switch (change.how) {
        case Change::NewStep:
        case Change::Joined: {
            // The note's action is the edit's reverse: it puts back what the edit removed.
            std::vector<Action>& actions = undoSteps_.back().actions;
            apply(actions.back(), true);
            if (change.how == Change::Joined)
                actions.pop_back();
            else
                undoSteps_.pop_back();
            break;
        }
        case Change::Typed: {
            Action& last = undoSteps_.back().actions.back();
            Action typed{last.position + last.length - change.count, change.count, QString()};
            apply(typed, true);
            last.length -= change.count;
            break;
        }
        case Change::Prepended:
        case Change::Appended: {
            Action& last = undoSteps_.back().actions.back();
            const bool before = change.how == Change::Prepended;
            Action deleted{last.position, 0,
                           before ? last.text.first(change.count) : last.text.last(change.count)};
            apply(deleted, true);
            if (before) {
                last.text.remove(0, change.count);
                last.position += change.count;
            } else {
                last.text.chop(change.count);
            }
            break;
        }
        case Change::Undone:
        case Change::Redone: {
            std::vector<Step>& from = change.how == Change::Undone ? undoSteps_ : redoSteps_;
            std::vector<Step>& to = change.how == Change::Undone ? redoSteps_ : undoSteps_;
            putBack(to.back().actions, change.replayed.actions, apply);
            to.pop_back();
            from.push_back(std::move(change.replayed));  // where it was taken from: no memory
            break;
        }
    }
    if (!change.clearedRedo.empty())
        redoSteps_ = std::move(change.clearedRedo);
    mergeable_ = change.mergeable;
    blockStepOpen_ = change.blockStepOpen;
    blockRecorded_ = change.blockRecorded;
}

std::optional<qsizetype> UndoHistory::replay(std::vector<Step>& from, std::vector<Step>& to,
                                             const Apply& apply, Change::How how) {
    if (from.empty())
        return std::nullopt;
    to.reserve(to.size() + 1);
    if (marking_)
        marked_.reserve(marked_.size() + 1);
    Step& step = from.back();
    Step reverse{{}, EditKind::Other};
    reverse.actions.reserve(step.actions.size());
    qsizetype caret = 0;
    try {
        for (auto action = step.actions.rbegin(); action != step.actions.rend(); ++action) {
            const qsizetype put = action->text.size();
            const qsizetype position = action->position;
            QString replaced = apply(*action, false);
            reverse.actions.push_back({position, put, std::move(replaced)});
            caret = position + put;
        }
    } catch (...) {
        // The replacements made so far are put back, each into the action it came from; the
        // text they take back has its room in the text still, and no copy is made.
        putBack(reverse.actions, step.actions, apply);
        throw;
    }
    if (marking_) {
        // The step stays whole, to come back if the replay is taken back.
        marked_.push_back(
            {how, 0, {}, std::move(step), mergeable_, blockStepOpen_, blockRecorded_});
    }
    from.pop_back();
    to.push_back(std::move(reverse));
    mergeable_ = false;  // what is typed next is a step of its own
    return caret;
}

}  // namespace korvane::text
