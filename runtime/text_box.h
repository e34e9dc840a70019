// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "runtime/control.h"

namespace korvane::runtime {

// What every text box offers, whatever widget shows it. Line breaks read as '\n'.
class TextBox : public Control {
    Q_OBJECT

public:
    virtual QString text() const = 0;
    // Writing the text the box already holds changes nothing, not even the caret. Any other
    // write raises Change before it returns.
    virtual void setText(const QString& text) = 0;
    // Where the selection starts (the caret when nothing is selected), and how long it is.
    virtual qsizetype selStart() const = 0;
    // Puts the caret there, as far as the text reaches, and selects nothing. A negative start
    // is an invalid property value.
    virtual void setSelStart(qsizetype start) = 0;
    virtual qsizetype selLength() const = 0;
    // Selects this many characters from the selection start, as far as the text reaches. A
    // negative length is an invalid property value.
    virtual void setSelLength(int length) = 0;

Q_SIGNALS:
    // Raised after every change of the text, by the user or by a write.
    void Change();
    // Raised for each typed character before it is put in. Setting the code to 0 swallows the
    // character; setting another code puts that character in instead.
    void KeyPress(qint16& KeyAscii);

protected:
    TextBox(Form& form, const ControlDescription& description, QWidget* editor);

    // Puts a character in at the caret as if it had been typed.
    virtual void insertTyped(QChar character) = 0;

    bool eventFilter(QObject* watched, QEvent* event) noexcept override;
};

}  // namespace korvane::runtime
