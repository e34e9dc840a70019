// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/label.h"

#include <QLabel>

#include "runtime/form.h"

namespace korvane::runtime {

Label::Label(Form& form, const ControlDescription& description)
    : Control(form, description, new QLabel(QString::fromUtf8(description.caption), &form)) {}

}  // namespace korvane::runtime
