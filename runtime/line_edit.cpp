// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/line_edit.h"

namespace korvane::runtime {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {}

}  // namespace korvane::runtime
