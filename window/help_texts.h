#pragma once

namespace korvane {

class frmMain;

// The help the main window gives beyond its stored description: accessible descriptions for
// every control, and the way back as a tooltip on the multiplier and output boxes.
void AttachHelpTexts(frmMain& form);

}  // namespace korvane
