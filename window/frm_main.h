// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include "cipher/inverse_key.h"
#include "runtime/command_button.h"
#include "runtime/form.h"
#include "runtime/label.h"
#include "runtime/multi_line_text_box.h"
#include "runtime/scroll_bar.h"
#include "runtime/single_line_text_box.h"

namespace korvane::window {

class IncrementalTransform;
class InverseKeyHint;
class LikelyKeyHint;

// The main window. Its handlers keep no state between events: every value is read afresh from
// the controls.
// NOLINTNEXTLINE(readability-identifier-naming): the window and its handlers keep their names
class frmMain final : public runtime::Form {
    Q_OBJECT

public:
    frmMain();
    ~frmMain() override;

    runtime::Label Label1;
    runtime::MultiLineTextBox txtOriginal;
    runtime::Label Label2;
    runtime::SingleLineTextBox txtRotate;
    runtime::HScrollBar HSRotate;
    runtime::Label Label4;
    runtime::SingleLineTextBox txtMultiply;
    runtime::CommandButton cmdExit;
    runtime::Label Label3;
    runtime::MultiLineTextBox txtDecrypted;

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

    // The input box's menu item of the likely key: the multiplier box and then the scroll bar
    // take the key that reads the input as its language, so that the output shows it in plain
    // text. An item of the submenu of possible readings sets its key the same way.
    void txtOriginal_MenuItemClick();
    void txtOriginal_SubmenuItemClick(int Index);

private:
    void applyKey(cipher::Key key);

    IncrementalTransform* transform_;
    InverseKeyHint* inverseKeyHint_;
    LikelyKeyHint* likelyKeyHint_;
};

}  // namespace korvane::window
