// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/line_window.h"

#include <algorithm>

#include "text/model/surrogate_pairs.h"

namespace korvane::text {

LineWindow::LineWindow(const TextReader& text, TextRange line, qsizetype position)
    : text_(text), line_(line), position_(position) {
    cut();
}

void LineWindow::cut() {
    range_.start = outsidePair(text_, std::max(line_.start, position_ - reachBefore_));
    range_.end = outsidePair(text_, std::min(line_.end, position_ + reachAfter_), true);
}

bool LineWindow::settles(TextRange found) {
    const bool startKnown =
        range_.start == line_.start || found.start >= range_.start + kEdgeMargin;
    const bool endKnown = range_.end == line_.end || found.end <= range_.end - kEdgeMargin;
    if (startKnown && endKnown)
        return true;
    if (!startKnown)
        reachBefore_ *= 2;
    if (!endKnown)
        reachAfter_ *= 2;
    cut();
    return false;
}

}  // namespace korvane::text
