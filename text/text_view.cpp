// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/text_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "text/line_breaks.h"
#include "text/primary_selection.h"
#include "text/text_view_accessible.h"

namespace korvane::text {
namespace {

// The blank space around the text, as QPlainTextEdit's document margin.
constexpr int kMargin = 4;
// QPlainTextEdit's default tab stop distance.
constexpr qreal kTabStop = 80;
// Lines wider than any real one; no line wraps within it.
constexpr qreal kUnwrappedWidth = 1e7;
// How many characters a new slice of a long line starts before the first one in view.
constexpr qsizetype kSliceLead = 256;
constexpr int kAutoScrollInterval = 50;

// Whether a key's text is typed into the text, as Qt's editors decide it: formatting marks
// (ZWJ, RLM, ...) always; with Ctrl (but not AltGr) nothing; else printable characters,
// private-use ones, surrogate pairs and tabs.
bool isTypedText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar c = text[0];
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate()) || c == u'\t';
}

// How many surrogate pairs `text` holds. Most texts hold no surrogate at all, which a loop
// without jumps finds at the speed of the vector unit, so a whole rewrite of megabytes costs
// little; only a text with one is walked pair by pair.
qsizetype countPairs(QStringView text) {
    const char16_t* units = text.utf16();
    bool anySurrogate = false;
    for (qsizetype i = 0; i < text.size(); ++i)
        anySurrogate |= (units[i] & 0xF800) == 0xD800;
    if (!anySurrogate)
        return 0;
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
            ++pairs;
            ++i;
        }
    }
    return pairs;
}

QString shortcutText(QKeySequence::StandardKey key) {
    if (key == QKeySequence::UnknownKey ||
        !QGuiApplication::styleHints()->showShortcutsInContextMenus())
        return QString();
    return u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

// Draws the view's frame the way the style draws a line edit's, with the style's focus
// highlight while the view has focus; called after the view has painted its own frame.
void paintFieldFrame(QAbstractScrollArea& area) {
    QPainter painter(&area);
    // Only the ring round the contents: the viewport and the scroll bars are drawn on their own.
    painter.setClipRegion(QRegion(area.frameRect()).subtracted(area.contentsRect()));
    painter.fillRect(area.frameRect(), area.palette().brush(area.backgroundRole()));
    QStyleOptionFrame option;
    option.initFrom(&area);  // State_HasFocus while the area has focus
    option.rect = area.frameRect();
    option.lineWidth = area.frameWidth();
    option.state |= QStyle::State_Sunken;
    area.style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, &area);
}

}  // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent), document_(new TextDocument(this)) {
    connect(document_, &TextDocument::contentsAboutToChange, this, &TextView::noteComingChange);
    connect(document_, &TextDocument::contentsChanged, this, &TextView::followChange);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
    updateFontMetrics();
    adjustScrollBars();
}

TextView::~TextView() {
    keepPrimarySelection();
}

void TextView::setText(QString text) {
    document_->replace(0, document_->length(), std::move(text));
    wantedX_ = -1;
    forgetLayouts();
    adjustScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    select(0, 0);
}

void TextView::replace(qsizetype position, qsizetype removed, QStringView inserted) {
    document_->replace(position, removed, inserted);
}

qsizetype TextView::surrogatePairCount() const {
    if (surrogatePairs_ < 0) {
        // A pair may lie across the buffer's gap: the text is counted in its two pieces and
        // where they meet.
        const GapBuffer& text = document_->buffer();
        const QStringView before = text.beforeGap();
        const QStringView after = text.afterGap();
        surrogatePairs_ = countPairs(before) + countPairs(after);
        // A high half ending the first piece pairs with nothing in it, a low half starting the
        // second with nothing in that one.
        if (!before.isEmpty() && !after.isEmpty() && before.back().isHighSurrogate() &&
            after.front().isLowSurrogate())
            ++surrogatePairs_;
    }
    return surrogatePairs_;
}

void TextView::setReadOnly(bool readOnly) {
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    setAcceptDrops(!readOnly);
    viewport()->setAcceptDrops(!readOnly);
    if (readOnly && !preedit_.isEmpty()) {
        preedit_.clear();
        layouts_.erase(document_->lineAt(caret_));
        viewport()->update();
    }
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void TextView::editAt(qsizetype position, qsizetype removed, QString text,
                      TextDocument::EditKind kind) {
    if (readOnly_)
        return;
    text = withLineFeeds(std::move(text));
    const qsizetype added = text.size();
    wantedX_ = -1;
    document_->replace(position, removed, std::move(text), kind);
    select(position + added, position + added);
    ensureVisible(caret_);
    restartBlinking();
}

void TextView::insertTyped(const QString& text) {
    // A typed line break is an undo step of its own, as in Qt's editors.
    const bool lineBreak = text == u"\n" || text == u"\r";
    editAt(selectionStart(), selectionEnd() - selectionStart(), text,
           lineBreak ? TextDocument::EditKind::Other : TextDocument::EditKind::Typing);
}

void TextView::insertText(QString text) {
    editAt(selectionStart(), selectionEnd() - selectionStart(), std::move(text),
           TextDocument::EditKind::Other);
}

void TextView::deleteSelection() {
    if (hasSelection())
        editAt(selectionStart(), selectionEnd() - selectionStart(), QString(),
               TextDocument::EditKind::Other);
}

void TextView::undo() {
    if (readOnly_ || !document_->isUndoAvailable())
        return;
    document_->undo();
    setCursorPosition(document_->lastUndoRedoPosition());
    ensureVisible(caret_);
}

void TextView::redo() {
    if (readOnly_ || !document_->isRedoAvailable())
        return;
    document_->redo();
    setCursorPosition(document_->lastUndoRedoPosition());
    ensureVisible(caret_);
}

void TextView::cut() {
    if (readOnly_ || !hasSelection())
        return;
    copy();
    deleteSelection();
}

void TextView::paste() {
    if (readOnly_)
        return;
    // The clipboard's string goes into the document as it is; an empty document takes its
    // storage, so a paste of megabytes is not copied again.
    QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        insertText(std::move(text));
}

void TextView::noteComingChange(qsizetype position, qsizetype removed) {
    if (hasSelection() && position <= selectionEnd() && position + removed >= selectionStart())
        keepPrimarySelection();
    // What assistive technology is told of the edit, read only if it listens.
    const bool listened = QAccessible::isActive();
    coming_.removedText = listened ? document_->mid(position, removed) : QString();
    coming_.position = listened ? textViewOffset(*this, position) : position;
    // The pairs of the span and of the characters either side of it, so that a pair the edit
    // splits or joins is counted too. Without a listener the count is left to be made afresh
    // when asked for: a rewrite of megabytes then walks none of them.
    if (listened && surrogatePairs_ >= 0) {
        const qsizetype from = std::max<qsizetype>(0, position - 1);
        const qsizetype to = std::min(document_->length(), position + removed + 1);
        surrogatePairs_ -= countPairs(document_->span(from, to - from));
    } else {
        surrogatePairs_ = -1;
    }
    coming_.editLine = document_->lineAt(position);
    coming_.lastOldLine = document_->lineAt(position + removed);
    coming_.lineCount = document_->lineCount();
    coming_.firstVisibleLine = firstVisibleLine();
}

void TextView::followChange(qsizetype position, qsizetype removed, qsizetype added) {
    const int editLine = coming_.editLine;
    const int lastOldLine = coming_.lastOldLine;
    const int first = coming_.firstVisibleLine;
    const int lineDelta = document_->lineCount() - coming_.lineCount;
    const int lastNewLine = document_->lineAt(position + added);
    if (surrogatePairs_ >= 0) {
        const qsizetype from = std::max<qsizetype>(0, position - 1);
        const qsizetype to = std::min(document_->length(), position + added + 1);
        surrogatePairs_ += countPairs(document_->span(from, to - from));
    }

    // Layouts above the edit stay, those below move with their lines; the edited line keeps
    // where its slice was placed, so that a long line does not jump sideways.
    std::map<int, LineLayout> kept;
    for (auto& [line, layout] : layouts_) {
        if (line < editLine) {
            kept.emplace(line, std::move(layout));
        } else if (line > lastOldLine) {
            kept.emplace(line + lineDelta, std::move(layout));
        } else if (line == editLine) {
            layout.layout.reset();
            kept.emplace(line, std::move(layout));
        }
    }
    layouts_ = std::move(kept);

    // The line at the top stays at the top; if the edit removed its start, the view goes to
    // where the new text ends. A rewrite of the same length that left as many lines, such as
    // the output under a new key, keeps the view, the caret and the selection where they were.
    const bool rewrite = removed == added && lineDelta == 0;
    int newFirst = first;
    if (first > lastOldLine)
        newFirst = first + lineDelta;
    else if (first > editLine && !rewrite)
        newFirst = lastNewLine;

    // Positions after the edit move with the text; those inside the replaced span go to its end.
    const qsizetype delta = added - removed;
    const auto moved = [&](qsizetype p) {
        return p < position || rewrite ? p : std::max(p + delta, position + added);
    };
    const qsizetype anchor = moved(anchor_);
    const qsizetype caret = moved(caret_);

    adjustScrollBars();
    verticalScrollBar()->setValue(newFirst);
    // With the view where it was, only the edited lines change, and with them every line below
    // when lines came or went.
    if (newFirst == first)
        updateLines(editLine, lineDelta == 0 ? lastNewLine : std::numeric_limits<int>::max());
    else
        viewport()->update();
    notifyTextChange(coming_.position, coming_.removedText,
                     QAccessible::isActive() ? document_->mid(position, added) : QString());
    coming_.removedText.clear();
    Q_EMIT textChanged();
    select(anchor, caret);
}

void TextView::notifyTextChange(qsizetype position, const QString& removed,
                                const QString& inserted) {
    if (!QAccessible::isActive() || (removed.isEmpty() && inserted.isEmpty()))
        return;
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent event(this, int(position), inserted);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, int(position), removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(this, int(position), removed, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

QString TextView::selectedText() const {
    QString selected = document_->mid(selectionStart(), selectionEnd() - selectionStart());
    if (QStringView(selected).contains(QChar(QChar::LineSeparator)))
        selected.replace(QChar(QChar::LineSeparator), QChar(u'\n'));
    return selected;
}

qsizetype TextView::clamped(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, document_->length());
    if (position > 0 && position < document_->length() &&
        document_->at(position).isLowSurrogate() && document_->at(position - 1).isHighSurrogate())
        --position;
    return position;
}

void TextView::setSelection(qsizetype anchor, qsizetype position) {
    select(anchor, position);
}

void TextView::select(qsizetype anchor, qsizetype caret) {
    anchor = clamped(anchor);
    caret = clamped(caret);
    const qsizetype oldStart = selectionStart();
    const qsizetype oldEnd = selectionEnd();
    const bool caretMoved = caret != caret_;
    if (hasSelection() && anchor == caret)
        keepPrimarySelection();
    anchor_ = anchor;
    caret_ = caret;
    const bool selectionMoved = (oldStart != oldEnd || hasSelection()) &&
                                (oldStart != selectionStart() || oldEnd != selectionEnd());
    if (!caretMoved && !selectionMoved)
        return;
    // A selection may span many lines; a caret that moved without one repaints only its two
    // lines, which restartBlinking() below does.
    if (oldStart != oldEnd || hasSelection())
        viewport()->update();
    if (caretMoved) {
        restartBlinking();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(this, int(textViewOffset(*this, caret_)));
            QAccessible::updateAccessibility(&event);
        }
        Q_EMIT cursorPositionChanged();
    }
    if (selectionMoved) {
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent event(this, int(textViewOffset(*this, selectionStart())),
                                                int(textViewOffset(*this, selectionEnd())));
            event.setCursorPosition(int(textViewOffset(*this, caret_)));
            QAccessible::updateAccessibility(&event);
        }
        Q_EMIT selectionChanged();
    }
}

void TextView::selectAll() {
    select(0, document_->length());
    updatePrimarySelection();
}

void TextView::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextView::updatePrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!hasSelection() || !clipboard->supportsSelection())
        return;
    // The clipboard owns the data, and drops the selection this view offered before.
    primary_ = new PrimarySelection([this] { return selectedText(); });
    clipboard->setMimeData(primary_, QClipboard::Selection);
}

void TextView::keepPrimarySelection() {
    if (primary_)
        primary_->keep();
    primary_ = nullptr;
}

QMenu* TextView::createStandardContextMenu() {
    auto* menu = new QMenu(this);
    const auto add = [&](const char* text, QKeySequence::StandardKey key, const char* name,
                         bool enabled, auto action) {
        QAction* added = menu->addAction(QCoreApplication::translate("QWidgetTextControl", text) +
                                         shortcutText(key));
        added->setObjectName(QString::fromLatin1(name));
        added->setEnabled(enabled);
        connect(added, &QAction::triggered, this, action);
    };
    if (!readOnly_) {
        add("&Undo", QKeySequence::Undo, "edit-undo", document_->isUndoAvailable(),
            [this] { undo(); });
        add("&Redo", QKeySequence::Redo, "edit-redo", document_->isRedoAvailable(),
            [this] { redo(); });
        menu->addSeparator();
        add("Cu&t", QKeySequence::Cut, "edit-cut", hasSelection(), [this] { cut(); });
    }
    QAction* copyAction =
        menu->addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy") +
                        shortcutText(QKeySequence::Copy));
    copyAction->setObjectName(QStringLiteral("edit-copy"));
    copyAction->setEnabled(hasSelection());
    connect(copyAction, &QAction::triggered, this, [this] { copy(); });
    if (!readOnly_) {
        const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
        add("&Paste", QKeySequence::Paste, "edit-paste", clipboard && clipboard->hasText(),
            [this] { paste(); });
        add("Delete", QKeySequence::UnknownKey, "edit-delete", hasSelection(),
            [this] { deleteSelection(); });
    }
    menu->addSeparator();
    QAction* selectAllAction =
        menu->addAction(QCoreApplication::translate("QWidgetTextControl", "Select All") +
                        shortcutText(QKeySequence::SelectAll));
    selectAllAction->setObjectName(QStringLiteral("select-all"));
    selectAllAction->setEnabled(!document_->isEmpty());
    connect(selectAllAction, &QAction::triggered, this, [this] { selectAll(); });
    return menu;
}

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

// --- Keyboard -----------------------------------------------------------------------------

std::pair<qsizetype, qsizetype> TextView::lineWindow(qsizetype position) const {
    const int line = document_->lines().lineAt(position);
    qsizetype from = std::max(document_->lines().lineStart(line), position - kLongLine);
    qsizetype to = std::min(lineEnd(line), position + kLongLine);
    if (from > document_->lines().lineStart(line) && document_->at(from).isLowSurrogate())
        --from;
    if (to < lineEnd(line) && document_->at(to).isLowSurrogate())
        ++to;
    return {from, to};
}

qsizetype TextView::cursorStep(qsizetype position, bool forward,
                               QTextLayout::CursorMode mode) const {
    if (forward ? position >= document_->length() : position <= 0)
        return forward ? document_->length() : 0;
    // A line break is one step, whatever the mode.
    const int line = document_->lines().lineAt(position);
    if (position == (forward ? lineEnd(line) : document_->lines().lineStart(line)))
        return forward ? position + 1 : position - 1;
    const auto [from, to] = lineWindow(position);
    QTextLayout layout(document_->mid(from, to - from), font());
    const int offset = int(position - from);
    return from + (forward ? layout.nextCursorPosition(offset, mode)
                           : layout.previousCursorPosition(offset, mode));
}

std::pair<qsizetype, qsizetype> TextView::wordAt(qsizetype position) const {
    const auto [from, to] = lineWindow(position);
    if (from == to)
        return {position, position};
    const QStringView window = document_->span(from, to - from);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, window.data(), window.size());
    qsizetype local = position - from;
    finder.setPosition(local);
    // Just after a word, or at the line's end, a double click means the word before.
    const auto reasons = finder.boundaryReasons();
    if (local == to - from || (local > 0 && (reasons & QTextBoundaryFinder::EndOfItem) &&
                               !(reasons & QTextBoundaryFinder::StartOfItem)))
        finder.setPosition(--local);
    qsizetype start = finder.isAtBoundary() ? local : finder.toPreviousBoundary();
    finder.setPosition(local);
    qsizetype end = finder.toNextBoundary();
    if (start < 0)
        start = 0;
    if (end < 0)
        end = to - from;
    return {from + start, from + end};
}

void TextView::moveCaret(qsizetype position, bool extend) {
    select(extend ? anchor_ : position, position);
}

bool TextView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys this view acts on are its own while it has focus, not the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        static const QKeySequence::StandardKey kOwnKeys[] = {
            QKeySequence::Copy,
            QKeySequence::SelectAll,
            QKeySequence::MoveToNextChar,
            QKeySequence::MoveToPreviousChar,
            QKeySequence::MoveToNextWord,
            QKeySequence::MoveToPreviousWord,
            QKeySequence::MoveToStartOfLine,
            QKeySequence::MoveToEndOfLine,
            QKeySequence::MoveToStartOfDocument,
            QKeySequence::MoveToEndOfDocument,
            QKeySequence::SelectNextChar,
            QKeySequence::SelectPreviousChar,
            QKeySequence::SelectNextWord,
            QKeySequence::SelectPreviousWord,
            QKeySequence::SelectStartOfLine,
            QKeySequence::SelectEndOfLine,
            QKeySequence::SelectStartOfDocument,
            QKeySequence::SelectEndOfDocument,
        };
        static const QKeySequence::StandardKey kEditingKeys[] = {
            QKeySequence::Undo,
            QKeySequence::Redo,
            QKeySequence::Cut,
            QKeySequence::Paste,
            QKeySequence::Delete,
            QKeySequence::DeleteStartOfWord,
            QKeySequence::DeleteEndOfWord,
        };
        for (QKeySequence::StandardKey own : kOwnKeys) {
            if (key->matches(own)) {
                event->accept();
                return true;
            }
        }
        if (!readOnly_) {
            for (QKeySequence::StandardKey own : kEditingKeys) {
                if (key->matches(own)) {
                    event->accept();
                    return true;
                }
            }
            // Typed characters and Backspace are the box's, whatever shortcut they would be.
            if (key->key() == Qt::Key_Backspace ||
                (isTypedText(*key) && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)) {
                event->accept();
                return true;
            }
        }
    }
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint)
        paintFieldFrame(*this);  // shows where the keyboard is, as a line edit does
    return handled;
}

bool TextView::editingKey(QKeyEvent* event) {
    using Kind = TextDocument::EditKind;
    if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::DeleteStartOfWord) ||
               event->matches(QKeySequence::DeleteEndOfWord)) {
        const bool forward = event->matches(QKeySequence::DeleteEndOfWord);
        if (hasSelection()) {
            deleteSelection();
        } else {
            const qsizetype to = cursorStep(caret_, forward, QTextLayout::SkipWords);
            editAt(std::min(caret_, to), std::abs(to - caret_), QString(), Kind::Deleting);
        }
    } else if (event->matches(QKeySequence::Delete) ||
               (event->key() == Qt::Key_Backspace &&
                !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))) {
        // Backspace and Delete take a whole grapheme: a letter with its accents, a pair.
        const bool forward = event->key() != Qt::Key_Backspace;
        if (hasSelection()) {
            deleteSelection();
        } else {
            const qsizetype to = cursorStep(caret_, forward, QTextLayout::SkipCharacters);
            editAt(std::min(caret_, to), std::abs(to - caret_), QString(), Kind::Deleting);
        }
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
               !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        insertTyped(QStringLiteral("\n"));
    } else if (isTypedText(*event)) {
        insertTyped(event->text());
    } else {
        return false;
    }
    return true;
}

void TextView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenuEvent(&menu);
        return;
    }
    if (!readOnly_ && editingKey(event))
        return;
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    enum class Move { Char, Word, Line, Page, LineEdge, DocumentEdge };
    struct Binding {
        QKeySequence::StandardKey key;
        Move move;
        bool forward;
        bool extend;
    };
    static const Binding kBindings[] = {
        {QKeySequence::MoveToNextChar, Move::Char, true, false},
        {QKeySequence::MoveToPreviousChar, Move::Char, false, false},
        {QKeySequence::SelectNextChar, Move::Char, true, true},
        {QKeySequence::SelectPreviousChar, Move::Char, false, true},
        {QKeySequence::MoveToNextWord, Move::Word, true, false},
        {QKeySequence::MoveToPreviousWord, Move::Word, false, false},
        {QKeySequence::SelectNextWord, Move::Word, true, true},
        {QKeySequence::SelectPreviousWord, Move::Word, false, true},
        {QKeySequence::MoveToNextLine, Move::Line, true, false},
        {QKeySequence::MoveToPreviousLine, Move::Line, false, false},
        {QKeySequence::SelectNextLine, Move::Line, true, true},
        {QKeySequence::SelectPreviousLine, Move::Line, false, true},
        {QKeySequence::MoveToNextPage, Move::Page, true, false},
        {QKeySequence::MoveToPreviousPage, Move::Page, false, false},
        {QKeySequence::SelectNextPage, Move::Page, true, true},
        {QKeySequence::SelectPreviousPage, Move::Page, false, true},
        {QKeySequence::MoveToEndOfLine, Move::LineEdge, true, false},
        {QKeySequence::MoveToStartOfLine, Move::LineEdge, false, false},
        {QKeySequence::SelectEndOfLine, Move::LineEdge, true, true},
        {QKeySequence::SelectStartOfLine, Move::LineEdge, false, true},
        {QKeySequence::MoveToEndOfDocument, Move::DocumentEdge, true, false},
        {QKeySequence::MoveToStartOfDocument, Move::DocumentEdge, false, false},
        {QKeySequence::SelectEndOfDocument, Move::DocumentEdge, true, true},
        {QKeySequence::SelectStartOfDocument, Move::DocumentEdge, false, true},
    };
    const Binding* binding = nullptr;
    for (const Binding& candidate : kBindings) {
        if (event->matches(candidate.key)) {
            binding = &candidate;
            break;
        }
    }
    if (!binding) {
        // As a read-only QPlainTextEdit, Space pages the view; every other key is not ours.
        if (readOnly_ && event->key() == Qt::Key_Space &&
            !(event->modifiers() & ~Qt::ShiftModifier)) {
            verticalScrollBar()->triggerAction(event->modifiers() & Qt::ShiftModifier
                                                   ? QAbstractSlider::SliderPageStepSub
                                                   : QAbstractSlider::SliderPageStepAdd);
            return;
        }
        event->ignore();
        return;
    }

    const bool vertical = binding->move == Move::Line || binding->move == Move::Page;
    if (vertical && wantedX_ < 0)
        wantedX_ = xOf(caret_);
    const int line = document_->lines().lineAt(caret_);
    qsizetype target = caret_;
    switch (binding->move) {
        case Move::Char:
            if (hasSelection() && !binding->extend)
                target = binding->forward ? selectionEnd() : selectionStart();
            else
                target = cursorStep(caret_, binding->forward, QTextLayout::SkipCharacters);
            break;
        case Move::Word:
            target = cursorStep(caret_, binding->forward, QTextLayout::SkipWords);
            break;
        case Move::Line:
        case Move::Page: {
            const int step = binding->move == Move::Line ? 1 : visibleLineCount();
            const int to = std::clamp(line + (binding->forward ? step : -step), 0,
                                      document_->lines().lineCount() - 1);
            if (binding->move == Move::Page)
                verticalScrollBar()->setValue(firstVisibleLine() + (to - line));
            target = to == line ? caret_ : positionAt(to, wantedX_);
            break;
        }
        case Move::LineEdge:
            target = binding->forward ? lineEnd(line) : document_->lines().lineStart(line);
            break;
        case Move::DocumentEdge:
            target = binding->forward ? document_->length() : 0;
            break;
    }
    if (!vertical)
        wantedX_ = -1;
    moveCaret(target, binding->extend);
    ensureVisible(caret_);
    restartBlinking();
    if (binding->extend)
        updatePrimarySelection();
}

// --- Mouse --------------------------------------------------------------------------------

void TextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !readOnly_) {
        // As on every X11 editor, the middle button pastes the primary selection where it is.
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard->supportsSelection()) {
            QString text = clipboard->text(QClipboard::Selection);
            if (!text.isEmpty()) {
                setCursorPosition(positionAt(event->position().toPoint()));
                insertText(std::move(text));
            }
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const qsizetype position = positionAt(event->position().toPoint());
    wantedX_ = -1;
    selectingByMouse_ = true;
    selectingWords_ = false;
    lastMousePoint_ = event->position().toPoint();
    if (tripleClickTimer_.isActive() && (lastMousePoint_ - doubleClickPoint_).manhattanLength() <
                                            QApplication::startDragDistance()) {
        // A third click selects the whole line with its line break.
        tripleClickTimer_.stop();
        const int line = document_->lines().lineAt(position);
        select(document_->lines().lineStart(line),
               std::min(lineEnd(line) + 1, document_->length()));
        selectingByMouse_ = false;
        updatePrimarySelection();
        return;
    }
    // A press on the selection may start dragging it out; the caret goes there on release.
    if (hasSelection() && !(event->modifiers() & Qt::ShiftModifier) &&
        position >= selectionStart() && position <= selectionEnd()) {
        selectingByMouse_ = false;
        mightStartDrag_ = true;
        return;
    }
    moveCaret(position, event->modifiers() & Qt::ShiftModifier);
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    clickedWord_ = wordAt(positionAt(event->position().toPoint()));
    selectingByMouse_ = true;
    selectingWords_ = true;
    doubleClickPoint_ = event->position().toPoint();
    tripleClickTimer_.start(QApplication::doubleClickInterval(), this);
    select(clickedWord_.first, clickedWord_.second);
    updatePrimarySelection();
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    if (mightStartDrag_ && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - lastMousePoint_).manhattanLength() >=
            QApplication::startDragDistance()) {
        mightStartDrag_ = false;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setText(selectedText());
        drag->setMimeData(data);
        dragStart_ = selectionStart();
        dragEnd_ = selectionEnd();
        draggingOwnSelection_ = true;
        const Qt::DropAction action =
            readOnly_ ? drag->exec(Qt::CopyAction)
                      : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        draggingOwnSelection_ = false;
        // Moved into another program or box: the text leaves this one. A move within this view
        // was made by the drop, as one step.
        if (action == Qt::MoveAction && !readOnly_ && drag->target() != viewport() &&
            drag->target() != this)
            editAt(dragStart_, dragEnd_ - dragStart_, QString(), TextDocument::EditKind::Other);
        return;
    }
    if (!selectingByMouse_ || !(event->buttons() & Qt::LeftButton))
        return;
    lastMousePoint_ = event->position().toPoint();
    if (viewport()->rect().contains(lastMousePoint_))
        autoScrollTimer_.stop();
    else if (!autoScrollTimer_.isActive())
        autoScrollTimer_.start(kAutoScrollInterval, this);
    const qsizetype position = positionAt(lastMousePoint_);
    if (!selectingWords_) {
        moveCaret(position, true);
    } else if (position < clickedWord_.first) {
        select(clickedWord_.second, wordAt(position).first);
    } else {
        select(clickedWord_.first, std::max(clickedWord_.second, wordAt(position).second));
    }
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    autoScrollTimer_.stop();
    if (mightStartDrag_)
        moveCaret(positionAt(event->position().toPoint()), false);
    mightStartDrag_ = false;
    if (selectingByMouse_)
        updatePrimarySelection();
    selectingByMouse_ = false;
}

void TextView::autoScroll() {
    const QRect inside = viewport()->rect();
    if (lastMousePoint_.y() < inside.top())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (lastMousePoint_.y() > inside.bottom())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (lastMousePoint_.x() < inside.left())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (lastMousePoint_.x() > inside.right())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const QPoint within(std::clamp(lastMousePoint_.x(), inside.left(), inside.right()),
                        std::clamp(lastMousePoint_.y(), inside.top(), inside.bottom()));
    moveCaret(positionAt(within), true);
}

void TextView::wheelEvent(QWheelEvent* event) {
    // As in a read-only QPlainTextEdit, Ctrl zooms the text a point a notch.
    if (event->modifiers() & Qt::ControlModifier) {
        QFont zoomed = font();
        const qreal size = zoomed.pointSizeF() + event->angleDelta().y() / 120.0;
        if (zoomed.pointSizeF() > 0 && size >= 1) {
            zoomed.setPointSizeF(size);
            setFont(zoomed);
        }
        return;
    }
    // Shift turns the wheel sideways.
    if ((event->modifiers() & Qt::ShiftModifier) && event->angleDelta().x() == 0) {
        QWheelEvent sideways(event->position(), event->globalPosition(),
                             event->pixelDelta().transposed(), event->angleDelta().transposed(),
                             event->buttons(), event->modifiers() & ~Qt::ShiftModifier,
                             event->phase(), event->inverted(), event->source());
        QCoreApplication::sendEvent(horizontalScrollBar(), &sideways);
        event->setAccepted(sideways.isAccepted());
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu opens at the caret, brought into view first.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        ensureVisible(caret_);
        const QRect caret = characterRect(caret_);
        showContextMenu(viewport()->mapToGlobal(QPoint(caret.left(), caret.bottom())));
    } else {
        showContextMenu(event->globalPos());
    }
}

void TextView::showContextMenu(const QPoint& globalPosition) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

// --- Input methods ------------------------------------------------------------------------

void TextView::inputMethodEvent(QInputMethodEvent* event) {
    if (readOnly_) {
        event->ignore();
        return;
    }
    const bool gettingInput = !event->commitString().isEmpty() ||
                              event->preeditString() != preedit_ || event->replacementLength() > 0;
    layouts_.erase(document_->lineAt(caret_));
    document_->beginEditBlock();
    if (gettingInput && hasSelection())
        deleteSelection();
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        // The replacement range is counted from the caret; the commit string takes its place.
        const qsizetype start = clamped(caret_ + event->replacementStart());
        const qsizetype end = clamped(std::max(start, start + event->replacementLength()));
        const bool typed = event->replacementLength() == 0 && !hasSelection();
        if (end > start || !event->commitString().isEmpty())
            editAt(start, end - start, event->commitString(),
                   typed ? TextDocument::EditKind::Typing : TextDocument::EditKind::Other);
    }
    document_->endEditBlock();

    preedit_ = event->preeditString();
    preeditCursor_ = int(preedit_.size());
    preeditCursorShown_ = true;
    preeditFormats_.clear();
    const qsizetype windowStart = lineWindow(caret_).first;
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            preeditCursor_ = attribute.start;
            preeditCursorShown_ = attribute.length != 0;
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.isValid() && attribute.length > 0)
                preeditFormats_.append({attribute.start, attribute.length, format});
        } else if (attribute.type == QInputMethodEvent::Selection) {
            select(windowStart + attribute.start, windowStart + attribute.start + attribute.length);
        }
    }
    if (!preedit_.isEmpty() && preeditFormats_.isEmpty()) {
        // The composed text is underlined until it is committed.
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        preeditFormats_.append({0, int(preedit_.size()), underlined});
    }
    layouts_.erase(document_->lineAt(caret_));
    ensureVisible(caret_);
    viewport()->update();
    updateMicroFocus();
    event->accept();
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The text around the caret is its line, or a window of it in a very long line; positions
    // are counted from the start of that text.
    const auto [windowStart, windowEnd] = lineWindow(caret_);
    const QPoint offset = viewport()->pos();
    switch (query) {
        case Qt::ImEnabled:
            return !readOnly_ && isEnabled();
        case Qt::ImReadOnly:
            return readOnly_;
        case Qt::ImHints:
            return int(inputMethodHints());
        case Qt::ImFont:
            return font();
        case Qt::ImCursorRectangle: {
            QRect caret = characterRect(caret_);
            if (!preedit_.isEmpty()) {
                const int line = document_->lineAt(caret_);
                const LineLayout& layout = layoutOf(line);
                const qsizetype at = preeditIn(line, layout.offset, layout.length);
                if (at >= 0 && layout.layout)
                    caret.moveLeft(
                        int(kMargin - horizontalScrollBar()->value() + layout.x +
                            layout.layout->lineAt(0).cursorToX(int(at) + preeditCursor_)));
            }
            caret.setWidth(1);
            return caret.translated(offset);
        }
        case Qt::ImAnchorRectangle:
            return characterRect(anchor_).translated(offset);
        case Qt::ImCursorPosition:
            return int(caret_ - windowStart);
        case Qt::ImAnchorPosition:
            return int(std::clamp(anchor_, windowStart, windowEnd) - windowStart);
        case Qt::ImAbsolutePosition:
            return qlonglong(caret_);
        case Qt::ImSurroundingText:
            return document_->mid(windowStart, windowEnd - windowStart);
        case Qt::ImTextBeforeCursor:
            return document_->mid(windowStart, caret_ - windowStart);
        case Qt::ImTextAfterCursor:
            return document_->mid(caret_, windowEnd - caret_);
        case Qt::ImCurrentSelection:
            return selectedText();
        case Qt::ImMaximumTextLength:
            return QVariant();  // no limit
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- Drag and drop ------------------------------------------------------------------------

void TextView::dragEnterEvent(QDragEnterEvent* event) {
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    dragMoveEvent(event);
}

void TextView::dragMoveEvent(QDragMoveEvent* event) {
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const qsizetype at = positionAt(event->position().toPoint());
    // A drag of this view's selection moves it, unless Ctrl copies; text from elsewhere is
    // copied. Nothing drops into the selection being dragged.
    if (draggingOwnSelection_ && at > dragStart_ && at < dragEnd_) {
        dropCaret_ = -1;
        viewport()->update();
        event->ignore();
        return;
    }
    const bool move = draggingOwnSelection_ && !(event->modifiers() & Qt::ControlModifier) &&
                      (event->possibleActions() & Qt::MoveAction);
    event->setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
    if (at != dropCaret_) {
        dropCaret_ = at;
        viewport()->update();
    }
}

void TextView::dragLeaveEvent(QDragLeaveEvent*) {
    dropCaret_ = -1;
    viewport()->update();
}

void TextView::dropEvent(QDropEvent* event) {
    dropCaret_ = -1;
    viewport()->update();
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    qsizetype at = positionAt(event->position().toPoint());
    const bool move = draggingOwnSelection_ && !(event->modifiers() & Qt::ControlModifier) &&
                      (event->possibleActions() & Qt::MoveAction);
    if (draggingOwnSelection_ && at > dragStart_ && at < dragEnd_) {
        event->ignore();
        return;
    }
    // A move is one undo step: the text leaves its place and arrives at the drop.
    document_->beginEditBlock();
    if (move) {
        document_->replace(dragStart_, dragEnd_ - dragStart_, QStringView(),
                           TextDocument::EditKind::Other);
        if (at >= dragEnd_)
            at -= dragEnd_ - dragStart_;
    }
    editAt(at, 0, event->mimeData()->text(), TextDocument::EditKind::Other);
    document_->endEditBlock();
    event->setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
    setFocus(Qt::MouseFocusReason);
}

}  // namespace korvane::text
