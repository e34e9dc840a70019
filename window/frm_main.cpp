// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/frm_main.h"

#include <limits>

#include "cipher/checked_int.h"
#include "cipher/number_text.h"
#include "runtime/events.h"
#include "runtime/message_box.h"
#include "runtime/program.h"
#include "window/frm_main_description.h"
#include "window/incremental_transform.h"
#include "window/inverse_key_hint.h"
#include "window/likely_key_feed.h"
#include "window/likely_key_hint.h"
#include "window/overflow.h"

namespace korvane::window {

using cipher::checkedAdd16;
using cipher::checkedSub16;
using cipher::FormatInteger;
using cipher::narrowToInt16;
using cipher::ReadNumber;
using cipher::ToInt16;
using cipher::ToInt32;
using frm_main::row;
using runtime::connectHandler;
using runtime::resumeNext;

namespace {

// The number a box holds as a 16-bit or 32-bit value, as ToInt16 or ToInt32 reads it; Overflow
// names the box, what it holds and what the user can do about it.
template <typename Integer>
Integer numberIn(const runtime::TextBox& box, QStringView name, QStringView remedy) {
    const QString held = box.text();
    const double number = ReadNumber(held);
    std::optional<Integer> value;
    if constexpr (sizeof(Integer) == sizeof(qint16)) {
        value = ToInt16(number);
    } else {
        value = ToInt32(number);
    }
    return orOverflow(value, [&] {
        return numberOutsideRange(name, held, std::numeric_limits<Integer>::min(),
                                  std::numeric_limits<Integer>::max(), remedy);
    });
}

// Every key typed into the rotation box first reads the number in it, and so reports it once
// more: Delete is the key that does not.
template <typename Integer>
Integer rotationIn(const runtime::TextBox& box) {
    return numberIn<Integer>(box, u"rotation box",
                             u"select it and press Delete, or type a smaller one");
}

}  // namespace

frmMain::frmMain()
    : Form(frm_main::kForm),
      Label1(*this, row("Label1")),
      txtOriginal(*this, row("txtOriginal")),
      Label2(*this, row("Label2")),
      txtRotate(*this, row("txtRotate")),
      HSRotate(*this, row("HSRotate")),
      Label4(*this, row("Label4")),
      txtMultiply(*this, row("txtMultiply")),
      cmdExit(*this, row("cmdExit")),
      Label3(*this, row("Label3")),
      txtDecrypted(*this, row("txtDecrypted")),
      transform_(new IncrementalTransform(txtOriginal, txtDecrypted, this)),
      inverseKeyHint_(new InverseKeyHint(txtRotate, txtMultiply, this)),
      likelyKeyHint_(new LikelyKeyHint(txtOriginal, this)) {
    connectHandler(*this, &Form::Resize, *this, &frmMain::Form_Resize);
    connectHandler(cmdExit, &runtime::CommandButton::Click, *this, &frmMain::cmdExit_Click);
    connectHandler(txtOriginal, &runtime::TextBox::Change, *this, &frmMain::txtOriginal_Change);
    connectHandler(txtMultiply, &runtime::TextBox::Change, *this, &frmMain::txtMultiply_Change);
    connectHandler(HSRotate, &runtime::HScrollBar::Change, *this, &frmMain::HSRotate_Change);
    connectHandler(txtRotate, &runtime::Control::GotFocus, *this, &frmMain::txtRotate_GotFocus);
    connectHandler(txtRotate, &runtime::TextBox::KeyPress, *this, &frmMain::txtRotate_KeyPress);
    connectHandler(txtRotate, &runtime::Control::LostFocus, *this, &frmMain::txtRotate_LostFocus);
    connectHandler(txtOriginal, &runtime::MultiLineTextBox::MenuItemClick, *this,
                   &frmMain::txtOriginal_MenuItemClick);
    connectHandler(txtOriginal, &runtime::MultiLineTextBox::SubmenuItemClick, *this,
                   &frmMain::txtOriginal_SubmenuItemClick);
    inverseKeyHint_->show(txtMultiply);
    inverseKeyHint_->show(txtDecrypted);
    // After the Change handler above, so that the hint takes the letters the recompute counted.
    new LikelyKeyFeed(txtOriginal, *transform_, *likelyKeyHint_, this);
    // What following an edit of the input costs, beyond the input's own memory: the hint's copy
    // of the added text when it counts it itself, the recompute's copy of the changed span and
    // its transform, and the output box taking the transform in. An edit without memory for it all
    // is refused.
    txtOriginal.setFollowingNeed([this](qsizetype added) {
        return 3 * 2 * qint64(added) + txtDecrypted.memoryToInsert(added);
    });
}

frmMain::~frmMain() = default;

void frmMain::Form_Resize() {
    // A width below zero (a window narrower than the margins) is refused by the box; the
    // statement is skipped and the other box still follows.
    resumeNext([this] { txtOriginal.setWidth(clientWidth() - 240); });
    resumeNext([this] { txtDecrypted.setWidth(clientWidth() - 240); });
}

void frmMain::cmdExit_Click() {
    runtime::end();
}

void frmMain::txtOriginal_Change() {
    const qint16 rotation = rotationIn<qint16>(txtRotate);
    const qint16 multiplier =
        numberIn<qint16>(txtMultiply, u"multiplier box", u"delete it or type a smaller one");
    // The transform of the whole input text, written in one assignment. The input is read, and
    // transformed again, only as far as it changed since the output was written under this key.
    transform_->write({.rotation = rotation, .multiplier = multiplier});
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
    qint16 value = rotationIn<qint16>(txtRotate);
    const auto stepped = [&] { return stepOutsideRange(value, QChar(KeyAscii)); };
    if (KeyAscii == kStepUp) {
        value = orOverflow(checkedAdd16(value, 1), stepped);
    } else if (KeyAscii == kStepDown) {
        value = orOverflow(checkedSub16(value, 1), stepped);
    }
    txtRotate.setText(FormatInteger(value));
}

void frmMain::txtRotate_LostFocus() {
    constexpr int kLongestRotation = 6;
    if (txtRotate.text().size() > kLongestRotation) {
        runtime::msgBox(QStringLiteral("The number you have entered for rotation is too long!") +
                        QChar(13) + QStringLiteral("Please retype as a smaller version"));
        return;
    }
    const qint32 rotation = rotationIn<qint32>(txtRotate) % 26;
    txtRotate.setText(FormatInteger(rotation));
    // The scroll bar runs from 0 to 25; a negative rotation is the same shift moved on by 26.
    qint16 position = orOverflow(narrowToInt16(rotation));
    if (position < 0)
        position = orOverflow(checkedAdd16(position, 26));
    const bool barMoves = HSRotate.value() != position;
    HSRotate.setValue(position);
    // When the bar already stood there it raised no Change; the box still shows its value.
    txtRotate.setText(FormatInteger(HSRotate.value()));
    // Nor did the output follow, which may still show the transform under a rotation the box
    // held before and a recompute read, or of an input that changed while recomputes failed:
    // it is brought up to date. A multiplier its box cannot give was reported as it was typed.
    const std::optional<qint16> multiplier = ToInt16(ReadNumber(txtMultiply.text()));
    if (!barMoves && multiplier &&
        !transform_->isUpToDate({.rotation = HSRotate.value(), .multiplier = *multiplier}))
        txtOriginal_Change();
}

void frmMain::txtOriginal_MenuItemClick() {
    if (const std::optional<cipher::Reading> reading = likelyKeyHint_->reading())
        applyKey(reading->key);
}

void frmMain::txtOriginal_SubmenuItemClick(int Index) {
    const std::vector<cipher::Reading>& readings = likelyKeyHint_->readings();
    if (Index >= 0 && size_t(Index) < readings.size())
        applyKey(readings[size_t(Index)].key);
}

void frmMain::applyKey(cipher::Key key) {
    // As the program's own writes: each raises its Change; the bar's writes the rotation box and
    // recomputes.
    txtMultiply.setText(FormatInteger(key.multiplier));
    HSRotate.setValue(key.rotation);
    // When the bar already stood there it raised no Change, and the rotation box may still hold
    // a rotation typed but not taken: it is rewritten, and the output follows.
    const QString rotation = FormatInteger(key.rotation);
    if (txtRotate.text() != rotation) {
        txtRotate.setText(rotation);
        txtOriginal_Change();
    }
}

}  // namespace korvane::window
