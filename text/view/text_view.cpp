// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/text_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "text/model/surrogate_pairs.h"
#include "text/view/line_painting.h"

namespace korvane::text {
namespace {

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
    : QAbstractScrollArea(parent),
      layouts_(editor_.document(), editor_.preedit(), viewport(), font()),
      input_(*this) {
    editor_.setFont(font());
    connect(&editor_, &TextEditor::contentsAboutToChange, this, &TextView::noteComingChange);
    connect(&editor_, &TextEditor::contentsEdited, this, &TextView::followEdit);
    connect(&editor_, &TextEditor::cursorMoved, this, &TextView::followCursor);
    connect(&editor_, &TextEditor::preeditChanged, this, &TextView::followPreedit);
    connect(&editor_, &TextEditor::readOnlyChanged, this, &TextView::followReadOnly);
    connect(&editor_, &TextEditor::visibilityRequest, this, [this](qsizetype position) {
        ensureVisible(position);
        restartBlinking();
    });
    // A refused edit put the caret back where it was.
    connect(&editor_, &TextEditor::editRefused, this,
            [this] { ensureVisible(editor_.cursorPosition()); });
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
    adjustScrollBars();
}

TextView::~TextView() = default;

// --- The text and the editor's changes ------------------------------------------------------

void TextView::setText(QString text) {
    editor_.setText(std::move(text));
    layouts_.forget();
    adjustScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TextView::followReadOnly(bool readOnly) {
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    setAcceptDrops(!readOnly);
    viewport()->setAcceptDrops(!readOnly);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void TextView::noteComingChange(qsizetype position, qsizetype removed) noexcept {
    const TextDocument& document = editor_.document();
    try {
        // What assistive technology is told of the edit, read only if it listens.
        const bool listened = QAccessible::isActive();
        coming_.removedText = listened ? document.mid(position, removed) : QString();
        coming_.offset = listened ? document.codePointOffset(position) : position;
    } catch (...) {
        coming_.removedText.clear();  // a reader is told less; the edit goes on
    }
    coming_.firstVisibleLine = firstVisibleLine();
}

void TextView::followEdit(const TextChange& change) noexcept {
    const EditedLines& lines = change.lines;
    const int first = coming_.firstVisibleLine;
    layouts_.follow(change);

    // The line at the top stays at the top; if the edit removed its start, the view goes to
    // where the new text ends. A rewrite of the same length that left as many lines, such as
    // the output under a new key, keeps the view, the caret and the selection where they were.
    int newFirst = first;
    if (first > lines.lastRemoved)
        newFirst = first + lines.lineDelta();
    else if (first > lines.first && !change.isRewrite())
        newFirst = lines.lastAdded;

    adjustScrollBars();
    verticalScrollBar()->setValue(newFirst);
    // With the view where it was, only the edited lines change, and with them every line below
    // when lines came or went.
    if (newFirst == first)
        updateLines(lines.first,
                    lines.lineDelta() == 0 ? lines.lastAdded : std::numeric_limits<int>::max());
    else
        viewport()->update();
    try {
        notifyTextChange(coming_.offset, coming_.removedText,
                         QAccessible::isActive()
                             ? editor_.document().mid(change.position, change.added)
                             : QString());
    } catch (...) {
        // A reader is told less; the edit stands.
    }
    coming_.removedText.clear();
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

void TextView::followCursor(const TextCursor::Moved& moved) {
    // A selection may span many lines; a caret that moved without one repaints only its two
    // lines, which restartBlinking() below does.
    if (moved.selectionBefore.length() > 0 || editor_.hasSelection())
        viewport()->update();
    const TextDocument& document = editor_.document();
    if (moved.caret) {
        restartBlinking();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(
                this, int(document.codePointOffset(editor_.cursorPosition())));
            QAccessible::updateAccessibility(&event);
        }
    }
    if (moved.selection && QAccessible::isActive()) {
        QAccessibleTextSelectionEvent event(this,
                                            int(document.codePointOffset(editor_.selectionStart())),
                                            int(document.codePointOffset(editor_.selectionEnd())));
        event.setCursorPosition(int(document.codePointOffset(editor_.cursorPosition())));
        QAccessible::updateAccessibility(&event);
    }
}

void TextView::followPreedit(const Preedit& before) {
    layouts_.followPreedit(before);
    viewport()->update();
    updateMicroFocus();
}

// --- The context menu ---------------------------------------------------------------------

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
    if (!editor_.isReadOnly()) {
        add("&Undo", QKeySequence::Undo, "edit-undo", editor_.document().isUndoAvailable(),
            [this] { editor_.undo(); });
        add("&Redo", QKeySequence::Redo, "edit-redo", editor_.document().isRedoAvailable(),
            [this] { editor_.redo(); });
        menu->addSeparator();
        add("Cu&t", QKeySequence::Cut, "edit-cut", editor_.hasSelection(),
            [this] { editor_.cut(); });
    }
    add("&Copy", QKeySequence::Copy, "edit-copy", editor_.hasSelection(),
        [this] { editor_.copy(); });
    if (!editor_.isReadOnly()) {
        const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
        add("&Paste", QKeySequence::Paste, "edit-paste", clipboard && clipboard->hasText(),
            [this] { editor_.paste(); });
        add("Delete", QKeySequence::UnknownKey, "edit-delete", editor_.hasSelection(),
            [this] { editor_.deleteSelection(); });
    }
    menu->addSeparator();
    add("Select All", QKeySequence::SelectAll, "select-all", !editor_.document().isEmpty(),
        [this] { editor_.selectAll(); });
    if (!extraMenuItem_.isEmpty()) {
        menu->addSeparator();
        QAction* extra = menu->addAction(extraMenuItem_);
        extra->setObjectName(QStringLiteral("extra-item"));
        connect(extra, &QAction::triggered, this, &TextView::extraMenuItemTriggered);
    }
    if (!extraSubmenu_.isEmpty()) {
        if (extraMenuItem_.isEmpty())
            menu->addSeparator();
        QMenu* submenu = menu->addMenu(extraSubmenuTitle_);
        submenu->menuAction()->setObjectName(QStringLiteral("extra-submenu"));
        for (qsizetype i = 0; i < extraSubmenu_.size(); ++i) {
            QAction* item = submenu->addAction(extraSubmenu_[i]);
            connect(item, &QAction::triggered, this,
                    [this, i] { Q_EMIT extraSubmenuItemTriggered(int(i)); });
        }
    }
    return menu;
}

void TextView::setExtraSubmenu(const QString& title, const QStringList& items) {
    extraSubmenuTitle_ = title;
    extraSubmenu_ = items;
}

void TextView::setExtraMenuItem(const QString& caption) {
    extraMenuItem_ = caption;
}

// --- Geometry and scrolling ----------------------------------------------------------------

LayoutCache::Span TextView::viewSpan() const {
    const qreal left = horizontalScrollBar()->value() - kMargin;
    return {left, left + viewport()->width() + kMargin};
}

qreal TextView::xOf(qsizetype position) const {
    return layouts_.xOf(position, viewSpan());
}

qsizetype TextView::positionAt(int line, qreal x) const {
    return clampedPosition(editor_.document(), layouts_.positionAt(line, x, viewSpan()));
}

qreal TextView::topOffset() const {
    return firstVisibleLine() == 0 ? kMargin : 0;
}

int TextView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

int TextView::visibleLineCount() const {
    return std::max(1, (viewport()->height() - 2 * kMargin - 1) / layouts_.lineHeight());
}

void TextView::updateLines(int from, int to) {
    const int first = firstVisibleLine();
    from = std::max(from, first);
    to = std::min(to, first + visibleLineCount() + 1);
    if (from > to)
        return;
    // A pixel more either side, for the caret and glyphs that reach past their line's box.
    const int height = layouts_.lineHeight();
    const int top = int(topOffset()) + (from - first) * height - 1;
    viewport()->update(0, top, viewport()->width(), (to - from + 1) * height + 2);
}

void TextView::updateCaretLines() {
    const int line = editor_.document().lineAt(editor_.cursorPosition());
    updateLines(line, line);
    if (paintedCaretLine_ >= 0 && paintedCaretLine_ != line)
        updateLines(paintedCaretLine_, paintedCaretLine_);
}

qsizetype TextView::positionAt(QPoint point) const {
    const int row = int(std::floor((point.y() - topOffset()) / layouts_.lineHeight()));
    const int line = std::clamp(firstVisibleLine() + row, 0, editor_.document().lineCount() - 1);
    return positionAt(line, point.x() - kMargin + horizontalScrollBar()->value());
}

QRect TextView::characterRect(qsizetype position) const {
    position = clampedPosition(editor_.document(), position);
    const int line = editor_.document().lineAt(position);
    const qreal left = xOf(position);
    const qsizetype end = editor_.document().lineEnd(line);
    qreal right = left + layouts_.averageCharWidth();
    if (position < end)
        right = xOf(outsidePair(editor_.document(), position + 1, true));
    const int x = kMargin - horizontalScrollBar()->value();
    const int y = int(topOffset()) + (line - firstVisibleLine()) * layouts_.lineHeight();
    return QRectF(x + std::min(left, right), y, std::abs(right - left), layouts_.lineHeight())
        .toAlignedRect();
}

void TextView::ensureVisible(qsizetype position) {
    position = clampedPosition(editor_.document(), position);
    const int line = editor_.document().lineAt(position);
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
    vertical->setRange(0, std::max(0, editor_.document().lineCount() - fit));
    vertical->setPageStep(fit);
    // As wide as the widest line laid out so far, as in QPlainTextEdit.
    const qreal contentWidth =
        std::min(layouts_.contentWidth() + 2 * kMargin, qreal(std::numeric_limits<int>::max() / 2));
    // The range grows in steps of a quarter of the view, so that typing on at the end of the
    // longest line repaints the scroll bar only now and then, not at every key.
    const int step = std::max(1, viewport()->width() / 4);
    const int overhang = int(contentWidth - viewport()->width());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, overhang <= 0 ? 0 : (overhang + step - 1) / step * step);
    horizontal->setPageStep(viewport()->width());
}

// --- Painting, the caret's blink and focus -------------------------------------------------

void TextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int first = firstVisibleLine();
    const qreal top = topOffset();
    const qreal widestBefore = layouts_.contentWidth();
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    LinePainting painting;
    painting.firstLine = first;
    painting.lastLine = std::min(editor_.document().lineCount() - 1,
                                 first + int((viewport()->height() - top) / layouts_.lineHeight()));
    painting.origin = QPointF(kMargin - horizontalScrollBar()->value(), top);
    painting.area = QRectF(event->rect());
    painting.inView = viewSpan();
    painting.selection = TextRange{editor_.selectionStart(), editor_.selectionEnd()};
    painting.selectionFormat.setBackground(palette().brush(group, QPalette::Highlight));
    painting.selectionFormat.setForeground(palette().brush(group, QPalette::HighlightedText));
    painting.caret = caretShown_ ? editor_.cursorPosition() : -1;
    painter.setPen(palette().color(QPalette::Text));
    const int caretLine = paintLines(painter, layouts_, painting);
    if (caretLine >= 0)
        paintedCaretLine_ = caretLine;
    if (input_.dropCaret() >= 0) {
        // Where a drop would put the text.
        const QRect at = characterRect(input_.dropCaret());
        painter.fillRect(QRect(at.left(), at.top(), 1, at.height()),
                         palette().color(QPalette::Text));
    }
    // Keeps the layouts of the lines in view and a page either side.
    layouts_.keepOnly(first - visibleLineCount(), painting.lastLine + visibleLineCount());
    if (layouts_.contentWidth() > widestBefore)
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
        layouts_.setFont(font());
        editor_.setFont(font());
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
        const QRect caret = characterRect(editor_.cursorPosition());
        viewport()->update(caret.x() - 2, caret.y(), 5, caret.height());
    } else if (!input_.timer(*event)) {
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

// --- What the user does, handed to the input handling -------------------------------------

bool TextView::event(QEvent* event) {
    // The keys are the view's own, and so are an input method's text and the context menu the
    // keyboard opens; the mouse and drags reach the view through its viewport.
    const QEvent::Type type = event->type();
    const bool keyboardMenu =
        type == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    if ((type == QEvent::ShortcutOverride || type == QEvent::InputMethod || keyboardMenu) &&
        handleInput(*event))
        return true;
    const bool handled = QAbstractScrollArea::event(event);
    if (type == QEvent::Paint)
        paintFieldFrame(*this);  // shows where the keyboard is, as a line edit does
    return handled;
}

bool TextView::viewportEvent(QEvent* event) {
    return handleInput(*event) || QAbstractScrollArea::viewportEvent(event);
}

void TextView::keyPressEvent(QKeyEvent* event) {
    // Reached after the focus keys (Tab, Backtab) moved the focus on, as in every widget.
    handleInput(*event);
}

bool TextView::handleInput(QEvent& event) noexcept {
    try {
        return input_.handle(event);
    } catch (...) {
        return true;
    }
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const {
    const QPoint offset = viewport()->pos();
    switch (query) {
        case Qt::ImEnabled:
            return !editor_.isReadOnly() && isEnabled();
        case Qt::ImCursorRectangle: {
            // The caret is drawn inside the pre-edit, where an input method shows one.
            QRect rect = characterRect(editor_.cursorPosition());
            if (const std::optional<qreal> x = layouts_.preeditCaretX(viewSpan()))
                rect.moveLeft(int(kMargin - horizontalScrollBar()->value() + *x));
            rect.setWidth(1);
            return rect.translated(offset);
        }
        case Qt::ImAnchorRectangle:
            return characterRect(editor_.anchorPosition()).translated(offset);
        default:
            break;
    }
    if (const std::optional<QVariant> answer = editor_.inputMethodQuery(query))
        return *answer;
    return QAbstractScrollArea::inputMethodQuery(query);
}

}  // namespace korvane::text
