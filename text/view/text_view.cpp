// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/text_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

#include "text/model/line_breaks.h"
#include "text/view/primary_selection.h"
#include "text/view/text_input.h"

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

// Edits that need less memory than this are not asked about beforehand: what they need is had
// or not when they are made, and the document refuses them whole all the same.
constexpr qint64 kAskedNeed = qint64(1) << 20;

// The size of a text in UTF-8, as a file of it would be.
qint64 utf8Size(QStringView text) {
    qint64 size = 0;
    for (const QChar c : text) {
        // A surrogate pair's four bytes are counted two for each half.
        const char16_t unit = c.unicode();
        size += unit < 0x80 ? 1 : unit < 0x800 || c.isSurrogate() ? 2 : 3;
    }
    return size;
}

// Whether `bytes` of memory can be had now: the system is asked for them in one block and
// given them back. A block this large is mapped on its own and none of its pages are touched,
// so the answer costs a mapping, whatever the limit that refuses it (the address space the
// process may have, or what the system can commit).
bool canAllocate(qint64 bytes) {
    // More than a 64-bit processor's 47 bits of user address space is never had.
    constexpr qint64 kAddressSpace = qint64(1) << 47;
    if (bytes < 0 || bytes >= kAddressSpace)
        return false;
    void* block = std::malloc(std::size_t(bytes));
    std::free(block);
    return block != nullptr;
}

}  // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent),
      document_(new TextDocument(this)),
      layouts_(*document_, viewport(), font()),
      input_(std::make_unique<TextInput>(*this)) {
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
    adjustScrollBars();
}

TextView::~TextView() {
    keepPrimarySelection();
}

// --- The text and its edits ----------------------------------------------------------------

void TextView::setText(QString text) {
    document_->replace(0, document_->length(), std::move(text));
    cursor_.forgetWantedX();
    layouts_.forget();
    adjustScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    select(0, 0);
}

void TextView::replace(qsizetype position, qsizetype removed, QStringView inserted) {
    document_->replace(position, removed, inserted);
}

void TextView::setReadOnly(bool readOnly) {
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    setAcceptDrops(!readOnly);
    viewport()->setAcceptDrops(!readOnly);
    if (readOnly && !preeditText().isEmpty()) {
        layouts_.setPreedit({});
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

void TextView::editAt(qsizetype position, qsizetype removed, QString text, EditKind kind) {
    if (readOnly_)
        return;
    if (userEdit_ && !userEditNamed_ && kind == EditKind::Deleting)
        userEdit_->kind = RefusedEdit::Deleting;
    text = withLineFeeds(std::move(text));
    const qsizetype added = text.size();
    cursor_.forgetWantedX();
    document_->replace(position, removed, std::move(text), kind);
    select(position + added, position + added);
    ensureVisible(cursor_.position());
    restartBlinking();
}

bool TextView::runUserEdit(RefusedEdit::Kind kind, const std::function<void()>& edit) {
    return runEdit(kind, edit, true);
}

bool TextView::runEdit(RefusedEdit::Kind kind, const std::function<void()>& edit, bool named) {
    if (userEdit_) {
        // Part of the edit under way, which is refused as this kind if it fails, unless the
        // edit under way named its own.
        if (!userEditNamed_) {
            *userEdit_ = {kind, -1};
            userEditNamed_ = named;
        }
        edit();
        return true;
    }
    RefusedEdit refused{kind, -1};
    userEdit_ = &refused;
    userEditNamed_ = named;
    const qsizetype anchor = cursor_.anchor();
    const qsizetype caret = cursor_.position();
    document_->markEdits();
    bool made = true;
    try {
        if (editScope_)
            editScope_(edit);
        else
            edit();
        document_->keepEdits();
        // What may be done only once the edit stands, such as a cut's copy on the clipboard.
        for (const std::function<void()>& then : std::exchange(onceKept_, {}))
            then();
    } catch (...) {
        onceKept_.clear();
        // No memory for the edit, or for following it: whatever of it was made goes back.
        made = false;
        // Taken back within the owner's scope too: what follows the view hears of it, and a
        // failure to follow that is not told again, the refusal being told below.
        const auto takeBack = [this] {
            try {
                document_->takeBackEdits();
            } catch (...) {
                document_->keepEdits();  // what could not be put back stays; the history is whole
            }
        };
        try {
            if (editScope_)
                editScope_(takeBack);
            else
                takeBack();
        } catch (...) {
        }
        select(anchor, caret);
        ensureVisible(caret);
    }
    userEdit_ = nullptr;
    if (!made)
        Q_EMIT editRefused(refused);
    return made;
}

qint64 TextView::memoryToReplace(qsizetype added, qsizetype removed) const {
    const qsizetype length = document_->length();
    qint64 need = added / 8;  // the line starts, for lines of 64 characters
    // A gap too small grows into a new buffer, which may be held beside the old one while the
    // text moves; a whole text replaced is taken as it is.
    if (removed < length && added - removed > document_->buffer().room())
        need += 2 * (qint64(length) + added + length / 64);
    if (document_->isUndoRedoEnabled())
        need += 2 * qint64(removed);  // the note of the text removed
    if (QAccessible::isActive())
        need += 2 * (qint64(added) + removed);  // the texts assistive technology is told of
    return need;
}

void TextView::ensureMemory(qsizetype added, qsizetype removed, bool held, QStringView text) {
    qint64 need = memoryToReplace(added, removed) + (held ? 0 : 2 * qint64(added));
    if (followerNeed_)
        need += followerNeed_(added);
    if (need < kAskedNeed || canAllocate(need))
        return;
    if (userEdit_)
        userEdit_->bytes = text.isNull() ? added : utf8Size(text);
    throw std::bad_alloc();
}

void TextView::insertTyped(const QString& text) {
    runUserEdit(RefusedEdit::Typing, [&] {
        // A typed line break is an undo step of its own, as in Qt's editors.
        const bool lineBreak = text == u"\n" || text == u"\r";
        editAt(selectionStart(), selectionEnd() - selectionStart(), text,
               lineBreak ? EditKind::Other : EditKind::Typing);
    });
}

void TextView::insertText(QString text) {
    runUserEdit(RefusedEdit::Pasting, [&] {
        const qsizetype removed = selectionEnd() - selectionStart();
        userEdit_->bytes = text.size();
        ensureMemory(text.size(), removed, true, text);
        editAt(selectionStart(), removed, std::move(text), EditKind::Other);
    });
}

void TextView::deleteSelection() {
    if (hasSelection())
        runUserEdit(RefusedEdit::Deleting, [&] {
            editAt(selectionStart(), selectionEnd() - selectionStart(), QString(), EditKind::Other);
        });
}

void TextView::undo() {
    stepHistory(RefusedEdit::Undoing, &TextDocument::undo);
}

void TextView::redo() {
    stepHistory(RefusedEdit::Redoing, &TextDocument::redo);
}

void TextView::stepHistory(RefusedEdit::Kind kind,
                           std::optional<qsizetype> (TextDocument::*step)()) {
    if (readOnly_)
        return;
    runUserEdit(kind, [&] {
        if (const std::optional<qsizetype> caret = (document_->*step)()) {
            setCursorPosition(*caret);
            ensureVisible(cursor_.position());
        }
    });
}

void TextView::cut() {
    if (readOnly_ || !hasSelection())
        return;
    runUserEdit(RefusedEdit::Cutting, [&] {
        // The copy first, the clipboard once the cut stands: a cut refused leaves both as they
        // were.
        QString text = selectedText();
        userEdit_->bytes = text.size();
        editAt(selectionStart(), selectionEnd() - selectionStart(), QString(), EditKind::Other);
        onceKept_.push_back(
            [text = std::move(text)] { QGuiApplication::clipboard()->setText(text); });
    });
}

void TextView::paste() {
    if (readOnly_)
        return;
    runUserEdit(RefusedEdit::Pasting, [&] {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard->mimeData();
        if (!data || !data->hasText())
            return;
        const qsizetype removed = selectionEnd() - selectionStart();
        // The clipboard's string goes into the document as it is; an empty document takes its
        // storage, so a paste of megabytes is not copied again.
        QString text = mimeText(*data, clipboard->ownsClipboard(), removed);
        if (!text.isEmpty())
            editAt(selectionStart(), removed, std::move(text), EditKind::Other);
    });
}

void TextView::pasteSelectionAt(qsizetype position) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (readOnly_ || !clipboard->supportsSelection())
        return;
    runUserEdit(RefusedEdit::PastingSelection, [&] {
        const QMimeData* data = clipboard->mimeData(QClipboard::Selection);
        if (!data || !data->hasText())
            return;
        QString text = mimeText(*data, clipboard->ownsSelection(), 0);
        if (text.isEmpty())
            return;
        setCursorPosition(position);
        editAt(cursorPosition(), 0, std::move(text), EditKind::Other);
    });
}

QString TextView::mimeText(const QMimeData& data, bool owned, qsizetype removed) {
    if (const auto* primary = dynamic_cast<const PrimarySelection*>(&data)) {
        // A view's selection offered as the primary selection is copied when read: its length
        // is known before.
        ensureMemory(primary->length(), removed, false);
    }
    // Data this process offers hands out its string without a copy; another program's is
    // fetched and converted by Qt, whose size is known only once it is here.
    QString text = data.text();
    if (userEdit_)
        userEdit_->bytes = text.size();
    if (owned || !text.isEmpty())
        ensureMemory(text.size(), removed, true, text);
    return text;
}

void TextView::noteComingChange(qsizetype position, qsizetype removed) noexcept {
    try {
        if (hasSelection() && position <= selectionEnd() && position + removed >= selectionStart())
            keepPrimarySelection();
        // What assistive technology is told of the edit, read only if it listens.
        const bool listened = QAccessible::isActive();
        coming_.removedText = listened ? document_->mid(position, removed) : QString();
        coming_.offset = listened ? document_->codePointOffset(position) : position;
    } catch (...) {
        coming_.removedText.clear();  // a reader is told less; the edit goes on
    }
    coming_.firstVisibleLine = firstVisibleLine();
    Q_EMIT contentsAboutToChange(position, removed);
}

void TextView::followChange(const TextChange& change) noexcept {
    const EditedLines& lines = change.lines;
    const int first = coming_.firstVisibleLine;
    try {
        layouts_.follow(change);
    } catch (...) {
        layouts_.forget();
    }

    // The line at the top stays at the top; if the edit removed its start, the view goes to
    // where the new text ends. A rewrite of the same length that left as many lines, such as
    // the output under a new key, keeps the view, the caret and the selection where they were.
    int newFirst = first;
    if (first > lines.lastRemoved)
        newFirst = first + lines.lineDelta();
    else if (first > lines.first && !change.isRewrite())
        newFirst = lines.lastAdded;
    const qsizetype anchor = TextCursor::follow(cursor_.anchor(), change);
    const qsizetype caret = TextCursor::follow(cursor_.position(), change);

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
        notifyTextChange(
            coming_.offset, coming_.removedText,
            QAccessible::isActive() ? document_->mid(change.position, change.added) : QString());
    } catch (...) {
    }
    coming_.removedText.clear();
    select(anchor, caret);
    Q_EMIT contentsChanged(change);
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

// --- The caret and the selection -----------------------------------------------------------

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

void TextView::moveCaret(qsizetype position, bool extend) {
    select(extend ? cursor_.anchor() : position, position);
}

void TextView::select(qsizetype anchor, qsizetype caret) {
    anchor = clamped(anchor);
    caret = clamped(caret);
    if (hasSelection() && anchor == caret)
        keepPrimarySelection();
    const TextCursor::Moved moved = cursor_.set(anchor, caret);
    if (!moved.caret && !moved.selection)
        return;
    // A selection may span many lines; a caret that moved without one repaints only its two
    // lines, which restartBlinking() below does.
    if (moved.selectionBefore.length() > 0 || hasSelection())
        viewport()->update();
    if (moved.caret) {
        if (!preeditText().isEmpty()) {
            Preedit preedit = layouts_.preedit();
            preedit.position = caret;
            layouts_.setPreedit(std::move(preedit));
        }
        restartBlinking();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(this, int(document_->codePointOffset(caret)));
            QAccessible::updateAccessibility(&event);
        }
        Q_EMIT cursorPositionChanged();
    }
    if (moved.selection) {
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent event(this,
                                                int(document_->codePointOffset(selectionStart())),
                                                int(document_->codePointOffset(selectionEnd())));
            event.setCursorPosition(int(document_->codePointOffset(caret)));
            QAccessible::updateAccessibility(&event);
        }
        Q_EMIT selectionChanged();
    }
}

void TextView::selectAll() {
    select(0, document_->length());
    updatePrimarySelection();
}

void TextView::copy() {
    if (!hasSelection())
        return;
    runUserEdit(RefusedEdit::Copying, [&] {
        userEdit_->bytes = selectionEnd() - selectionStart();
        // The copy is made before the clipboard is touched: one that fails leaves it as it was.
        QGuiApplication::clipboard()->setText(selectedText());
    });
}

void TextView::updatePrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!hasSelection() || !clipboard->supportsSelection())
        return;
    // The clipboard owns the data, and drops the selection this view offered before.
    primary_ = new PrimarySelection([this] { return selectedText(); },
                                    [this] { return selectionEnd() - selectionStart(); });
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
    add("&Copy", QKeySequence::Copy, "edit-copy", hasSelection(), [this] { copy(); });
    if (!readOnly_) {
        const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
        add("&Paste", QKeySequence::Paste, "edit-paste", clipboard && clipboard->hasText(),
            [this] { paste(); });
        add("Delete", QKeySequence::UnknownKey, "edit-delete", hasSelection(),
            [this] { deleteSelection(); });
    }
    menu->addSeparator();
    add("Select All", QKeySequence::SelectAll, "select-all", !document_->isEmpty(),
        [this] { selectAll(); });
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

void TextView::showContextMenu(const QPoint& globalPosition) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
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
    return clamped(layouts_.positionAt(line, x, viewSpan()));
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
    const int line = document_->lineAt(cursor_.position());
    updateLines(line, line);
    if (paintedCaretLine_ >= 0 && paintedCaretLine_ != line)
        updateLines(paintedCaretLine_, paintedCaretLine_);
}

qsizetype TextView::positionAt(QPoint point) const {
    const int row = int(std::floor((point.y() - topOffset()) / layouts_.lineHeight()));
    const int line = std::clamp(firstVisibleLine() + row, 0, document_->lineCount() - 1);
    return positionAt(line, point.x() - kMargin + horizontalScrollBar()->value());
}

QRect TextView::characterRect(qsizetype position) const {
    position = clamped(position);
    const int line = document_->lineAt(position);
    const qreal left = xOf(position);
    const qsizetype end = lineEnd(line);
    qreal right = left + layouts_.averageCharWidth();
    if (position < end) {
        qsizetype next = position + 1;
        if (document_->at(position).isHighSurrogate() && next < end)
            ++next;
        right = xOf(next);
    }
    const int x = kMargin - horizontalScrollBar()->value();
    const int y = int(topOffset()) + (line - firstVisibleLine()) * layouts_.lineHeight();
    return QRectF(x + std::min(left, right), y, std::abs(right - left), layouts_.lineHeight())
        .toAlignedRect();
}

void TextView::ensureVisible(qsizetype position) {
    position = clamped(position);
    const int line = document_->lineAt(position);
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
    vertical->setRange(0, std::max(0, document_->lineCount() - fit));
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
    LayoutCache::Painting painting;
    painting.firstLine = first;
    painting.lastLine = std::min(document_->lineCount() - 1,
                                 first + int((viewport()->height() - top) / layouts_.lineHeight()));
    painting.origin = QPointF(kMargin - horizontalScrollBar()->value(), top);
    painting.area = QRectF(event->rect());
    painting.inView = viewSpan();
    painting.selection = cursor_.selection();
    painting.selectionFormat.setBackground(palette().brush(group, QPalette::Highlight));
    painting.selectionFormat.setForeground(palette().brush(group, QPalette::HighlightedText));
    painting.caret = caretShown_ ? cursor_.position() : -1;
    painter.setPen(palette().color(QPalette::Text));
    const int caretLine = layouts_.paint(painter, painting);
    if (caretLine >= 0)
        paintedCaretLine_ = caretLine;
    if (input_->dropCaret() >= 0) {
        // Where a drop would put the text.
        const QRect at = characterRect(input_->dropCaret());
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
        const QRect caret = characterRect(cursor_.position());
        viewport()->update(caret.x() - 2, caret.y(), 5, caret.height());
    } else if (!input_->timer(*event)) {
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
    if (event->type() == QEvent::ShortcutOverride &&
        input_->ownsShortcut(*static_cast<QKeyEvent*>(event))) {
        // Keys this view acts on are its own while it has focus, not the window's shortcuts.
        event->accept();
        return true;
    }
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint)
        paintFieldFrame(*this);  // shows where the keyboard is, as a line edit does
    return handled;
}

// Where Qt hands the view what the user does. What edits the text runs as a user edit, refused
// whole when it cannot get its memory; nothing thrown goes back into Qt.

void TextView::keyPressEvent(QKeyEvent* event) {
    runEdit(
        RefusedEdit::Typing, [&] { input_->keyPress(*event); }, false);
}

void TextView::mousePressEvent(QMouseEvent* event) {
    runEdit(
        RefusedEdit::PastingSelection, [&] { input_->mousePress(*event); }, false);
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    // A drag started here runs its own event loop: its parts are user edits of their own.
    try {
        input_->mouseMove(*event);
    } catch (...) {
    }
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    try {
        input_->mouseRelease(*event);
    } catch (...) {
    }
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    try {
        input_->mouseDoubleClick(*event);
    } catch (...) {
    }
}

void TextView::wheelEvent(QWheelEvent* event) {
    if (!input_->wheel(*event))
        QAbstractScrollArea::wheelEvent(event);
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    input_->contextMenu(*event);
}

void TextView::inputMethodEvent(QInputMethodEvent* event) {
    if (!runUserEdit(RefusedEdit::Composing, [&] { input_->inputMethod(*event); }))
        event->accept();  // refused: the commit is not made, and nothing else takes it
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (const std::optional<QVariant> answer = input_->inputMethodQuery(query))
        return *answer;
    return QAbstractScrollArea::inputMethodQuery(query);
}

void TextView::dragEnterEvent(QDragEnterEvent* event) {
    input_->dragEnter(*event);
}

void TextView::dragMoveEvent(QDragMoveEvent* event) {
    input_->dragMove(*event);
}

void TextView::dragLeaveEvent(QDragLeaveEvent* event) {
    input_->dragLeave(*event);
}

void TextView::dropEvent(QDropEvent* event) {
    if (!runUserEdit(RefusedEdit::Dropping, [&] { input_->drop(*event); }))
        event->ignore();  // the source keeps its text: nothing was dropped
}

}  // namespace korvane::text
