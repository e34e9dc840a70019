// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/code_point_index.h"

#include <QChar>
#include <algorithm>
#include <vector>

#include "text/model/surrogate_pairs.h"

namespace korvane::text {
namespace {

// Whether `text` holds any surrogate: a loop without jumps that the compiler runs in the vector
// unit, so that a text of megabytes without one, the common case, is passed over at memory speed.
bool holdsSurrogate(QStringView text) {
    const char16_t* units = text.utf16();
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i)
        any |= (units[i] & 0xF800) == 0xD800;
    return any;
}

// Appends `offset` plus the place of each pair that starts in `text` before `end`.
void scan(QStringView text, qsizetype end, qsizetype offset, std::vector<qsizetype>& starts) {
    if (!holdsSurrogate(text))
        return;
    for (qsizetype i = 0; i < end && i + 1 < text.size(); ++i) {
        if (partsPair(text[i], text[i + 1])) {
            starts.push_back(offset + i);
            ++i;
        }
    }
}

}  // namespace

void CodePointIndex::build(QStringView first, QStringView second) {
    std::vector<qsizetype> starts;
    scan(first, first.size(), 0, starts);
    // A pair may lie across the two pieces: a high half ending the first pairs with nothing in
    // it, and the low half starting the second is not looked at again.
    const bool across =
        !first.isEmpty() && !second.isEmpty() && partsPair(first.back(), second.front());
    if (across)
        starts.push_back(first.size() - 1);
    const qsizetype skip = across ? 1 : 0;
    scan(second.sliced(skip), second.size() - skip, first.size() + skip, starts);
    pairs_.assign(std::move(starts));
}

void CodePointIndex::replace(qsizetype position, qsizetype removed, qsizetype added,
                             QStringView around, qsizetype aroundStart) {
    // The pairs that began in the unit before the edit or in the removed span go; the pairs of
    // the new text from the unit before the edit to the end of the added span come instead.
    const qsizetype from = pairs_.countBelow(position - 1);
    const qsizetype to = pairs_.countBelow(position + removed);
    std::vector<qsizetype> found;
    scan(around, position + added - aroundStart, aroundStart, found);
    pairs_.replace(from, to, found, added - removed);
}

qsizetype CodePointIndex::positionOf(qsizetype offset, qsizetype length) const {
    if (offset <= 0)
        return 0;
    // The pairs whose high half is one of the first `offset` code points each add a unit.
    const qsizetype pairsBefore =
        pairs_.partitionPoint([&](qsizetype index) { return pairs_.at(index) - index >= offset; });
    return std::min(offset + pairsBefore, length);
}

}  // namespace korvane::text
