// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>

#include "text/model/position_index.h"

namespace korvane::text {

// Where the surrogate pairs of a text are, so that a position in UTF-16 units and an offset in
// code points, as AT-SPI counts characters (an emoji is one), turn into each other at the cost
// of a search. A text without a pair costs nothing to convert.
class CodePointIndex {
public:
    // Indexes the text made of `first` followed by `second` from scratch.
    void build(QStringView first, QStringView second = {});

    // Follows an edit that replaced `removed` code units at `position` by `added`. `around` is
    // the edited text's [aroundStart, aroundEnd): the added span with one unit either side where
    // there is one, so that a pair the edit split or joined is seen.
    void replace(qsizetype position, qsizetype removed, qsizetype added, QStringView around,
                 qsizetype aroundStart);

    qsizetype pairCount() const { return pairs_.count(); }
    // How many code points lie before `position`; a position between the halves of a pair
    // counts the high half as one.
    qsizetype offsetOf(qsizetype position) const {
        return position - pairs_.countBelow(position - 1);
    }
    // The position before which `offset` code points lie, in a text of `length` units.
    qsizetype positionOf(qsizetype offset, qsizetype length) const;

private:
    // Where each pair starts (its high half).
    PositionIndex pairs_;
};

}  // namespace korvane::text
