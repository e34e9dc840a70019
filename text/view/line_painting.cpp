// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/line_painting.h"

#include <QPainter>
#include <algorithm>

namespace korvane::text {

int paintLines(QPainter& painter, LayoutCache& layouts, const LinePainting& painting) {
    const TextDocument& document = layouts.document();
    const Preedit& preedit = layouts.preedit();
    const int lineHeight = layouts.lineHeight();
    int caretLine = -1;
    const QRectF& area = painting.area;
    for (int line = painting.firstLine; line <= painting.lastLine; ++line) {
        const qreal y = painting.origin.y() + (line - painting.firstLine) * lineHeight;
        if (y > area.bottom() || y + lineHeight < area.top())
            continue;
        const LayoutCache::LineLayout& layout = layouts.layoutOf(line, painting.inView);
        const qsizetype lineEnd = document.lineEnd(line);
        const qsizetype sliceStart = document.lineStart(line) + layout.offset;
        const qsizetype sliceEnd = sliceStart + layout.length;
        const QPointF origin(painting.origin.x() + layout.x, y);
        QList<QTextLayout::FormatRange> selections;
        if (painting.selection.length() > 0) {
            // A selection that goes on past the line's end shows its line break as a blank.
            const bool breakInSlice = sliceEnd == lineEnd && sliceEnd < document.length();
            const qsizetype from = std::max(painting.selection.start, sliceStart);
            const qsizetype to =
                std::min(painting.selection.end, sliceEnd + (breakInSlice ? 1 : 0));
            if (from < to)
                selections.append(
                    {int(from - sliceStart), int(to - from), painting.selectionFormat});
        }
        const qsizetype preeditAt = layouts.preeditIn(line, layout.offset, layout.length);
        if (preeditAt >= 0) {
            for (QTextLayout::FormatRange& selection : selections) {
                if (selection.start >= preeditAt)
                    selection.start += int(preedit.text.size());
            }
        }
        layout.layout->draw(&painter, origin, selections, area);
        const qsizetype caret = painting.caret;
        if (caret >= sliceStart && caret <= sliceEnd && document.lineAt(caret) == line) {
            caretLine = line;
            if (preeditAt < 0)
                layout.layout->drawCursor(&painter, origin, int(caret - sliceStart), 1);
            else if (preedit.cursorShown)
                layout.layout->drawCursor(&painter, origin, int(preeditAt) + preedit.cursor, 1);
        }
    }
    return caretLine;
}

}  // namespace korvane::text
