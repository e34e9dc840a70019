// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QLineEdit>

namespace korvane::text {

// A single-line text field: a QLineEdit that only differs in what assistive technology gets.
// Its class name selects the text library's accessible text instead of Qt's own line-edit
// interface.
class LineEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit LineEdit(QWidget* parent = nullptr);
};

}  // namespace korvane::text
