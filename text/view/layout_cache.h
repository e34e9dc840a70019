// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>
#include <map>
#include <memory>
#include <optional>

#include "text/editor/preedit.h"
#include "text/model/text_document.h"

class QPaintDevice;

namespace korvane::text {

// The lines of a view laid out: only those asked for, which are the lines in view, and of each
// only the columns in view, so a text of many megabytes, or of lines of megabytes, costs no more
// to show than a page of it. A line of up to kLongLine characters is laid out from its start as
// far as the view reaches, its characters where the whole line laid out would put them, unless
// the characters after a cut could move those before it (a right-to-left script, bidirectional
// controls, scripts shaped across clusters, a pre-edit), when it is laid out whole. Of a longer
// line only a slice around the part in view is laid out, placed by estimate where it is far from
// the slice before. It keeps the font's metrics and the widest line seen so far (for the
// horizontal scroll range), and lays out what an input method is composing in place. It reads
// the document and the pre-edit only, and paints nothing.
class LayoutCache {
public:
    // Lines longer than this many characters are laid out a slice at a time.
    static constexpr qsizetype kLongLine = 2048;

    // The laid-out text of one line, of its start, or of the slice of a long line starting
    // `offset` characters into it and drawn `x` pixels from the line's left end.
    struct LineLayout {
        qsizetype offset = 0;
        qsizetype length = 0;
        qreal x = 0;
        qreal width = 0;
        // How far from its left end the layout of a line's start shows it exactly as the whole
        // line laid out: all but the last characters before the cut, whose shapes the characters
        // after it could change.
        qreal exactWidth = 0;
        std::unique_ptr<QTextLayout> layout;
    };
    // The part of a line in view: its left and right edges, from the line's left end.
    struct Span {
        qreal left = 0;
        qreal right = 0;
    };

    LayoutCache(const TextDocument& document, const Preedit& preedit, QPaintDevice* device,
                const QFont& font);

    const TextDocument& document() const { return document_; }
    const Preedit& preedit() const { return preedit_; }

    void setFont(const QFont& font);
    int lineHeight() const { return lineHeight_; }
    qreal averageCharWidth() const { return averageCharWidth_; }
    // How wide the widest line laid out so far is, or a line too long to be laid out whole
    // would be at the average character width.
    qreal contentWidth() const;

    // The line's layout, covering at least the part in view.
    const LineLayout& layoutOf(int line, Span inView);
    // The horizontal place of `position` on its line, from the line's left end.
    qreal xOf(qsizetype position, Span inView);
    // The position on `line` nearest to `x`.
    qsizetype positionAt(int line, qreal x, Span inView);

    // Lays out again the lines the pre-edit was shown on, `before`, and is shown on now.
    void followPreedit(const Preedit& before);
    // Where in the slice of `line` starting `offset` characters into it the pre-edit text is
    // shown, or -1.
    qsizetype preeditIn(int line, qsizetype offset, qsizetype length) const;
    // Where the caret inside the pre-edit is drawn, from its line's left end, or nothing when
    // no pre-edit is shown.
    std::optional<qreal> preeditCaretX(Span inView);

    void forget();
    // Moves the layouts with an edit: those above stay, those below move with their lines, the
    // edited line keeps where its slice was placed, so that a long line does not jump sideways.
    void follow(const TextChange& change) noexcept;
    // Drops every layout outside lines [from, to].
    void keepOnly(int from, int to);

private:
    // A layout of `text`, with the pre-edit text shown at `preeditAt` if that is not negative.
    std::unique_ptr<QTextLayout> makeLayout(const QString& text, qsizetype preeditAt = -1) const;
    // The line's layout, covering the part in view and, of a line laid out from its start, also
    // the place `x` and the character `inLine` characters into the line (-1 for none).
    const LineLayout& layoutCovering(int line, Span inView, qreal x, qsizetype inLine);
    // Lays out the line from its start as far as it covers `right` and the character `inLine`
    // characters into it, and half a view further, so that a view scrolled a little sideways
    // finds it laid out; the whole line where a cut could move the characters before it.
    void layOutStart(int line, LineLayout& entry, Span inView, qreal right, qsizetype inLine);
    // Lays out the slice of a long line that covers the part in view, placed so that it meets
    // the slice laid out before wherever the two overlap.
    void layOutSlice(int line, LineLayout& slice, Span inView);
    void noteWidth(qreal right) { widestSeen_ = std::max(widestSeen_, right); }

    const TextDocument& document_;
    const Preedit& preedit_;
    QPaintDevice* device_;
    QFont font_;
    int lineHeight_ = 1;
    qreal averageCharWidth_ = 1;
    qreal widestSeen_ = 0;
    std::map<int, LineLayout> layouts_;
};

}  // namespace korvane::text
