// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/plain_text_edit.h"

#include <QMimeData>
#include <QTextCursor>

namespace korvane::runtime {

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
