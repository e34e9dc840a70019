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
// How many characters before a cut the characters after it could shape otherwise (a kerning
// pair, a ligature, a contextual form): a layout of a line's start shows those in their place
// only with the rest of the line.
constexpr qsizetype kCutReach = 16;

// Whether the characters of a line stand where the whole line laid out puts them when it is laid
// out only up to a cut, but for the last characters before it: text read left to right
// throughout, in scripts whose shapes join no more than a base and its marks (Latin, Greek,
// Cyrillic, Armenian, with their punctuation, currency signs and combining marks). A letter or
// digit of a right-to-left script, a bidirectional control or a joiner changes the order or the
// shape of what comes before it, and so may the scripts shaped across clusters (Arabic, the
// Indic scripts, Thai, emoji sequences).
bool laysOutInPart(QStringView line) {
    bool simple = true;
    for (const QChar c : line) {
        const char16_t unit = c.unicode();
        simple &= unit < 0x0590 || (unit >= 0x1e00 && unit < 0x2000) ||
                  (unit >= 0x2010 && unit < 0x2028) || (unit >= 0x2030 && unit < 0x205f) ||
                  (unit >= 0x20a0 && unit < 0x20d0);
    }
    return simple;
}

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
    return layoutCovering(line, inView, inView.right, -1);
}

const LayoutCache::LineLayout& LayoutCache::layoutCovering(int line, Span inView, qreal x,
                                                           qsizetype inLine) {
    LineLayout& entry = layouts_[line];
    if (document_.lineEnd(line) - document_.lineStart(line) > kLongLine)
        layOutSlice(line, entry, inView);
    else
        layOutStart(line, entry, inView, std::max(x, inView.right), inLine);
    return entry;
}

void LayoutCache::layOutStart(int line, LineLayout& entry, Span inView, qreal right,
                              qsizetype inLine) {
    const qsizetype start = document_.lineStart(line);
    const qsizetype length = document_.lineEnd(line) - start;
    const auto covers = [&](qsizetype count, qreal exactWidth) {
        return count == length || (exactWidth >= right && inLine <= count - kCutReach);
    };
    const bool laidOut = entry.layout && entry.offset == 0 && entry.length <= length;
    if (laidOut && covers(entry.length, entry.exactWidth))
        return;

    const QString text = document_.mid(start, length);
    const qsizetype preeditAt = preeditIn(line, 0, length);
    qsizetype count = length;
    if (preeditAt < 0 && length > kCutReach && laysOutInPart(text)) {
        // Enough characters to reach half a view past `right` at the average width; twice as
        // many as before when the view went past the start laid out, so that a view scrolled
        // along the line lays out its start only a few times.
        const qreal reach = right + (inView.right - inView.left) / 2;
        count = std::max({qsizetype(std::max(0.0, reach) / averageCharWidth_) + kCutReach,
                          inLine + kCutReach, laidOut ? 2 * entry.length : 0});
    }
    std::unique_ptr<QTextLayout> layout;
    qreal width = 0;
    qreal exactWidth = 0;
    for (;;) {
        count = std::min(count, length);
        layout = makeLayout(count == length ? text : text.first(count),
                            count == length ? preeditAt : -1);
        const QTextLine shown = layout->lineAt(0);
        width = shown.naturalTextWidth();
        exactWidth = count == length ? width : shown.cursorToX(int(count - kCutReach));
        if (covers(count, exactWidth))
            break;
        count *= 2;  // the text is wider than average
    }
    entry.offset = 0;
    entry.length = count;
    entry.x = 0;
    entry.width = width;
    entry.exactWidth = exactWidth;
    entry.layout = std::move(layout);
    // The rest of a line laid out in part is as wide as its start, character for character, for
    // the scroll range; laid out that far, it is measured.
    noteWidth(count == length ? width : width * qreal(length) / qreal(count));
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
    const qsizetype inLine = position - document_.lineStart(line);
    const LineLayout& layout = layoutCovering(line, inView, inView.right, inLine);
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
    const LineLayout& layout = layoutCovering(line, inView, x, -1);
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
