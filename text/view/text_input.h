// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QBasicTimer>
#include <QPoint>

#include "text/model/text_reader.h"

class QContextMenuEvent;
class QDragMoveEvent;
class QDropEvent;
class QEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QTimerEvent;
class QWheelEvent;

namespace korvane::text {

class TextView;

// What the user does to a text view, turned into its editor's commands: the keys that move the
// caret and edit, the mouse (clicks, double and triple clicks, selecting by dragging with the
// view scrolling along, dragging the selection away), the wheel, the context menu, input methods
// and drag and drop. It keeps the state of the gesture under way, and reaches the view and the
// editor through their public members only.
class TextInput {
public:
    explicit TextInput(TextView& view);

    // Handles one event of the user's, sent to the view or its viewport; false for one it leaves
    // to the scroll area (a key the view does not take before the window's shortcuts, a wheel
    // that scrolls as usual, anything else).
    bool handle(QEvent& event);
    // False for a timer that is not the input's.
    bool timer(QTimerEvent& event);

    // Where a drag over the view would drop, or -1.
    qsizetype dropCaret() const { return dropCaret_; }

private:
    // Whether the view takes a key before the window's shortcuts do.
    bool ownsShortcut(const QKeyEvent& event) const;
    void keyPress(QKeyEvent& event);
    // Handles the keys that change the text; false for any other key.
    bool editingKey(QKeyEvent& event);
    // Moves the caret a line or a page up or down, aiming at where the moves before aimed.
    void moveVertically(bool page, bool down, bool extend);
    void mousePress(QMouseEvent& event);
    void mouseMove(QMouseEvent& event);
    void mouseRelease(QMouseEvent& event);
    void mouseDoubleClick(QMouseEvent& event);
    // Drags the selection out of the view, and removes it when it was moved elsewhere.
    void dragSelection();
    bool wheel(QWheelEvent& event);
    void contextMenu(QContextMenuEvent& event);
    void inputMethod(QInputMethodEvent& event);
    void dragMove(QDragMoveEvent& event);
    void drop(QDropEvent& event);
    void autoScroll();
    // Whether a drag under way of this view's selection would drop onto it, at `at`.
    bool dropsOntoDragged(qsizetype at) const;

    TextView& view_;
    bool selectingByMouse_ = false;
    bool selectingWords_ = false;
    bool mightStartDrag_ = false;
    // The word a double click selected, which a drag after it extends word by word.
    TextRange clickedWord_;
    QPoint lastMousePoint_;
    QBasicTimer autoScrollTimer_;
    // Runs for a double-click interval after a double click: a press meanwhile selects the line.
    QBasicTimer tripleClickTimer_;
    QPoint doubleClickPoint_;
    // The selection a drag out of this view carries, removed when it is moved elsewhere; empty
    // while no drag of it is under way.
    TextRange dragged_;
    // Where a drag over the view would drop, or -1.
    qsizetype dropCaret_ = -1;
};

}  // namespace korvane::text
