// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/key_ascii.h"

#include <QKeyEvent>

namespace korvane::runtime {

std::optional<qint16> keyAsciiOf(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return std::nullopt;
        default:
            break;
    }
    if (modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier) &&
        key >= Qt::Key_A && key <= Qt::Key_Z) {
        return qint16(key - Qt::Key_A + 1);
    }
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    const char16_t first = text.front().unicode();
    if (first < 0x20 || first == 0x7f)
        return std::nullopt;  // control codes not listed above
    return static_cast<qint16>(first);
}

}  // namespace korvane::runtime
