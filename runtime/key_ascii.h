// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <optional>

class QKeyEvent;

namespace korvane::runtime {

// The character code a key press types, as a text box's KeyPress sees it: printable characters,
// Backspace (8), Enter (13), Escape (27) and Ctrl+letter (1–26). Keys that type nothing, such as
// the arrows, Delete and Tab, give none.
std::optional<qint16> keyAsciiOf(const QKeyEvent& event);

}  // namespace korvane::runtime
