// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/line_index.h"

#include <algorithm>

namespace korvane::runtime {
namespace {

constexpr qsizetype kBlock = 32;

// Whether a block of kBlock units holds a line break: a fixed-length loop with no early exit,
// which the compiler turns into a few vector compares.
bool BlockHasBreak(const char16_t* units) {
    bool found = false;
    for (qsizetype i = 0; i < kBlock; ++i)
        found |= (units[i] == u'\n') | (units[i] == u'\x2028');
    return found;
}

}  // namespace

void LineIndex::scan(QStringView text, qsizetype from, qsizetype to,
                     std::vector<qsizetype>& starts) {
    const char16_t* units = text.utf16();
    qsizetype i = from;
    for (; i + kBlock <= to; i += kBlock) {
        if (!BlockHasBreak(units + i))
            continue;
        for (qsizetype j = i; j < i + kBlock; ++j) {
            if (isLineBreak(units[j]))
                starts.push_back(j + 1);
        }
    }
    for (; i < to; ++i) {
        if (isLineBreak(units[i]))
            starts.push_back(i + 1);
    }
}

void LineIndex::build(QStringView text) {
    starts_.clear();
    // A guess from prose of about 70 characters a line spares most reallocations.
    starts_.reserve(std::size_t(text.size() / 64 + 16));
    starts_.push_back(0);
    scan(text, 0, text.size(), starts_);
}

void LineIndex::replace(QStringView text, qsizetype position, qsizetype removed,
                        qsizetype inserted) {
    // Lines begun inside the removed span, that is after one of its breaks, go away.
    const auto first = std::upper_bound(starts_.begin(), starts_.end(), position);
    const auto last = std::upper_bound(first, starts_.end(), position + removed);
    std::vector<qsizetype> added;
    scan(text, position, position + inserted, added);
    const qsizetype delta = inserted - removed;
    const auto kept = starts_.erase(first, last);
    const auto after = starts_.insert(kept, added.begin(), added.end()) + qsizetype(added.size());
    for (auto it = after; it != starts_.end(); ++it)
        *it += delta;
}

int LineIndex::lineAt(qsizetype position) const {
    return int(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

qsizetype LineIndex::longestLineLength(qsizetype textLength) const {
    qsizetype longest = 0;
    for (std::size_t i = 1; i < starts_.size(); ++i)
        longest = std::max(longest, starts_[i] - starts_[i - 1] - 1);
    return std::max(longest, textLength - starts_.back());
}

}  // namespace korvane::runtime
