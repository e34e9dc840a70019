// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "runtime/control.h"

class QScrollBar;

namespace korvane::runtime {

// A horizontal scroll bar with a fixed range. Its value changes when the user releases the
// thumb, not while dragging, and on every arrow, track or keyboard step: Right, Down and
// Page Down step it forward, Left, Up and Page Up back, Home and End go to either end.
class HScrollBar final : public Control {
    Q_OBJECT

public:
    HScrollBar(Form& form, const ControlDescription& description);

    qint16 value() const;
    // A value outside the range is an invalid property value. A write that changes the value
    // raises Change before it returns; writing the current value raises nothing.
    void setValue(qint16 value);

Q_SIGNALS:
    void Change();

private:
    QScrollBar* bar_;
};

}  // namespace korvane::runtime
