// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/command_button.h"

#include <QPushButton>

#include "runtime/form.h"

namespace korvane::runtime {
namespace {

QPushButton* makeButton(const ControlDescription& description, QWidget* form) {
    auto* button = new QPushButton(QString::fromUtf8(description.caption), form);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace

CommandButton::CommandButton(Form& form, const ControlDescription& description)
    : Control(form, description, makeButton(description, &form)) {
    connect(static_cast<QPushButton*>(widget()), &QPushButton::clicked, this,
            &CommandButton::Click);
}

}  // namespace korvane::runtime
