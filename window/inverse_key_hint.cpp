// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/inverse_key_hint.h"

#include "window/inverse_key_text.h"

namespace korvane::window {

InverseKeyHint::InverseKeyHint(const runtime::TextBox& rotation, const runtime::TextBox& multiplier,
                               QObject* parent)
    : QObject(parent), rotation_(rotation), multiplier_(multiplier) {
    // Every change of either box, typed or written by a handler, changes the inverse key.
    for (const runtime::TextBox* box : {&rotation_, &multiplier_})
        connect(box, &runtime::TextBox::Change, this, &InverseKeyHint::refresh);
}

void InverseKeyHint::show(runtime::Control& control) {
    shown_.push_back({&control, control.accessibleDescription()});
    refresh();
}

void InverseKeyHint::refresh() noexcept {
    try {
        const QString hint = inverseKeyText(rotation_.text(), multiplier_.text());
        for (const Shown& entry : shown_) {
            entry.control->setToolTip(hint);
            entry.control->setAccessibleDescription(
                entry.description.isEmpty() ? hint : entry.description + u' ' + hint);
        }
    } catch (...) {  // out of memory: the hints keep their last text
    }
}

}  // namespace korvane::window
