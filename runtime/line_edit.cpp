// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/line_edit.h"

#include "runtime/line_edit_accessible.h"

namespace korvane::runtime {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
    InstallLineEditAccessible();
}

}  // namespace korvane::runtime
