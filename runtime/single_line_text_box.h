// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/text_box.h"

class QLineEdit;

namespace korvane::runtime {

// A text box of one line.
class SingleLineTextBox final : public TextBox {
    Q_OBJECT

public:
    SingleLineTextBox(Form& form, const ControlDescription& description);

    QString text() const override;
    void setText(const QString& text) override;
    qsizetype selStart() const override;
    void setSelStart(qsizetype start) override;
    qsizetype selLength() const override;
    void setSelLength(int length) override;

protected:
    void insertTyped(QChar character) override;

private:
    QLineEdit* line_;
};

}  // namespace korvane::runtime
