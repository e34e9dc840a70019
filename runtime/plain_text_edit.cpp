// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/plain_text_edit.h"

#include <QMimeData>
#include <QTextCursor>

#include "text/text_view.h"

namespace korvane::runtime {

bool PlainTextEdit::event(QEvent* event) {
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::Paint)
        text::paintFieldFrame(*this);  // the same frame, and focus, as the output view's
    return handled;
}

void PlainTextEdit::insertFromMimeData(const QMimeData* source) noexcept {
    if (!(textInteractionFlags() & Qt::TextEditable) || !source)
        return;
    const QString text = source->text();
    if (!text.isNull()) {
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();  // an undo step of its own, not merged into the typing before
        cursor.insertText(text);
        cursor.endEditBlock();
        setTextCursor(cursor);
    }
    ensureCursorVisible();
}

}  // namespace korvane::runtime
