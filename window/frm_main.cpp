// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/frm_main.h"

#include <algorithm>

#include "cipher/checked_int.h"
#include "cipher/number_text.h"
#include "runtime/events.h"
#include "runtime/message_box.h"
#include "runtime/program.h"
#include "window/frm_main_description.h"
#include "window/incremental_transform.h"
#include "window/inverse_key_hint.h"
#include "window/likely_key_hint.h"

namespace korvane {

using frm_main::Row;
using runtime::ConnectHandler;
using runtime::ResumeNext;

namespace {

// The likely-key hint counts the letters an edit of the input box removes, while they are still
// in the box, and those it adds, once they are in: an edit costs what it changed. A span that
// cannot be copied for want of memory leaves the hint as it was.
void followInputEdits(runtime::MultiLineTextBox& input, LikelyKeyHint& hint) {
    QObject::connect(&input, &runtime::MultiLineTextBox::AboutToEdit, &hint,
                     [&input, &hint](qsizetype position, qsizetype removed) {
                         try {
                             hint.textAboutToChange(input.mid(position, removed));
                         } catch (...) {
                         }
                     });
    QObject::connect(&input, &runtime::MultiLineTextBox::Edited, &hint,
                     [&input, &hint](qsizetype position, qsizetype, qsizetype added) {
                         try {
                             hint.textChanged(input.mid(position, added));
                         } catch (...) {
                         }
                     });
}

}  // namespace

frmMain::frmMain()
    : Form(frm_main::kForm),
      Label1(*this, Row("Label1")),
      txtOriginal(*this, Row("txtOriginal")),
      Label2(*this, Row("Label2")),
      txtRotate(*this, Row("txtRotate")),
      HSRotate(*this, Row("HSRotate")),
      Label4(*this, Row("Label4")),
      txtMultiply(*this, Row("txtMultiply")),
      cmdExit(*this, Row("cmdExit")),
      Label3(*this, Row("Label3")),
      txtDecrypted(*this, Row("txtDecrypted")),
      transform_(new IncrementalTransform(txtOriginal, txtDecrypted, this)),
      inverseKeyHint_(new InverseKeyHint(txtRotate, txtMultiply, this)),
      likelyKeyHint_(new LikelyKeyHint(txtOriginal, this)) {
    ConnectHandler(*this, &Form::Resize, *this, &frmMain::Form_Resize);
    ConnectHandler(cmdExit, &runtime::CommandButton::Click, *this, &frmMain::cmdExit_Click);
    ConnectHandler(txtOriginal, &runtime::TextBox::Change, *this, &frmMain::txtOriginal_Change);
    ConnectHandler(txtMultiply, &runtime::TextBox::Change, *this, &frmMain::txtMultiply_Change);
    ConnectHandler(HSRotate, &runtime::HScrollBar::Change, *this, &frmMain::HSRotate_Change);
    ConnectHandler(txtRotate, &runtime::Control::GotFocus, *this, &frmMain::txtRotate_GotFocus);
    ConnectHandler(txtRotate, &runtime::TextBox::KeyPress, *this, &frmMain::txtRotate_KeyPress);
    ConnectHandler(txtRotate, &runtime::Control::LostFocus, *this, &frmMain::txtRotate_LostFocus);
    inverseKeyHint_->Show(txtMultiply);
    inverseKeyHint_->Show(txtDecrypted);
    followInputEdits(txtOriginal, *likelyKeyHint_);
}

frmMain::~frmMain() = default;

void frmMain::Form_Resize() {
    // A width below zero (a window narrower than the margins) is refused by the box; the
    // statement is skipped and the other box still follows.
    ResumeNext([this] { txtOriginal.setWidth(clientWidth() - 240); });
    ResumeNext([this] { txtDecrypted.setWidth(clientWidth() - 240); });
}

void frmMain::cmdExit_Click() {
    runtime::End();
}

void frmMain::txtOriginal_Change() {
    const qint16 rotation = ToInt16(ReadNumber(txtRotate.text()));
    const qint16 multiplier = ToInt16(ReadNumber(txtMultiply.text()));
    // The transform of the whole input text, written in one assignment. The input is read, and
    // transformed again, only as far as it changed since the output was written under this key.
    transform_->Write({.rotation = rotation, .multiplier = multiplier});
}

void frmMain::txtMultiply_Change() {
    txtOriginal_Change();
}

void frmMain::HSRotate_Change() {
    txtRotate.setText(FormatInteger(HSRotate.value()));
    txtOriginal_Change();
}

void frmMain::txtRotate_GotFocus() {
    txtRotate.setSelLength(int(txtRotate.text().size()));
}

void frmMain::txtRotate_KeyPress(qint16& KeyAscii) {
    constexpr qint16 kStepUp = 38;    // '&'
    constexpr qint16 kStepDown = 40;  // '('
    qint16 value = ToInt16(ReadNumber(txtRotate.text()));
    if (KeyAscii == kStepUp) {
        value = CheckedAdd16(value, 1);
    } else if (KeyAscii == kStepDown) {
        value = CheckedSub16(value, 1);
    }
    txtRotate.setText(FormatInteger(value));
}

void frmMain::txtRotate_LostFocus() {
    constexpr int kLongestRotation = 6;
    if (txtRotate.text().size() > kLongestRotation) {
        runtime::MsgBox(QStringLiteral("The number you have entered for rotation is too long!") +
                        QChar(13) + QStringLiteral("Please retype as a smaller version"));
        return;
    }
    const qint32 rotation = ToInt32(ReadNumber(txtRotate.text())) % 26;
    txtRotate.setText(FormatInteger(rotation));
    // The scroll bar runs from 0 to 25; a negative rotation is the same shift moved on by 26.
    qint16 position = NarrowToInt16(rotation);
    if (position < 0)
        position = CheckedAdd16(position, 26);
    HSRotate.setValue(position);
    // When the bar already stood there it raised no Change; the box still shows its value.
    txtRotate.setText(FormatInteger(HSRotate.value()));
}

}  // namespace korvane
