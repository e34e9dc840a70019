// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/editor/text_cursor.h"

namespace korvane::text {

TextCursor::Moved TextCursor::set(qsizetype anchor, qsizetype caret) {
    Moved moved{caret != caret_, false, selection()};
    const bool hadSelection = hasSelection();
    anchor_ = anchor;
    caret_ = caret;
    moved.selection = (hadSelection || hasSelection()) && selection() != moved.selectionBefore;
    return moved;
}

qsizetype TextCursor::follow(qsizetype position, const TextChange& change) {
    if (position < change.position || change.isRewrite())
        return position;
    return std::max(position + change.added - change.removed, change.position + change.added);
}

}  // namespace korvane::text
