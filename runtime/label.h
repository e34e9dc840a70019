// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/control.h"

namespace korvane::runtime {

// A caption on the form. It takes no focus and raises no events.
class Label final : public Control {
    Q_OBJECT

public:
    Label(Form& form, const ControlDescription& description);
};

}  // namespace korvane::runtime
