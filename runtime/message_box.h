// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <functional>

namespace korvane::runtime {

enum class MessageBoxIcon { None, Critical };

// One modal box with an OK button, as the program asked for it.
struct MessageBoxRequest {
    QString title;
    QString prompt;  // as given: a carriage return in it is shown as a line break
    MessageBoxIcon icon = MessageBoxIcon::None;
};

// Shows a modal box with an OK button and no icon, titled with the application title, and
// returns when the user closes it.
void msgBox(const QString& prompt);

// Shows a box as requested, through the current presenter.
void showMessageBox(const MessageBoxRequest& request);

// Replaces how boxes are shown; tests record requests instead of running a modal loop. An empty
// presenter restores the modal box. Returns the presenter that was in place.
using MessageBoxPresenter = std::function<void(const MessageBoxRequest&)>;
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace korvane::runtime
