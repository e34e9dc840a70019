// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <utility>

#include "runtime/message_box.h"

// Records every message box the program asks for instead of showing it, for as long as it
// lives, so that a test sees each box without a modal loop.
class MessageBoxCapture {
public:
    MessageBoxCapture()
        : previous_(korvane::runtime::setMessageBoxPresenter(
              [this](const korvane::runtime::MessageBoxRequest& request) {
                  boxes.append(request);
              })) {}
    ~MessageBoxCapture() { korvane::runtime::setMessageBoxPresenter(std::move(previous_)); }
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    QList<korvane::runtime::MessageBoxRequest> boxes;

private:
    korvane::runtime::MessageBoxPresenter previous_;
};
