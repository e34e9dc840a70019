// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/text_box.h"

#include <QKeyEvent>

#include "runtime/events.h"
#include "runtime/key_ascii.h"

namespace korvane::runtime {

TextBox::TextBox(Form& form, const ControlDescription& description, QWidget* editor)
    : Control(form, description, editor) {
    editor->installEventFilter(this);
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) noexcept {
    if (watched != widget() || event->type() != QEvent::KeyPress)
        return false;
    const std::optional<qint16> typed = keyAsciiOf(*static_cast<QKeyEvent*>(event));
    if (!typed)
        return false;
    qint16 keyAscii = *typed;
    Q_EMIT KeyPress(keyAscii);
    if (keyAscii == *typed)
        return false;  // the box takes the key as usual
    if (keyAscii != 0)
        deliver([&] { insertTyped(QChar(char16_t(keyAscii))); });
    return true;
}

}  // namespace korvane::runtime
