// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/layout_cache.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <limits>

#include "text/model/surrogate_pairs.h"

namespace korvane::text {
namespace {

// QPlainTextEdit's default tab stop distance.
constexpr qreal kTabStop = 80;
// Lines wider than any real one; no line wraps within it.
constexpr qreal kUnwrappedWidth = 1e7;
// How many characters a new slice of a long line starts before the first one in view.
constexpr qsizetype kSliceLead = 256;

}  // namespace

LayoutCache::LayoutCache(const TextDocument& document, const Preedit& preedit, QPaintDevice* device,
                         const QFont& font)
    : document_(document), preedit_(preedit), device_(device) {
    setFont(font);
}

void LayoutCache::setFont(const QFont& font) {
    font_ = font;
    const QFontMetricsF metrics(font_, device_);
    // A line is as high as QTextLine makes it with its leading included, rounded up.
    lineHeight_ = std::max(
        1, int(std::ceil(metrics.ascent() + metrics.descent() + std::max(0.0, metrics.leading()))));
    averageCharWidth_ = std::max(1.0, metrics.averageCharWidth());
    forget();
}

qreal LayoutCache::contentWidth() const {
    const qsizetype longest = document_.longestLineLength();
    return std::max(widestSeen_, longest > kLongLine ? qreal(longest) * averageCharWidth_ : 0.0);
}

void LayoutCache::forget() {
    layouts_.clear();
    widestSeen_ = 0;
}

void LayoutCache::followPreedit(const Preedit& before) {
    if (!before.text.isEmpty())
        layouts_.erase(document_.lineAt(before.position));
    if (!preedit_.text.isEmpty())
        layouts_.erase(document_.lineAt(preedit_.position));
}

std::optional<qreal> LayoutCache::preeditCaretX(Span inView) {
    if (preedit_.text.isEmpty())
        return std::nullopt;
    const int line = document_.lineAt(preedit_.position);
    const LineLayout& layout = layoutOf(line, inView);
    const qsizetype at = preeditIn(line, layout.offset, layout.length);
    if (at < 0 || !layout.layout)
        return std::nullopt;
    return layout.x + layout.layout->lineAt(0).cursorToX(int(at) + preedit_.cursor);
}

qsizetype LayoutCache::preeditIn(int line, qsizetype offset, qsizetype length) const {
    if (preedit_.text.isEmpty() || document_.lineAt(preedit_.position) != line)
        return -1;
    const qsizetype inLine = preedit_.position - document_.lineStart(line) - offset;
    return inLine >= 0 && inLine <= length ? inLine : -1;
}

std::unique_ptr<QTextLayout> LayoutCache::makeLayout(const QString& text,
                                                     qsizetype preeditAt) const {
    auto layout = std::make_unique<QTextLayout>(text, font_, device_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStop);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout->setTextOption(option);
    if (preeditAt >= 0) {
        // The input method's text is shown in place, in its own formats, but is not the
        // document's.
        layout->setPreeditArea(int(preeditAt), preedit_.text);
        QList<QTextLayout::FormatRange> formats = preedit_.formats;
        for (QTextLayout::FormatRange& format : formats)
            format.start += int(preeditAt);
        layout->setFormats(formats);
    }
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLeadingIncluded(true);
    line.setLineWidth(kUnwrappedWidth);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}

const LayoutCache::LineLayout& LayoutCache::layoutOf(int line, Span inView) {
    LineLayout& entry = layouts_[line];
    const qsizetype start = document_.lineStart(line);
    const qsizetype length = document_.lineEnd(line) - start;
    if (length > kLongLine) {
        layOutSlice(line, entry, inView);
    } else if (!entry.layout || entry.offset != 0 || entry.length != length) {
        entry.layout = makeLayout(document_.mid(start, length), preeditIn(line, 0, length));
        entry.offset = 0;
        entry.length = length;
        entry.x = 0;
        entry.width = entry.layout->lineAt(0).naturalTextWidth();
        noteWidth(entry.width);
    }
    return entry;
}

void LayoutCache::layOutSlice(int line, LineLayout& slice, Span inView) {
    const qsizetype start = document_.lineStart(line);
    const qsizetype length = document_.lineEnd(line) - start;
    const qreal viewLeft = inView.left;
    const qreal viewRight = inView.right;
    const bool reachesEnd = slice.offset + slice.length == length;
    if (slice.layout && slice.offset + slice.length <= length &&
        (slice.x <= viewLeft || slice.offset == 0) &&
        (slice.x + slice.width >= viewRight || reachesEnd))
        return;

    // The character at the view's left edge: exact where the old slice reaches, else estimated
    // from the old slice's ends with the font's average character width.
    const QTextLine old = slice.layout ? slice.layout->lineAt(0) : QTextLine();
    const qsizetype oldEnd = std::min(slice.offset + slice.length, length);
    qsizetype atLeft;
    if (slice.layout && viewLeft >= slice.x && viewLeft <= slice.x + slice.width)
        atLeft = slice.offset + old.xToCursor(viewLeft - slice.x);
    else if (viewLeft < slice.x)
        atLeft = slice.offset - qsizetype((slice.x - viewLeft) / averageCharWidth_);
    else
        atLeft = oldEnd + qsizetype((viewLeft - slice.x - slice.width) / averageCharWidth_);
    const qsizetype from =
        outsidePair(document_, start + std::clamp<qsizetype>(atLeft - kSliceLead, 0, length)) -
        start;

    // Where the new slice starts: measured against the old one where they meet or lie close,
    // estimated where they are far apart.
    qreal x;
    if (from == 0) {
        x = 0;
    } else if (slice.layout && from >= slice.offset && from <= oldEnd) {
        x = slice.x + old.cursorToX(int(from - slice.offset));
    } else if (slice.layout && from < slice.offset && slice.offset - from <= kLongLine) {
        const auto gap = makeLayout(document_.mid(start + from, slice.offset - from));
        x = slice.x - gap->lineAt(0).naturalTextWidth();
    } else if (from < slice.offset) {
        x = slice.x - qreal(slice.offset - from) * averageCharWidth_;
    } else {
        x = slice.x + slice.width + qreal(from - oldEnd) * averageCharWidth_;
    }

    // Enough characters to reach past the right edge, more if the text is wider than average.
    qsizetype count = kLongLine / 2 + qsizetype(2 * (viewRight - x) / averageCharWidth_);
    std::unique_ptr<QTextLayout> layout;
    qreal width = 0;
    for (;;) {
        count = std::clamp<qsizetype>(count, 1, length - from);
        count = outsidePair(document_, start + from + count, true) - start - from;
        layout = makeLayout(document_.mid(start + from, count), preeditIn(line, from, count));
        width = layout->lineAt(0).naturalTextWidth();
        if (x + width >= viewRight || from + count >= length)
            break;
        count *= 2;
    }
    // A slice that reaches the line's end ends no sooner than the scroll range says the line
    // does, so the end is in view with the view scrolled right to the end.
    if (from + count >= length)
        x = std::max(x, qreal(length) * averageCharWidth_ - width);
    slice.offset = from;
    slice.length = count;
    slice.x = x;
    slice.width = width;
    slice.layout = std::move(layout);
    noteWidth(x + width);
}

qreal LayoutCache::xOf(qsizetype position, Span inView) {
    const int line = document_.lineAt(position);
    const LineLayout& layout = layoutOf(line, inView);
    const qsizetype inLine = position - document_.lineStart(line);
    if (inLine < layout.offset)
        return layout.x - qreal(layout.offset - inLine) * averageCharWidth_;
    if (inLine > layout.offset + layout.length)
        return layout.x + layout.width +
               qreal(inLine - layout.offset - layout.length) * averageCharWidth_;
    qsizetype inSlice = inLine - layout.offset;
    const qsizetype preeditAt = preeditIn(line, layout.offset, layout.length);
    if (preeditAt >= 0 && inSlice > preeditAt)
        inSlice += preedit_.text.size();  // the text after the pre-edit is shown after it
    return layout.x + layout.layout->lineAt(0).cursorToX(int(inSlice));
}

qsizetype LayoutCache::positionAt(int line, qreal x, Span inView) {
    const LineLayout& layout = layoutOf(line, inView);
    const qsizetype start = document_.lineStart(line);
    const qsizetype length = document_.lineEnd(line) - start;
    qsizetype inLine;
    if (x < layout.x && layout.offset > 0) {
        inLine = layout.offset - qsizetype((layout.x - x) / averageCharWidth_);
    } else if (x > layout.x + layout.width && layout.offset + layout.length < length) {
        inLine = layout.offset + layout.length +
                 qsizetype((x - layout.x - layout.width) / averageCharWidth_);
    } else {
        inLine = layout.offset + layout.layout->lineAt(0).xToCursor(
                                     x - layout.x, QTextLine::CursorBetweenCharacters);
    }
    return start + std::clamp<qsizetype>(inLine, 0, length);
}

void LayoutCache::follow(const TextChange& change) noexcept {
    // The layouts move between maps node by node, which needs no memory.
    const EditedLines& lines = change.lines;
    std::map<int, LineLayout> kept;
    while (!layouts_.empty()) {
        auto node = layouts_.extract(layouts_.begin());
        const int line = node.key();
        if (line > lines.lastRemoved) {
            node.key() = line + lines.lineDelta();
        } else if (line == lines.first) {
            node.mapped().layout.reset();
        } else if (line > lines.first) {
            continue;
        }
        kept.insert(std::move(node));
    }
    layouts_ = std::move(kept);
}

void LayoutCache::keepOnly(int from, int to) {
    for (auto it = layouts_.begin(); it != layouts_.end();) {
        if (it->first < from || it->first > to)
            it = layouts_.erase(it);
        else
            ++it;
    }
}

}  // namespace korvane::text
