#pragma once

#include "runtime/control.h"

namespace korvane::runtime {

// A push button that is neither the default nor the cancel button: Enter and Escape do not
// press it. Space presses it when it has focus.
class CommandButton final : public Control {
public:
    CommandButton(const ControlDescription& description, QWidget* form);

    EventHandler Click;
};

}  // namespace korvane::runtime
