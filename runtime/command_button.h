// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/control.h"

namespace korvane::runtime {

// A push button that is neither the default nor the cancel button: Enter and Escape do not
// press it. Space presses it when it has focus.
class CommandButton final : public Control {
    Q_OBJECT

public:
    CommandButton(Form& form, const ControlDescription& description);

Q_SIGNALS:
    void Click();
};

}  // namespace korvane::runtime
