// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

namespace korvane::runtime {

// Registers with Qt what screen readers get from every control of the runtime: the text
// view's interface (both big text boxes), the single-line boxes' and the message box's. Called
// at start-up, before any window exists; calling it again does nothing.
void installAccessibleInterfaces();

}  // namespace korvane::runtime
