// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>

#include "text/text_view.h"

// What the user does to the text view: keys, the mouse and the wheel, input methods, and drag
// and drop.
namespace korvane::text {
namespace {

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
