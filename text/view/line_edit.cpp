// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/line_edit.h"

namespace korvane::text {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {}

}  // namespace korvane::text
