// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QBasicTimer>
#include <QPoint>
#include <QVariant>
#include <optional>

#include "text/model/text_reader.h"

class QContextMenuEvent;
class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QObject;
class QTimerEvent;
class QWheelEvent;

namespace korvane::text {

class TextView;

// What the user does to a text view: the keys that move the caret and edit, the mouse (clicks,
// double and triple clicks, selecting by dragging with the view scrolling along, dragging the
// selection away), the wheel, the context menu, input methods and drag and drop. It keeps the
// state of the gesture under way; the view is what it acts on.
class TextInput {
public:
    explicit TextInput(TextView& view);

    // Whether the view takes a key before the window's shortcuts do.
    bool ownsShortcut(QKeyEvent& event) const;
    void keyPress(QKeyEvent& event);
    void mousePress(QMouseEvent& event);
    void mouseMove(QMouseEvent& event);
    void mouseRelease(QMouseEvent& event);
    void mouseDoubleClick(QMouseEvent& event);
    // False for a wheel the scroll area scrolls as usual.
    bool wheel(QWheelEvent& event);
    void contextMenu(QContextMenuEvent& event);
    // False for a timer that is not the input's.
    bool timer(QTimerEvent& event);
    void inputMethod(QInputMethodEvent& event);
    // Nothing for a query the widget answers as usual.
    std::optional<QVariant> inputMethodQuery(Qt::InputMethodQuery query) const;
    void dragEnter(QDragEnterEvent& event);
    void dragMove(QDragMoveEvent& event);
    void dragLeave(QDragLeaveEvent& event);
    void drop(QDropEvent& event);

    // Where a drag over the view would drop, or -1.
    qsizetype dropCaret() const { return dropCaret_; }

private:
    // Handles the keys that change the text; false for any other key.
    bool editingKey(QKeyEvent& event);
    void autoScroll();
    // The part of the line holding `position` that an input method is told of: the whole line,
    // or a window of it around the caret in a long one.
    TextRange inputWindow(qsizetype position) const;

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
    // The selection a drag out of this view carries, removed when it is moved elsewhere.
    qsizetype dragStart_ = 0;
    qsizetype dragEnd_ = 0;
    // Where a drag over the view would drop, or -1.
    qsizetype dropCaret_ = -1;
    // Whether the drag under way started from this view's selection.
    bool draggingOwnSelection_ = false;
};

}  // namespace korvane::text
