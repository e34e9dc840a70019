// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextLayout>
#include <map>
#include <memory>

#include "text/model/text_document.h"

class QPainter;
class QPaintDevice;

namespace korvane::text {

// What an input method is composing: shown in the line at `position`, in its own formats, but
// not the document's.
struct Preedit {
    QString text;
    qsizetype position = 0;
    // The caret's place within the text, and whether the input method shows it.
    int cursor = 0;
    bool cursorShown = true;
    QList<QTextLayout::FormatRange> formats;
};

// The lines of a view laid out: only those asked for, which are the lines in view and a page
// either side, and of a line longer than kLongLine only a slice around the part in view, so a
// text of many megabytes, or one line of megabytes, costs no more to show than a page of it. It
// keeps the font's metrics, the widest line seen so far (for the horizontal scroll range) and
// what an input method is composing, which it lays out in place. It reads the document only.
class LayoutCache {
public:
    // Lines longer than this many characters are laid out a slice at a time.
    static constexpr qsizetype kLongLine = 2048;

    // The laid-out text of one line, or of the slice of a long line starting `offset`
    // characters into it and drawn `x` pixels from the line's left end.
    struct LineLayout {
        qsizetype offset = 0;
        qsizetype length = 0;
        qreal x = 0;
        qreal width = 0;
        std::unique_ptr<QTextLayout> layout;
    };
    // The part of a line in view: its left and right edges, from the line's left end.
    struct Span {
        qreal left = 0;
        qreal right = 0;
    };

    LayoutCache(const TextDocument& document, QPaintDevice* device, const QFont& font);

    void setFont(const QFont& font);
    int lineHeight() const { return lineHeight_; }
    qreal averageCharWidth() const { return averageCharWidth_; }
    // How wide the widest line laid out so far is, or a line too long to be laid out whole
    // would be at the average character width.
    qreal contentWidth() const;

    // The line's layout, covering at least the part in view for a long line.
    const LineLayout& layoutOf(int line, Span inView);
    // The horizontal place of `position` on its line, from the line's left end.
    qreal xOf(qsizetype position, Span inView);
    // The position on `line` nearest to `x`.
    qsizetype positionAt(int line, qreal x, Span inView);

    const Preedit& preedit() const { return preedit_; }
    // Shows the input method's text at its position, or nothing when it is empty.
    void setPreedit(Preedit preedit);
    // Where in the slice of `line` starting `offset` characters into it the pre-edit text is
    // shown, or -1.
    qsizetype preeditIn(int line, qsizetype offset, qsizetype length) const;

    void forget();
    // Moves the layouts with an edit: those above stay, those below move with their lines, the
    // edited line keeps where its slice was placed, so that a long line does not jump sideways.
    void follow(const TextChange& change);
    // Drops every layout outside lines [from, to].
    void keepOnly(int from, int to);

    // What painting lines needs of the view.
    struct Painting {
        int firstLine = 0;
        int lastLine = 0;
        QPointF origin;  // where the top line's left end is drawn
        QRectF area;     // what needs painting
        Span inView;
        TextRange selection;
        QTextCharFormat selectionFormat;
        qsizetype caret = -1;  // -1 when no caret is drawn
    };
    // Paints the lines, and returns the line the caret was drawn on, or -1.
    int paint(QPainter& painter, const Painting& painting);

private:
    // A layout of `text`, with the pre-edit text shown at `preeditAt` if that is not negative.
    std::unique_ptr<QTextLayout> makeLayout(const QString& text, qsizetype preeditAt = -1) const;
    // Lays out the slice of a long line that covers the part in view, placed so that it meets
    // the slice laid out before wherever the two overlap.
    void layOutSlice(int line, LineLayout& slice, Span inView);
    void noteWidth(qreal right) { widestSeen_ = std::max(widestSeen_, right); }

    const TextDocument& document_;
    QPaintDevice* device_;
    QFont font_;
    int lineHeight_ = 1;
    qreal averageCharWidth_ = 1;
    qreal widestSeen_ = 0;
    std::map<int, LineLayout> layouts_;
    Preedit preedit_;
};

}  // namespace korvane::text
