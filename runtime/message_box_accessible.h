// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

namespace korvane::runtime {

// Makes the program's message boxes known to assistive technology as modal alerts: the role
// alert, the box's title as its name and its message as its value (its description is only the
// informative text, so that a screen reader speaks the message once), and the
// modal state while the box blocks the window behind it. Qt's own interface leaves that state
// out, so a screen reader would not tell the user that nothing else can be reached.
void installMessageBoxAccessibility();

}  // namespace korvane::runtime
