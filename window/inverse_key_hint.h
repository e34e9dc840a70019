// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "runtime/text_box.h"

namespace korvane::window {

// Tells the user the inverse key, the settings that read the output back, for the key the
// rotation and multiplier boxes hold: as the tooltip of the controls it is shown on, and at the
// end of their accessible descriptions, kept current as either box changes, so that
// screen-reader and keyboard users get it too. It adds no control and calls no handler.
class InverseKeyHint final : public QObject {
    Q_OBJECT

public:
    InverseKeyHint(const runtime::TextBox& rotation, const runtime::TextBox& multiplier,
                   QObject* parent);

    // Shows the hint on the control; its accessible description so far is kept in front.
    void show(runtime::Control& control);

private:
    struct Shown {
        runtime::Control* control;
        QString description;
    };

    void refresh() noexcept;

    const runtime::TextBox& rotation_;
    const runtime::TextBox& multiplier_;
    std::vector<Shown> shown_;
};

}  // namespace korvane::window
