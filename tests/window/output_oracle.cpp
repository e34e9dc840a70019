// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "output_oracle.h"

#include <optional>

#include "cipher/number_text.h"
#include "reference/reference_transform.h"
#include "window/frm_main.h"

namespace korvane::testing {
namespace {

std::optional<qint16> numberIn(const QString& text) {
    return cipher::ToInt16(cipher::ReadNumber(text));
}

}  // namespace

OutputOracle::OutputOracle(window::frmMain& form) : form_(form) {
    connect(&form.txtOriginal, &runtime::TextBox::Change, this, &OutputOracle::onRecompute);
    connect(&form.txtMultiply, &runtime::TextBox::Change, this, &OutputOracle::onRecompute);
    connect(&form.HSRotate, &runtime::HScrollBar::Change, this, &OutputOracle::onRecompute);
    connect(&form.txtRotate, &runtime::Control::LostFocus, this, &OutputOracle::onRotationLeft);
}

std::optional<QString> OutputOracle::transformOfTheBoxes() const {
    const std::optional<qint16> rotation = numberIn(form_.txtRotate.text());
    const std::optional<qint16> multiplier = numberIn(form_.txtMultiply.text());
    if (!rotation || !multiplier)
        return std::nullopt;
    return reference::transform(form_.txtOriginal.text(), *rotation, *multiplier);
}

void OutputOracle::onRecompute() {
    ++recomputes_;
    if (const std::optional<QString> output = transformOfTheBoxes()) {
        expected_ = *output;
    } else {
        ++failed_;
    }
}

void OutputOracle::onRotationLeft() {
    // A text of seven or more characters is refused and leaves everything as it was.
    if (form_.txtRotate.text().size() > 6)
        return;
    if (const std::optional<QString> output = transformOfTheBoxes())
        expected_ = *output;
}

}  // namespace korvane::testing
