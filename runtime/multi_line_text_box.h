// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/text_box.h"

namespace korvane::text {
class TextView;
}

namespace korvane::runtime {

// An editable text box of several lines with both scroll bars and no wrapping, for texts of any
// size. Every kind of line break it is given ("\r\n", '\r', U+2029) is stored as a line feed.
class MultiLineTextBox final : public TextBox {
    Q_OBJECT

public:
    MultiLineTextBox(Form& form, const ControlDescription& description);

    QString text() const override;
    qsizetype length() const;
    // The characters from `position` on, `count` of them, read without copying the whole text.
    QString mid(qsizetype position, qsizetype count) const;
    // Rewrites only the span that differs, in one edit and one undo step, so that the caret and
    // the scroll position of someone reading the box stay put. A text that differs only in the
    // kind of its line breaks is still a write: it raises Change.
    void setText(const QString& text) override;
    void setSelLength(int length) override;

Q_SIGNALS:
    // Raised before every change of the text, while the `removed` characters at `position`
    // can still be read with mid().
    void AboutToEdit(qsizetype position, qsizetype removed);
    // Raised for every change of the text, before Change, with where it happened: `removed`
    // characters at `position` gave way to `added` others.
    void Edited(qsizetype position, qsizetype removed, qsizetype added);

protected:
    void insertTyped(QChar character) override;

private:
    text::TextView* view_;
};

}  // namespace korvane::runtime
