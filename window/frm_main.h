#pragma once

#include "runtime/command_button.h"
#include "runtime/form.h"
#include "runtime/scroll_bar.h"
#include "runtime/text_box.h"

namespace korvane {

// The main window. Its handlers keep no state between events: every value is read afresh from
// the controls.
// NOLINTNEXTLINE(readability-identifier-naming): the window and its handlers keep their names
class frmMain final : public runtime::Form {
public:
    frmMain();

    runtime::TextBox& txtOriginal;
    runtime::TextBox& txtRotate;
    runtime::HScrollBar& HSRotate;
    runtime::TextBox& txtMultiply;
    runtime::CommandButton& cmdExit;
    runtime::TextBox& txtDecrypted;

    void Form_Resize();
    void cmdExit_Click();

    // The recompute: the output box shows the transform of the input box under the rotation
    // and multiplier boxes, written in one assignment and only when the whole text succeeded.
    void txtOriginal_Change();
    void txtMultiply_Change();
    void HSRotate_Change();

    // The rotation box: entering selects its text, each typed character first rewrites the
    // box to the plain form of its value ('&' steps it up, '(' down), and leaving wraps the
    // value into -25…25 and hands it to the scroll bar, which recomputes.
    void txtRotate_GotFocus();
    void txtRotate_KeyPress(qint16& KeyAscii);
    void txtRotate_LostFocus();
};

}  // namespace korvane
