#pragma once

#include "runtime/form_description.h"

namespace korvane {

// The stored description of the main window: caption, client size, icon and its ten controls.
const runtime::FormDescription& FrmMainDescription();

}  // namespace korvane
