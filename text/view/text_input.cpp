// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/text_input.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "text/editor/caret_stops.h"
#include "text/model/surrogate_pairs.h"
#include "text/view/text_view.h"

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
    return c.isPrint() || c.category() == QChar::Other_PrivateUse || insidePair(text, 1) ||
           c == u'\t';
}

// Redo's keys: the platform's, and Ctrl+Y on every platform, which X11's key scheme leaves out.
bool isRedo(const QKeyEvent& event) {
    return event.matches(QKeySequence::Redo) ||
           event.keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

// The keys that move the caret, and how: through the text, or a line or a page up or down.
enum class Move { Char, Word, Line, Page, LineEdge, DocumentEdge };
struct Binding {
    QKeySequence::StandardKey key;
    Move move;
    bool forward;
    bool extend;
};

TextEditor::Move editorMove(Move move) {
    switch (move) {
        case Move::Char:
            return TextEditor::Move::Character;
        case Move::Word:
            return TextEditor::Move::Word;
        case Move::LineEdge:
            return TextEditor::Move::LineEdge;
        default:
            return TextEditor::Move::DocumentEdge;
    }
}
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

bool TextInput::handle(QEvent& event) {
    switch (event.type()) {
        case QEvent::ShortcutOverride:
            if (!ownsShortcut(static_cast<QKeyEvent&>(event)))
                return false;
            // Keys this view acts on are its own while it has focus, not the window's shortcuts.
            event.accept();
            return true;
        case QEvent::KeyPress:
            keyPress(static_cast<QKeyEvent&>(event));
            return true;
        case QEvent::InputMethod:
            inputMethod(static_cast<QInputMethodEvent&>(event));
            return true;
        case QEvent::MouseButtonPress:
            mousePress(static_cast<QMouseEvent&>(event));
            return true;
        case QEvent::MouseMove:
            mouseMove(static_cast<QMouseEvent&>(event));
            return true;
        case QEvent::MouseButtonRelease:
            mouseRelease(static_cast<QMouseEvent&>(event));
            return true;
        case QEvent::MouseButtonDblClick:
            mouseDoubleClick(static_cast<QMouseEvent&>(event));
            return true;
        case QEvent::Wheel:
            return wheel(static_cast<QWheelEvent&>(event));
        case QEvent::ContextMenu:
            contextMenu(static_cast<QContextMenuEvent&>(event));
            return true;
        case QEvent::DragEnter:
            if (!view_.editor().isReadOnly() &&
                static_cast<QDropEvent&>(event).mimeData()->hasText())
                static_cast<QDropEvent&>(event).acceptProposedAction();
            dragMove(static_cast<QDragMoveEvent&>(event));
            return true;
        case QEvent::DragMove:
            dragMove(static_cast<QDragMoveEvent&>(event));
            return true;
        case QEvent::DragLeave:
            dropCaret_ = -1;
            view_.viewport()->update();
            return true;
        case QEvent::Drop:
            drop(static_cast<QDropEvent&>(event));
            return true;
        default:
            return false;
    }
}

// --- Keyboard -----------------------------------------------------------------------------

bool TextInput::ownsShortcut(const QKeyEvent& key) const {
    for (QKeySequence::StandardKey own : kOwnKeys) {
        if (key.matches(own))
            return true;
    }
    if (view_.editor().isReadOnly())
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
    TextEditor& editor = view_.editor();
    if (event.matches(QKeySequence::Undo)) {
        editor.undo();
    } else if (isRedo(event)) {
        editor.redo();
    } else if (event.matches(QKeySequence::Cut)) {
        editor.cut();
    } else if (event.matches(QKeySequence::Paste)) {
        editor.paste();
    } else if (event.matches(QKeySequence::DeleteStartOfWord) ||
               event.matches(QKeySequence::DeleteEndOfWord)) {
        editor.deleteNext(event.matches(QKeySequence::DeleteEndOfWord), true);
    } else if (event.matches(QKeySequence::Delete) ||
               (event.key() == Qt::Key_Backspace &&
                !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)))) {
        editor.deleteNext(event.key() != Qt::Key_Backspace, false);
    } else if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
               !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        editor.insertTyped(QStringLiteral("\n"));
    } else if (isTypedText(event)) {
        editor.insertTyped(event.text());
    } else {
        return false;
    }
    return true;
}

void TextInput::keyPress(QKeyEvent& event) {
    TextEditor& editor = view_.editor();
    if (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenu(menu);
        return;
    }
    if (!editor.isReadOnly() && editingKey(event))
        return;
    if (event.matches(QKeySequence::Copy)) {
        editor.copy();
        return;
    }
    if (event.matches(QKeySequence::SelectAll)) {
        editor.selectAll();
        return;
    }
    const auto binding = std::find_if(std::begin(kBindings), std::end(kBindings),
                                      [&](const Binding& b) { return event.matches(b.key); });
    if (binding == std::end(kBindings)) {
        // As a read-only QPlainTextEdit, Space pages the view; every other key is not ours.
        if (editor.isReadOnly() && event.key() == Qt::Key_Space &&
            !(event.modifiers() & ~Qt::ShiftModifier)) {
            view_.verticalScrollBar()->triggerAction(event.modifiers() & Qt::ShiftModifier
                                                         ? QAbstractSlider::SliderPageStepSub
                                                         : QAbstractSlider::SliderPageStepAdd);
            return;
        }
        event.ignore();
        return;
    }
    if (binding->move == Move::Line || binding->move == Move::Page)
        moveVertically(binding->move == Move::Page, binding->forward, binding->extend);
    else
        editor.moveCaret(editorMove(binding->move), binding->forward, binding->extend);
    view_.ensureVisible(editor.cursorPosition());
    view_.restartBlinking();
    if (binding->extend)
        editor.offerPrimarySelection();
}

void TextInput::moveVertically(bool page, bool down, bool extend) {
    TextEditor& editor = view_.editor();
    const TextDocument& document = editor.document();
    const qsizetype caret = editor.cursorPosition();
    if (!editor.wantedX())
        editor.setWantedX(view_.xOf(caret));
    const int line = document.lineAt(caret);
    const int step = page ? view_.visibleLineCount() : 1;
    const int to = std::clamp(line + (down ? step : -step), 0, document.lineCount() - 1);
    if (page)
        view_.verticalScrollBar()->setValue(view_.firstVisibleLine() + (to - line));
    if (to != line) {
        editor.moveCaretTo(view_.positionAt(to, *editor.wantedX()), extend);
    } else if (!page && extend) {
        // As in Qt's editors, Shift+Up on the first line selects to its start and Shift+Down on
        // the last to its end; Up and Down there leave everything as it is.
        editor.setWantedX(std::nullopt);
        editor.moveCaretTo(down ? document.lineEnd(line) : document.lineStart(line), true);
    } else if (page) {
        editor.moveCaretTo(caret, extend);
    }
}

// --- Mouse --------------------------------------------------------------------------------

void TextInput::mousePress(QMouseEvent& event) {
    TextEditor& editor = view_.editor();
    if (event.button() == Qt::MiddleButton && !editor.isReadOnly()) {
        // As on every X11 editor, the middle button pastes the primary selection where it is.
        editor.pasteSelectionAt(view_.positionAt(event.position().toPoint()));
        return;
    }
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    const TextDocument& document = editor.document();
    const qsizetype position = view_.positionAt(event.position().toPoint());
    editor.setWantedX(std::nullopt);
    selectingByMouse_ = true;
    selectingWords_ = false;
    lastMousePoint_ = event.position().toPoint();
    if (tripleClickTimer_.isActive() && (lastMousePoint_ - doubleClickPoint_).manhattanLength() <
                                            QApplication::startDragDistance()) {
        // A third click selects the whole line with its line break.
        tripleClickTimer_.stop();
        const TextRange line = document.lineAround(position);
        editor.setSelection(line.start, std::min(line.end + 1, document.length()));
        selectingByMouse_ = false;
        editor.offerPrimarySelection();
        return;
    }
    // A press on the selection may start dragging it out; the caret goes there on release.
    if (editor.hasSelection() && !(event.modifiers() & Qt::ShiftModifier) &&
        position >= editor.selectionStart() && position <= editor.selectionEnd()) {
        selectingByMouse_ = false;
        mightStartDrag_ = true;
        return;
    }
    editor.moveCaretTo(position, event.modifiers() & Qt::ShiftModifier);
}

void TextInput::mouseDoubleClick(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    TextEditor& editor = view_.editor();
    clickedWord_ = clickedWord(editor.document(), view_.positionAt(event.position().toPoint()));
    selectingByMouse_ = true;
    selectingWords_ = true;
    doubleClickPoint_ = event.position().toPoint();
    tripleClickTimer_.start(QApplication::doubleClickInterval(), &view_);
    editor.setSelection(clickedWord_.start, clickedWord_.end);
    editor.offerPrimarySelection();
}

void TextInput::mouseMove(QMouseEvent& event) {
    if (mightStartDrag_ && (event.buttons() & Qt::LeftButton) &&
        (event.position().toPoint() - lastMousePoint_).manhattanLength() >=
            QApplication::startDragDistance()) {
        mightStartDrag_ = false;
        dragSelection();
        return;
    }
    if (!selectingByMouse_ || !(event.buttons() & Qt::LeftButton))
        return;
    lastMousePoint_ = event.position().toPoint();
    if (view_.viewport()->rect().contains(lastMousePoint_))
        autoScrollTimer_.stop();
    else if (!autoScrollTimer_.isActive())
        autoScrollTimer_.start(kAutoScrollInterval, &view_);
    TextEditor& editor = view_.editor();
    const qsizetype position = view_.positionAt(lastMousePoint_);
    if (!selectingWords_) {
        editor.moveCaretTo(position, true);
    } else if (position < clickedWord_.start) {
        editor.setSelection(clickedWord_.end, clickedWord(editor.document(), position).start);
    } else {
        editor.setSelection(
            clickedWord_.start,
            std::max(clickedWord_.end, clickedWord(editor.document(), position).end));
    }
}

void TextInput::dragSelection() {
    TextEditor& editor = view_.editor();
    // The selection's copy is the drag's: without memory for it there is no drag.
    QString text;
    if (!editor.runUserEdit(RefusedEdit::Dragging,
                            [&](EditTransaction&) { text = editor.selectedText(); }))
        return;
    auto* drag = new QDrag(&view_);
    auto* data = new QMimeData;
    data->setText(std::move(text));
    drag->setMimeData(data);
    const TextRange dragged{editor.selectionStart(), editor.selectionEnd()};
    dragged_ = dragged;
    const bool readOnly = editor.isReadOnly();
    const Qt::DropAction action = readOnly
                                      ? drag->exec(Qt::CopyAction)
                                      : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    dragged_ = {};
    // Moved into another program or box: the text leaves this one. A move within this view was
    // made by the drop, as one step.
    if (action == Qt::MoveAction && !readOnly && drag->target() != view_.viewport() &&
        drag->target() != &view_)
        editor.deleteText(dragged);
}

void TextInput::mouseRelease(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    TextEditor& editor = view_.editor();
    autoScrollTimer_.stop();
    if (mightStartDrag_)
        editor.moveCaretTo(view_.positionAt(event.position().toPoint()), false);
    mightStartDrag_ = false;
    if (selectingByMouse_)
        editor.offerPrimarySelection();
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
    view_.editor().moveCaretTo(view_.positionAt(within), true);
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
    QPoint at = event.globalPos();
    if (event.reason() == QContextMenuEvent::Keyboard) {
        const qsizetype caret = view_.editor().cursorPosition();
        view_.ensureVisible(caret);
        const QRect shown = view_.characterRect(caret);
        at = view_.viewport()->mapToGlobal(QPoint(shown.left(), shown.bottom()));
    }
    QMenu* menu = view_.createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

// --- Input methods ------------------------------------------------------------------------

void TextInput::inputMethod(QInputMethodEvent& event) {
    TextEditor& editor = view_.editor();
    if (editor.isReadOnly()) {
        event.ignore();
        return;
    }
    // Refused, the commit is not made, and nothing else takes it.
    if (editor.inputMethod(event))
        view_.ensureVisible(editor.cursorPosition());
    event.accept();
}

// --- Drag and drop ------------------------------------------------------------------------

bool TextInput::dropsOntoDragged(qsizetype at) const {
    return at > dragged_.start && at < dragged_.end;
}

void TextInput::dragMove(QDragMoveEvent& event) {
    if (view_.editor().isReadOnly() || !event.mimeData()->hasText()) {
        event.ignore();
        return;
    }
    const qsizetype at = view_.positionAt(event.position().toPoint());
    // A drag of this view's selection moves it, unless Ctrl copies; text from elsewhere is
    // copied. Nothing drops into the selection being dragged.
    if (dropsOntoDragged(at)) {
        dropCaret_ = -1;
        view_.viewport()->update();
        event.ignore();
        return;
    }
    const bool move = dragged_.length() > 0 && !(event.modifiers() & Qt::ControlModifier) &&
                      (event.possibleActions() & Qt::MoveAction);
    event.setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event.accept();
    if (at != dropCaret_) {
        dropCaret_ = at;
        view_.viewport()->update();
    }
}

void TextInput::drop(QDropEvent& event) {
    dropCaret_ = -1;
    view_.viewport()->update();
    TextEditor& editor = view_.editor();
    if (editor.isReadOnly() || !event.mimeData()->hasText()) {
        event.ignore();
        return;
    }
    const qsizetype at = view_.positionAt(event.position().toPoint());
    const bool move = dragged_.length() > 0 && !(event.modifiers() & Qt::ControlModifier) &&
                      (event.possibleActions() & Qt::MoveAction);
    if (dropsOntoDragged(at)) {
        event.ignore();
        return;
    }
    // The source keeps its text when the drop is refused: nothing was dropped.
    if (!editor.drop(*event.mimeData(), event.source() != nullptr, at,
                     move ? dragged_ : TextRange{})) {
        event.ignore();
        return;
    }
    event.setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event.accept();
    view_.setFocus(Qt::MouseFocusReason);
}

}  // namespace korvane::text
