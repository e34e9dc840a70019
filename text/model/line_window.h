// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "text/model/text_reader.h"

namespace korvane::text {

// The part of a line around a position that is read instead of the whole line, so that finding
// a segment or a caret stop there costs what its length does, however long the line. It reaches
// kFirstReach characters either side at first; a cut edge never parts a surrogate pair. While
// what was found lies within kEdgeMargin characters of a cut edge, where the characters beyond
// could change it, the window doubles its reach on that side. The rules of Unicode's text
// segmentation look at a few characters of context only, far fewer than the margin.
class LineWindow {
public:
    static constexpr qsizetype kFirstReach = 2048;
    static constexpr qsizetype kEdgeMargin = 64;

    // The window of the line [line.start, line.end) around `position`, which lies in it.
    LineWindow(const TextReader& text, TextRange line, qsizetype position);

    qsizetype start() const { return range_.start; }
    qsizetype end() const { return range_.end; }
    TextRange range() const { return range_; }
    QString text() const { return text_.mid(range_.start, range_.length()); }

    // Whether `found`, a span of the line found in the window's text, is what the whole line
    // gives: true unless it comes within kEdgeMargin characters of a cut edge, where the window
    // then grows.
    bool settles(TextRange found);

private:
    void cut();

    const TextReader& text_;
    TextRange line_;
    qsizetype position_;
    qsizetype reachBefore_ = kFirstReach;
    qsizetype reachAfter_ = kFirstReach;
    TextRange range_;
};

}  // namespace korvane::text
