// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "text/text_view.h"

// The text view's layout of the lines in view, its scrolling and painting, the caret's blink
// and the focus.
namespace korvane::text {
namespace {

// QPlainTextEdit's default tab stop distance.
constexpr qreal kTabStop = 80;
// Lines wider than any real one; no line wraps within it.
constexpr qreal kUnwrappedWidth = 1e7;
// How many characters a new slice of a long line starts before the first one in view.
constexpr qsizetype kSliceLead = 256;

}  // namespace

// --- Layout -------------------------------------------------------------------------------

void TextView::updateFontMetrics() {
    const QFontMetricsF metrics(font(), viewport());
    // A line is as high as QTextLine makes it with its leading included, rounded up.
    lineHeight_ = std::max(
        1, int(std::ceil(metrics.ascent() + metrics.descent() + std::max(0.0, metrics.leading()))));
    averageCharWidth_ = std::max(1.0, metrics.averageCharWidth());
}

void TextView::forgetLayouts() {
    layouts_.clear();
    widestSeen_ = 0;
}

void TextView::noteWidth(qreal right) const {
    widestSeen_ = std::max(widestSeen_, right);
}

qsizetype TextView::preeditIn(int line, qsizetype offset, qsizetype length) const {
    if (preedit_.isEmpty() || document_->lineAt(caret_) != line)
        return -1;
    const qsizetype inLine = caret_ - document_->lineStart(line) - offset;
    return inLine >= 0 && inLine <= length ? inLine : -1;
}

std::unique_ptr<QTextLayout> TextView::makeLayout(QStringView text, qsizetype preeditAt) const {
    auto layout = std::make_unique<QTextLayout>(text.toString(), font(), viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStop);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout->setTextOption(option);
    if (preeditAt >= 0) {
        // The input method's text is shown in place, in its own formats, but is not the
        // document's.
        layout->setPreeditArea(int(preeditAt), preedit_);
        QList<QTextLayout::FormatRange> formats = preeditFormats_;
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

TextView::LineLayout& TextView::layoutOf(int line) const {
    LineLayout& entry = layouts_[line];
    const qsizetype start = document_->lines().lineStart(line);
    const qsizetype length = lineEnd(line) - start;
    if (length > kLongLine) {
        layOutSlice(line, entry);
    } else if (!entry.layout || entry.offset != 0 || entry.length != length) {
        entry.layout = makeLayout(document_->span(start, length), preeditIn(line, 0, length));
        entry.offset = 0;
        entry.length = length;
        entry.x = 0;
        entry.width = entry.layout->lineAt(0).naturalTextWidth();
        noteWidth(entry.width);
    }
    return entry;
}

void TextView::layOutSlice(int line, LineLayout& slice) const {
    const qsizetype start = document_->lines().lineStart(line);
    const qsizetype length = lineEnd(line) - start;
    const qreal viewLeft = horizontalScrollBar()->value() - kMargin;
    const qreal viewRight = viewLeft + viewport()->width() + kMargin;
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
    qsizetype from = std::clamp<qsizetype>(atLeft - kSliceLead, 0, length);
    if (from > 0 && document_->at(start + from).isLowSurrogate())
        --from;

    // Where the new slice starts: measured against the old one where they meet or lie close,
    // estimated where they are far apart.
    qreal x;
    if (from == 0) {
        x = 0;
    } else if (slice.layout && from >= slice.offset && from <= oldEnd) {
        x = slice.x + old.cursorToX(int(from - slice.offset));
    } else if (slice.layout && from < slice.offset && slice.offset - from <= kLongLine) {
        const auto gap = makeLayout(document_->span(start + from, slice.offset - from));
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
        if (from + count < length && document_->at(start + from + count).isLowSurrogate())
            ++count;
        layout = makeLayout(document_->span(start + from, count), preeditIn(line, from, count));
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

qreal TextView::xOf(qsizetype position) const {
    const int line = document_->lines().lineAt(position);
    const LineLayout& layout = layoutOf(line);
    const qsizetype inLine = position - document_->lines().lineStart(line);
    if (inLine < layout.offset)
        return layout.x - qreal(layout.offset - inLine) * averageCharWidth_;
    if (inLine > layout.offset + layout.length)
        return layout.x + layout.width +
               qreal(inLine - layout.offset - layout.length) * averageCharWidth_;
    qsizetype inSlice = inLine - layout.offset;
    const qsizetype preeditAt = preeditIn(line, layout.offset, layout.length);
    if (preeditAt >= 0 && inSlice > preeditAt)
        inSlice += preedit_.size();  // the text after the pre-edit is shown after it
    return layout.x + layout.layout->lineAt(0).cursorToX(int(inSlice));
}

qsizetype TextView::positionAt(int line, qreal x) const {
    const LineLayout& layout = layoutOf(line);
    const qsizetype start = document_->lines().lineStart(line);
    const qsizetype length = lineEnd(line) - start;
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
    return clamped(start + std::clamp<qsizetype>(inLine, 0, length));
}

qreal TextView::topOffset() const {
    return firstVisibleLine() == 0 ? kMargin : 0;
}

int TextView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

void TextView::updateLines(int from, int to) {
    const int first = firstVisibleLine();
    from = std::max(from, first);
    to = std::min(to, first + visibleLineCount() + 1);
    if (from > to)
        return;
    // A pixel more either side, for the caret and glyphs that reach past their line's box.
    const int top = int(topOffset()) + (from - first) * lineHeight_ - 1;
    viewport()->update(0, top, viewport()->width(), (to - from + 1) * lineHeight_ + 2);
}

void TextView::updateCaretLines() {
    const int line = document_->lines().lineAt(caret_);
    updateLines(line, line);
    if (paintedCaretLine_ >= 0 && paintedCaretLine_ != line)
        updateLines(paintedCaretLine_, paintedCaretLine_);
}

int TextView::visibleLineCount() const {
    return std::max(1, (viewport()->height() - 2 * kMargin - 1) / lineHeight_);
}

qsizetype TextView::positionAt(QPoint point) const {
    const int row = int(std::floor((point.y() - topOffset()) / lineHeight_));
    const int line = std::clamp(firstVisibleLine() + row, 0, document_->lines().lineCount() - 1);
    return positionAt(line, point.x() - kMargin + horizontalScrollBar()->value());
}

QRect TextView::characterRect(qsizetype position) const {
    position = clamped(position);
    const int line = document_->lines().lineAt(position);
    const qreal left = xOf(position);
    const qsizetype end = lineEnd(line);
    qreal right = left + averageCharWidth_;
    if (position < end) {
        qsizetype next = position + 1;
        if (document_->at(position).isHighSurrogate() && next < end)
            ++next;
        right = xOf(next);
    }
    const int x = kMargin - horizontalScrollBar()->value();
    const int y = int(topOffset()) + (line - firstVisibleLine()) * lineHeight_;
    return QRectF(x + std::min(left, right), y, std::abs(right - left), lineHeight_)
        .toAlignedRect();
}

void TextView::ensureVisible(qsizetype position) {
    position = clamped(position);
    const int line = document_->lines().lineAt(position);
    const int first = firstVisibleLine();
    const int fit = visibleLineCount();
    if (line < first)
        verticalScrollBar()->setValue(line);
    else if (line >= first + fit)
        verticalScrollBar()->setValue(line - fit + 1);
    // As QPlainTextEdit does, a caret beyond either side brings its place to the middle. In a
    // long line the place is first estimated, then measured on the slice laid out there.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qreal x = xOf(position) + kMargin;
        const int left = horizontalScrollBar()->value();
        if (x >= left && x + 1 <= left + viewport()->width())
            break;
        adjustScrollBars();
        horizontalScrollBar()->setValue(int(x) - viewport()->width() / 2);
    }
}

void TextView::adjustScrollBars() {
    const int fit = visibleLineCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, document_->lines().lineCount() - fit));
    vertical->setPageStep(fit);
    // As wide as the widest line laid out so far, as in QPlainTextEdit, or as a line too long
    // to be laid out whole would be at the average character width.
    const qreal longest = document_->longestLineLength() > kLongLine
                              ? qreal(document_->longestLineLength()) * averageCharWidth_
                              : qreal(0);
    const qreal contentWidth =
        std::min(std::max(widestSeen_, longest) + 2 * kMargin, qreal(INT_MAX / 2));
    // The range grows in steps of a quarter of the view, so that typing on at the end of the
    // longest line repaints the scroll bar only now and then, not at every key.
    const int step = std::max(1, viewport()->width() / 4);
    const int overhang = int(contentWidth - viewport()->width());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, overhang <= 0 ? 0 : (overhang + step - 1) / step * step);
    horizontal->setPageStep(viewport()->width());
}

// --- Painting -----------------------------------------------------------------------------

void TextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRectF area(event->rect());
    const int first = firstVisibleLine();
    const qreal top = topOffset();
    const int last = std::min(document_->lines().lineCount() - 1,
                              first + int((viewport()->height() - top) / lineHeight_));
    const qreal widestBefore = widestSeen_;
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    QTextCharFormat selectionFormat;
    selectionFormat.setBackground(palette().brush(group, QPalette::Highlight));
    selectionFormat.setForeground(palette().brush(group, QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));
    const qreal left = kMargin - horizontalScrollBar()->value();

    for (int line = first; line <= last; ++line) {
        const qreal y = top + (line - first) * lineHeight_;
        if (y > area.bottom() || y + lineHeight_ < area.top())
            continue;
        const LineLayout& layout = layoutOf(line);
        const qsizetype sliceStart = document_->lines().lineStart(line) + layout.offset;
        const qsizetype sliceEnd = sliceStart + layout.length;
        const QPointF origin(left + layout.x, y);
        QList<QTextLayout::FormatRange> selections;
        if (hasSelection()) {
            // A selection that goes on past the line's end shows its line break as a blank.
            const bool breakInSlice = sliceEnd == lineEnd(line) && sliceEnd < document_->length();
            const qsizetype from = std::max(selectionStart(), sliceStart);
            const qsizetype to = std::min(selectionEnd(), sliceEnd + (breakInSlice ? 1 : 0));
            if (from < to)
                selections.append({int(from - sliceStart), int(to - from), selectionFormat});
        }
        const qsizetype preeditAt = preeditIn(line, layout.offset, layout.length);
        if (preeditAt >= 0) {
            for (QTextLayout::FormatRange& selection : selections) {
                if (selection.start >= preeditAt)
                    selection.start += int(preedit_.size());
            }
        }
        layout.layout->draw(&painter, origin, selections, area);
        if (caretShown_ && caret_ >= sliceStart && caret_ <= sliceEnd &&
            document_->lines().lineAt(caret_) == line) {
            paintedCaretLine_ = line;
            if (preeditAt < 0)
                layout.layout->drawCursor(&painter, origin, int(caret_ - sliceStart), 1);
            else if (preeditCursorShown_)
                layout.layout->drawCursor(&painter, origin, int(preeditAt) + preeditCursor_, 1);
        }
    }
    if (dropCaret_ >= 0) {
        // Where a drop would put the text.
        const QRect at = characterRect(dropCaret_);
        painter.fillRect(QRect(at.left(), at.top(), 1, at.height()),
                         palette().color(QPalette::Text));
    }

    // Keeps the layouts of the lines in view and a page either side.
    const int keepFrom = first - visibleLineCount();
    const int keepTo = last + visibleLineCount();
    for (auto it = layouts_.begin(); it != layouts_.end();) {
        if (it->first < keepFrom || it->first > keepTo)
            it = layouts_.erase(it);
        else
            ++it;
    }
    if (widestSeen_ > widestBefore)
        QMetaObject::invokeMethod(this, &TextView::adjustScrollBars, Qt::QueuedConnection);
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    adjustScrollBars();
}

void TextView::scrollContentsBy(int, int) {
    viewport()->update();
}

void TextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateFontMetrics();
        forgetLayouts();
        adjustScrollBars();
        viewport()->update();
    } else if (event->type() == QEvent::PaletteChange ||
               event->type() == QEvent::ActivationChange) {
        viewport()->update();
    }
}

void TextView::restartBlinking() {
    const int flashTime = QApplication::cursorFlashTime();
    caretShown_ = hasFocus();
    if (caretShown_ && flashTime >= 2)
        blinkTimer_.start(flashTime / 2, this);
    else
        blinkTimer_.stop();
    updateCaretLines();
}

void TextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blinkTimer_.timerId()) {
        caretShown_ = !caretShown_;
        const QRect caret = characterRect(caret_);
        viewport()->update(caret.x() - 2, caret.y(), 5, caret.height());
    } else if (event->timerId() == autoScrollTimer_.timerId()) {
        autoScroll();
    } else if (event->timerId() == tripleClickTimer_.timerId()) {
        tripleClickTimer_.stop();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void TextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlinking();
}

void TextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blinkTimer_.stop();
    caretShown_ = false;
    viewport()->update();
}

}  // namespace korvane::text
