// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

namespace korvane::text {

// Registers with Qt what screen readers get from the text library's widgets: an AccessibleText
// over each TextView and each LineEdit. Calling it again does nothing.
void installTextAccessibility();

}  // namespace korvane::text
