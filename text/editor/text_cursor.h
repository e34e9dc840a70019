// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <algorithm>
#include <optional>

#include "text/model/text_document.h"

namespace korvane::text {

// The caret and the selection of an editor: where the selection is anchored, where the caret is,
// and where Up and Down aim on the next line.
class TextCursor {
public:
    qsizetype anchor() const { return anchor_; }
    qsizetype position() const { return caret_; }
    qsizetype selectionStart() const { return std::min(anchor_, caret_); }
    qsizetype selectionEnd() const { return std::max(anchor_, caret_); }
    bool hasSelection() const { return anchor_ != caret_; }
    TextRange selection() const { return {selectionStart(), selectionEnd()}; }

    // Where Up and Down aim, from the line's left end, once a vertical move set it; the other
    // moves forget it.
    std::optional<qreal> wantedX() const { return wantedX_; }
    void setWantedX(std::optional<qreal> x) { wantedX_ = x; }

    // What a move changed, for repainting and telling others.
    struct Moved {
        bool caret = false;
        bool selection = false;
        TextRange selectionBefore;
    };
    Moved set(qsizetype anchor, qsizetype caret);

    // Where a position goes with an edit: one before it stays, one after it moves with the text,
    // one inside the replaced span goes to the span's end; a rewrite keeps every position.
    static qsizetype follow(qsizetype position, const TextChange& change);

private:
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    std::optional<qreal> wantedX_;
};

}  // namespace korvane::text
