// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>
#include <QRectF>
#include <QTextCharFormat>

#include "text/view/layout_cache.h"

class QPainter;

namespace korvane::text {

// What painting the lines of a view needs of it.
struct LinePainting {
    int firstLine = 0;
    int lastLine = 0;
    QPointF origin;  // where the top line's left end is drawn
    QRectF area;     // what needs painting
    LayoutCache::Span inView;
    TextRange selection;
    QTextCharFormat selectionFormat;
    qsizetype caret = -1;  // -1 when no caret is drawn
};

// Paints lines [firstLine, lastLine] as `layouts` lays them out, with the selection, the
// pre-edit in place and the caret, and returns the line the caret was drawn on, or -1. A
// selection that goes on past a line's end shows its line break as a blank.
int paintLines(QPainter& painter, LayoutCache& layouts, const LinePainting& painting);

}  // namespace korvane::text
