// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/text_box.h"

class QPlainTextEdit;

namespace korvane::runtime {

// An editable text box of several lines with both scroll bars and no wrapping.
class MultiLineTextBox final : public TextBox {
    Q_OBJECT

public:
    MultiLineTextBox(Form& form, const ControlDescription& description);

    QString text() const override;
    qsizetype length() const;
    // The characters from `position` on, `count` of them, read without copying the whole text.
    QString mid(qsizetype position, qsizetype count) const;
    // Rewrites only the span that differs, in one edit, so that the caret and the scroll position
    // of someone reading the box stay put.
    void setText(const QString& text) override;
    void setSelLength(int length) override;

Q_SIGNALS:
    // Raised for every change of the text, before Change, with where it happened: `removed`
    // characters at `position` gave way to `added` others.
    void Edited(qsizetype position, qsizetype removed, qsizetype added);

protected:
    void InsertTyped(QChar character) override;

private:
    QPlainTextEdit* lines_;
};

}  // namespace korvane::runtime
