// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/position_index.h"

namespace korvane::text {

qsizetype PositionIndex::countUpTo(qsizetype position) const {
    return partitionPoint([&](qsizetype index) { return at(index) > position; });
}

qsizetype PositionIndex::countBelow(qsizetype position) const {
    return partitionPoint([&](qsizetype index) { return at(index) >= position; });
}

void PositionIndex::assign(std::vector<qsizetype> positions) {
    positions_.assign(std::move(positions));
    step_ = -1;
    delta_ = 0;
}

void PositionIndex::moveStep(qsizetype index) {
    if (delta_ == 0) {
        step_ = index;
        return;
    }
    if (index >= step_) {
        positions_.add(step_ + 1, index + 1, delta_);
    } else if (step_ - index <= count() - 1 - step_) {
        // Back to an earlier entry, when that is shorter than carrying the delta to the end.
        positions_.add(index + 1, step_ + 1, -delta_);
    } else {
        positions_.add(step_ + 1, count(), delta_);
        delta_ = 0;
    }
    step_ = index;
}

void PositionIndex::replace(qsizetype from, qsizetype to, const std::vector<qsizetype>& added,
                            qsizetype delta) {
    // Room first, so that nothing changes when there is no memory for the new entries.
    reserve(qsizetype(added.size()) - (to - from));
    moveStep(from - 1);
    positions_.replace(from, to - from, added.data(), qsizetype(added.size()));
    // The new entries are stored as they are; those after them move by the edit's length.
    step_ = from + qsizetype(added.size()) - 1;
    delta_ += delta;
}

}  // namespace korvane::text
