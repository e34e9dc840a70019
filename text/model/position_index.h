// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <vector>

#include "text/model/gap_vector.h"

namespace korvane::text {

// Ascending positions in a text (where its lines start, where its surrogate pairs are) that
// follow the text's edits. An edit moves every position after it; rather than shifting them all,
// the index keeps that shift pending for the entries after a step entry: their stored positions
// lack the step delta, which is added when one is read. The next edit moves the step to its own
// place, applying the delta to the entries it passes, so edits near each other shift only the few
// entries between them. The entries are kept in a gap vector, so an entry added near the last
// edit moves only the entries between the two as well.
class PositionIndex {
public:
    qsizetype count() const { return positions_.size(); }
    qsizetype at(qsizetype index) const { return positions_[index] + (index > step_ ? delta_ : 0); }
    // How many entries are at most `position`, and how many are less than it.
    qsizetype countUpTo(qsizetype position) const;
    qsizetype countBelow(qsizetype position) const;
    // The first index at which `isAfter(index)` holds, count() if none: it must hold for every
    // index after one at which it holds.
    template <typename Predicate>
    qsizetype partitionPoint(Predicate isAfter) const {
        return positions_.partitionPoint(0, count(), isAfter);
    }

    // Takes these entries, ascending, in place of all.
    void assign(std::vector<qsizetype> positions);
    // Makes room for `count` entries more, so that a replace() that adds no more than that
    // cannot fail for want of memory.
    void reserve(qsizetype count) { positions_.reserveGap(count); }
    // Replaces the entries [from, to) by `added` (ascending, as positions of the edited text) and
    // moves every entry after them by `delta`.
    void replace(qsizetype from, qsizetype to, const std::vector<qsizetype>& added,
                 qsizetype delta);

private:
    // Puts the step at `index`, so that the entries up to it are stored as they are.
    void moveStep(qsizetype index);

    GapVector<qsizetype> positions_;
    // The entries after this one are stored `delta_` less than they are.
    qsizetype step_ = -1;
    qsizetype delta_ = 0;
};

}  // namespace korvane::text
