// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/text_input.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>

#include "text/model/line_window.h"
#include "text/model/surrogate_pairs.h"
#include "text/view/caret_stops.h"
#include "text/view/text_view.h"

namespace korvane::text {
namespace {

constexpr int kAutoScrollInterval = 50;

// The edits of an input method's event or of a drop, one undo step, the block closed also when
// one of them fails.
class EditBlock {
public:
    explicit EditBlock(TextDocument& document) : document_(&document) { document.beginEditBlock(); }
    ~EditBlock() { end(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;
    void end() {
        if (document_)
            document_->endEditBlock();
        document_ = nullptr;
    }

private:
    TextDocument* document_;
};

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
    return c.isPrint() || c.category() == QChar::Other_PrivateUse || insidePair(text, 1) ||
           c == u'\t';
}

// Redo's keys: the platform's, and Ctrl+Y on every platform, which X11's key scheme leaves out.
bool isRedo(const QKeyEvent& event) {
    return event.matches(QKeySequence::Redo) ||
           event.keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

// The keys that move the caret, and how.
enum class Move { Char, Word, Line, Page, LineEdge, DocumentEdge };
struct Binding {
    QKeySequence::StandardKey key;
    Move move;
    bool forward;
    bool extend;
};
constexpr Binding kBindings[] = {
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

// The keys a view acts on while it has focus, before the window's shortcuts; the second list
// only while it is editable.
constexpr QKeySequence::StandardKey kOwnKeys[] = {
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
constexpr QKeySequence::StandardKey kEditingKeys[] = {
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::Cut,
    QKeySequence::Paste,
    QKeySequence::Delete,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
};

}  // namespace

TextInput::TextInput(TextView& view) : view_(view) {}

// --- Keyboard -----------------------------------------------------------------------------

TextRange TextInput::inputWindow(qsizetype position) const {
    const TextDocument& document = view_.document();
    return LineWindow(document, document.lineAround(position), position).range();
}

bool TextInput::ownsShortcut(QKeyEvent& key) const {
    for (QKeySequence::StandardKey own : kOwnKeys) {
        if (key.matches(own))
            return true;
    }
    if (view_.isReadOnly())
        return false;
    for (QKeySequence::StandardKey own : kEditingKeys) {
        if (key.matches(own))
            return true;
    }
    if (isRedo(key))
        return true;
    // Typed characters and Backspace are the box's, whatever shortcut they would be.
    return key.key() == Qt::Key_Backspace ||
           (isTypedText(key) && key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab);
}

bool TextInput::editingKey(QKeyEvent& event) {
    const qsizetype caret = view_.cursorPosition();
    const auto deleteTo = [&](qsizetype to) {
        if (view_.hasSelection())
            view_.deleteSelection();
        else
            view_.editAt(std::min(caret, to), std::abs(to - caret), QString(), EditKind::Deleting);
    };
    if (event.matches(QKeySequence::Undo)) {
        view_.undo();
    } else if (isRedo(event)) {
        view_.redo();
    } else if (event.matches(QKeySequence::Cut)) {
        view_.cut();
    } else if (event.matches(QKeySequence::Paste)) {
        view_.paste();
    } else if (event.matches(QKeySequence::DeleteStartOfWord) ||
               event.matches(QKeySequence::DeleteEndOfWord)) {
        const bool forward = event.matches(QKeySequence::DeleteEndOfWord);
        deleteTo(caretStop(view_.document(), view_.font(), caret, forward, QTextLayout::SkipWords));
    } else if (event.matches(QKeySequence::Delete) ||
               (event.key() == Qt::Key_Backspace &&
                !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))) {
        // Delete takes a whole grapheme cluster; Backspace takes one, or only its last mark in a
        // syllable typed mark by mark (see backspaceStop).
        const bool forward = event.key() != Qt::Key_Backspace;
        deleteTo(forward ? caretStop(view_.document(), view_.font(), caret, true,
                                     QTextLayout::SkipCharacters)
                         : backspaceStop(view_.document(), view_.font(), caret));
    } else if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
               !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        view_.insertTyped(QStringLiteral("\n"));
    } else if (isTypedText(event)) {
        view_.insertTyped(event.text());
    } else {
        return false;
    }
    return true;
}

void TextInput::keyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenu(menu);
        return;
    }
    if (!view_.isReadOnly() && editingKey(event))
        return;
    if (event.matches(QKeySequence::Copy)) {
        view_.copy();
        return;
    }
    if (event.matches(QKeySequence::SelectAll)) {
        view_.selectAll();
        return;
    }
    const auto binding = std::find_if(std::begin(kBindings), std::end(kBindings),
                                      [&](const Binding& b) { return event.matches(b.key); });
    if (binding == std::end(kBindings)) {
        // As a read-only QPlainTextEdit, Space pages the view; every other key is not ours.
        if (view_.isReadOnly() && event.key() == Qt::Key_Space &&
            !(event.modifiers() & ~Qt::ShiftModifier)) {
            view_.verticalScrollBar()->triggerAction(event.modifiers() & Qt::ShiftModifier
                                                         ? QAbstractSlider::SliderPageStepSub
                                                         : QAbstractSlider::SliderPageStepAdd);
            return;
        }
        event.ignore();
        return;
    }

    const TextDocument& document = view_.document();
    TextCursor& cursor = view_.cursor_;
    const qsizetype caret = cursor.position();
    const bool vertical = binding->move == Move::Line || binding->move == Move::Page;
    if (vertical && !cursor.hasWantedX())
        cursor.setWantedX(view_.xOf(caret));
    const int line = document.lineAt(caret);
    qsizetype target = caret;
    bool keepsWantedX = vertical;
    bool stays = false;
    // As in Qt's editors, in a right-to-left line Right and Ctrl+Right go back in the text and
    // Left and Ctrl+Left on, so that the caret moves the way the arrow points.
    bool forward = binding->forward;
    if ((binding->move == Move::Char || binding->move == Move::Word) &&
        paragraphDirection(document, caret) == Qt::RightToLeft)
        forward = !forward;
    switch (binding->move) {
        case Move::Char:
            if (cursor.hasSelection() && !binding->extend)
                target = forward ? cursor.selectionEnd() : cursor.selectionStart();
            else
                target =
                    caretStop(document, view_.font(), caret, forward, QTextLayout::SkipCharacters);
            break;
        case Move::Word:
            target = caretStop(document, view_.font(), caret, forward, QTextLayout::SkipWords);
            break;
        case Move::Line:
        case Move::Page: {
            const int step = binding->move == Move::Line ? 1 : view_.visibleLineCount();
            const int to =
                std::clamp(line + (binding->forward ? step : -step), 0, document.lineCount() - 1);
            if (binding->move == Move::Page)
                view_.verticalScrollBar()->setValue(view_.firstVisibleLine() + (to - line));
            if (to != line) {
                target = view_.positionAt(to, cursor.wantedX());
            } else if (binding->move == Move::Line && binding->extend) {
                // As in Qt's editors, Shift+Up on the first line selects to its start and
                // Shift+Down on the last to its end; Up and Down there leave everything as it is.
                target = binding->forward ? document.lineEnd(line) : document.lineStart(line);
                keepsWantedX = false;
            } else {
                stays = binding->move == Move::Line;
            }
            break;
        }
        case Move::LineEdge:
            target = binding->forward ? document.lineEnd(line) : document.lineStart(line);
            break;
        case Move::DocumentEdge:
            target = binding->forward ? document.length() : 0;
            break;
    }
    if (!keepsWantedX)
        cursor.forgetWantedX();
    if (!stays)
        view_.moveCaret(target, binding->extend);
    view_.ensureVisible(view_.cursorPosition());
    view_.restartBlinking();
    if (binding->extend)
        view_.updatePrimarySelection();
}

// --- Mouse --------------------------------------------------------------------------------

void TextInput::mousePress(QMouseEvent& event) {
    if (event.button() == Qt::MiddleButton && !view_.isReadOnly()) {
        // As on every X11 editor, the middle button pastes the primary selection where it is.
        view_.pasteSelectionAt(view_.positionAt(event.position().toPoint()));
        return;
    }
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    const TextDocument& document = view_.document();
    const qsizetype position = view_.positionAt(event.position().toPoint());
    view_.cursor_.forgetWantedX();
    selectingByMouse_ = true;
    selectingWords_ = false;
    lastMousePoint_ = event.position().toPoint();
    if (tripleClickTimer_.isActive() && (lastMousePoint_ - doubleClickPoint_).manhattanLength() <
                                            QApplication::startDragDistance()) {
        // A third click selects the whole line with its line break.
        tripleClickTimer_.stop();
        const TextRange line = document.lineAround(position);
        view_.select(line.start, std::min(line.end + 1, document.length()));
        selectingByMouse_ = false;
        view_.updatePrimarySelection();
        return;
    }
    // A press on the selection may start dragging it out; the caret goes there on release.
    if (view_.hasSelection() && !(event.modifiers() & Qt::ShiftModifier) &&
        position >= view_.selectionStart() && position <= view_.selectionEnd()) {
        selectingByMouse_ = false;
        mightStartDrag_ = true;
        return;
    }
    view_.moveCaret(position, event.modifiers() & Qt::ShiftModifier);
}

void TextInput::mouseDoubleClick(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    clickedWord_ = clickedWord(view_.document(), view_.positionAt(event.position().toPoint()));
    selectingByMouse_ = true;
    selectingWords_ = true;
    doubleClickPoint_ = event.position().toPoint();
    tripleClickTimer_.start(QApplication::doubleClickInterval(), &view_);
    view_.select(clickedWord_.start, clickedWord_.end);
    view_.updatePrimarySelection();
}

void TextInput::mouseMove(QMouseEvent& event) {
    if (mightStartDrag_ && (event.buttons() & Qt::LeftButton) &&
        (event.position().toPoint() - lastMousePoint_).manhattanLength() >=
            QApplication::startDragDistance()) {
        mightStartDrag_ = false;
        // The selection's copy is the drag's: without memory for it there is no drag.
        QString dragged;
        if (!view_.runUserEdit(RefusedEdit::Dragging, [&] { dragged = view_.selectedText(); }))
            return;
        auto* drag = new QDrag(&view_);
        auto* data = new QMimeData;
        data->setText(std::move(dragged));
        drag->setMimeData(data);
        dragStart_ = view_.selectionStart();
        dragEnd_ = view_.selectionEnd();
        draggingOwnSelection_ = true;
        const bool readOnly = view_.isReadOnly();
        const Qt::DropAction action =
            readOnly ? drag->exec(Qt::CopyAction)
                     : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        draggingOwnSelection_ = false;
        // Moved into another program or box: the text leaves this one. A move within this view
        // was made by the drop, as one step.
        if (action == Qt::MoveAction && !readOnly && drag->target() != view_.viewport() &&
            drag->target() != &view_)
            view_.runUserEdit(RefusedEdit::Deleting, [&] {
                view_.editAt(dragStart_, dragEnd_ - dragStart_, QString(), EditKind::Other);
            });
        return;
    }
    if (!selectingByMouse_ || !(event.buttons() & Qt::LeftButton))
        return;
    lastMousePoint_ = event.position().toPoint();
    if (view_.viewport()->rect().contains(lastMousePoint_))
        autoScrollTimer_.stop();
    else if (!autoScrollTimer_.isActive())
        autoScrollTimer_.start(kAutoScrollInterval, &view_);
    const qsizetype position = view_.positionAt(lastMousePoint_);
    if (!selectingWords_) {
        view_.moveCaret(position, true);
    } else if (position < clickedWord_.start) {
        view_.select(clickedWord_.end, clickedWord(view_.document(), position).start);
    } else {
        view_.select(clickedWord_.start,
                     std::max(clickedWord_.end, clickedWord(view_.document(), position).end));
    }
}

void TextInput::mouseRelease(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    autoScrollTimer_.stop();
    if (mightStartDrag_)
        view_.moveCaret(view_.positionAt(event.position().toPoint()), false);
    mightStartDrag_ = false;
    if (selectingByMouse_)
        view_.updatePrimarySelection();
    selectingByMouse_ = false;
}

bool TextInput::timer(QTimerEvent& event) {
    if (event.timerId() == autoScrollTimer_.timerId()) {
        autoScroll();
    } else if (event.timerId() == tripleClickTimer_.timerId()) {
        tripleClickTimer_.stop();
    } else {
        return false;
    }
    return true;
}

void TextInput::autoScroll() {
    const QRect inside = view_.viewport()->rect();
    if (lastMousePoint_.y() < inside.top())
        view_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (lastMousePoint_.y() > inside.bottom())
        view_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (lastMousePoint_.x() < inside.left())
        view_.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (lastMousePoint_.x() > inside.right())
        view_.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const QPoint within(std::clamp(lastMousePoint_.x(), inside.left(), inside.right()),
                        std::clamp(lastMousePoint_.y(), inside.top(), inside.bottom()));
    view_.moveCaret(view_.positionAt(within), true);
}

bool TextInput::wheel(QWheelEvent& event) {
    // As in a read-only QPlainTextEdit, Ctrl zooms the text a point a notch.
    if (event.modifiers() & Qt::ControlModifier) {
        QFont zoomed = view_.font();
        const qreal size = zoomed.pointSizeF() + event.angleDelta().y() / 120.0;
        if (zoomed.pointSizeF() > 0 && size >= 1) {
            zoomed.setPointSizeF(size);
            view_.setFont(zoomed);
        }
        return true;
    }
    // Shift turns the wheel sideways.
    if ((event.modifiers() & Qt::ShiftModifier) && event.angleDelta().x() == 0) {
        QWheelEvent sideways(event.position(), event.globalPosition(),
                             event.pixelDelta().transposed(), event.angleDelta().transposed(),
                             event.buttons(), event.modifiers() & ~Qt::ShiftModifier, event.phase(),
                             event.inverted(), event.source());
        QCoreApplication::sendEvent(view_.horizontalScrollBar(), &sideways);
        event.setAccepted(sideways.isAccepted());
        return true;
    }
    return false;
}

void TextInput::contextMenu(QContextMenuEvent& event) {
    // From the keyboard the menu opens at the caret, brought into view first.
    if (event.reason() == QContextMenuEvent::Keyboard) {
        view_.ensureVisible(view_.cursorPosition());
        const QRect caret = view_.characterRect(view_.cursorPosition());
        view_.showContextMenu(view_.viewport()->mapToGlobal(QPoint(caret.left(), caret.bottom())));
    } else {
        view_.showContextMenu(event.globalPos());
    }
}

// --- Input methods ------------------------------------------------------------------------

void TextInput::inputMethod(QInputMethodEvent& event) {
    if (view_.isReadOnly()) {
        event.ignore();
        return;
    }
    TextDocument& document = view_.document();
    const bool gettingInput = !event.commitString().isEmpty() ||
                              event.preeditString() != view_.preeditText() ||
                              event.replacementLength() > 0;
    EditBlock block(document);
    if (gettingInput && view_.hasSelection())
        view_.deleteSelection();
    if (!event.commitString().isEmpty() || event.replacementLength() > 0) {
        // The replacement range is counted from the caret; the commit string takes its place.
        const qsizetype caret = view_.cursorPosition();
        const qsizetype start = view_.clamped(caret + event.replacementStart());
        const qsizetype end = view_.clamped(std::max(start, start + event.replacementLength()));
        const bool typed = event.replacementLength() == 0 && !view_.hasSelection();
        if (end > start || !event.commitString().isEmpty())
            view_.editAt(start, end - start, event.commitString(),
                         typed ? EditKind::Typing : EditKind::Other);
    }
    block.end();

    Preedit preedit;
    preedit.text = event.preeditString();
    preedit.position = view_.cursorPosition();
    preedit.cursor = int(preedit.text.size());
    const qsizetype windowStart = inputWindow(view_.cursorPosition()).start;
    for (const QInputMethodEvent::Attribute& attribute : event.attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            preedit.cursor = attribute.start;
            preedit.cursorShown = attribute.length != 0;
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.isValid() && attribute.length > 0)
                preedit.formats.append({attribute.start, attribute.length, format});
        } else if (attribute.type == QInputMethodEvent::Selection) {
            view_.select(windowStart + attribute.start,
                         windowStart + attribute.start + attribute.length);
            preedit.position = view_.cursorPosition();
        }
    }
    if (!preedit.text.isEmpty() && preedit.formats.isEmpty()) {
        // The composed text is underlined until it is committed.
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        preedit.formats.append({0, int(preedit.text.size()), underlined});
    }
    view_.layouts_.setPreedit(std::move(preedit));
    view_.ensureVisible(view_.cursorPosition());
    view_.viewport()->update();
    view_.updateMicroFocus();
    event.accept();
}

std::optional<QVariant> TextInput::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The text around the caret is its line, or a window of it in a very long line; positions
    // are counted from the start of that text.
    const TextDocument& document = view_.document();
    const qsizetype caret = view_.cursorPosition();
    const TextRange window = inputWindow(caret);
    const QPoint offset = view_.viewport()->pos();
    switch (query) {
        case Qt::ImEnabled:
            return !view_.isReadOnly() && view_.isEnabled();
        case Qt::ImReadOnly:
            return view_.isReadOnly();
        case Qt::ImHints:
            return int(view_.inputMethodHints());
        case Qt::ImFont:
            return view_.font();
        case Qt::ImCursorRectangle: {
            QRect rect = view_.characterRect(caret);
            const Preedit& preedit = view_.layouts_.preedit();
            if (!preedit.text.isEmpty()) {
                const int line = document.lineAt(caret);
                const LayoutCache::LineLayout& layout =
                    view_.layouts_.layoutOf(line, view_.viewSpan());
                const qsizetype at = view_.layouts_.preeditIn(line, layout.offset, layout.length);
                if (at >= 0 && layout.layout)
                    rect.moveLeft(
                        int(TextView::kMargin - view_.horizontalScrollBar()->value() + layout.x +
                            layout.layout->lineAt(0).cursorToX(int(at) + preedit.cursor)));
            }
            rect.setWidth(1);
            return rect.translated(offset);
        }
        case Qt::ImAnchorRectangle:
            return view_.characterRect(view_.anchorPosition()).translated(offset);
        case Qt::ImCursorPosition:
            return int(caret - window.start);
        case Qt::ImAnchorPosition:
            return int(std::clamp(view_.anchorPosition(), window.start, window.end) - window.start);
        case Qt::ImAbsolutePosition:
            return qlonglong(caret);
        case Qt::ImSurroundingText:
            return document.mid(window.start, window.length());
        case Qt::ImTextBeforeCursor:
            return document.mid(window.start, caret - window.start);
        case Qt::ImTextAfterCursor:
            return document.mid(caret, window.end - caret);
        case Qt::ImCurrentSelection:
            return view_.selectedText();
        case Qt::ImMaximumTextLength:
            return QVariant();  // no limit
        default:
            return std::nullopt;
    }
}

// --- Drag and drop ------------------------------------------------------------------------

void TextInput::dragEnter(QDragEnterEvent& event) {
    if (view_.isReadOnly() || !event.mimeData()->hasText()) {
        event.ignore();
        return;
    }
    event.acceptProposedAction();
    dragMove(event);
}

void TextInput::dragMove(QDragMoveEvent& event) {
    if (view_.isReadOnly() || !event.mimeData()->hasText()) {
        event.ignore();
        return;
    }
    const qsizetype at = view_.positionAt(event.position().toPoint());
    // A drag of this view's selection moves it, unless Ctrl copies; text from elsewhere is
    // copied. Nothing drops into the selection being dragged.
    if (draggingOwnSelection_ && at > dragStart_ && at < dragEnd_) {
        dropCaret_ = -1;
        view_.viewport()->update();
        event.ignore();
        return;
    }
    const bool move = draggingOwnSelection_ && !(event.modifiers() & Qt::ControlModifier) &&
                      (event.possibleActions() & Qt::MoveAction);
    event.setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event.accept();
    if (at != dropCaret_) {
        dropCaret_ = at;
        view_.viewport()->update();
    }
}

void TextInput::dragLeave(QDragLeaveEvent&) {
    dropCaret_ = -1;
    view_.viewport()->update();
}

void TextInput::drop(QDropEvent& event) {
    dropCaret_ = -1;
    view_.viewport()->update();
    if (view_.isReadOnly() || !event.mimeData()->hasText()) {
        event.ignore();
        return;
    }
    qsizetype at = view_.positionAt(event.position().toPoint());
    const bool move = draggingOwnSelection_ && !(event.modifiers() & Qt::ControlModifier) &&
                      (event.possibleActions() & Qt::MoveAction);
    if (draggingOwnSelection_ && at > dragStart_ && at < dragEnd_) {
        event.ignore();
        return;
    }
    // Text from this process is there, its size known before any copy; another program's is
    // fetched by Qt. A move is one undo step: the text leaves its place and arrives at the drop.
    QString text = view_.mimeText(*event.mimeData(), event.source() != nullptr, 0);
    TextDocument& document = view_.document();
    EditBlock block(document);
    if (move) {
        document.replace(dragStart_, dragEnd_ - dragStart_, QStringView(), EditKind::Other);
        if (at >= dragEnd_)
            at -= dragEnd_ - dragStart_;
    }
    view_.editAt(at, 0, std::move(text), EditKind::Other);
    block.end();
    event.setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event.accept();
    view_.setFocus(Qt::MouseFocusReason);
}

}  // namespace korvane::text
