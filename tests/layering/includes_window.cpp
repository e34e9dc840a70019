// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Compiles only where the main window's headers are visible.
#include "window/frm_main.h"

int main() {
    return sizeof(korvane::window::frmMain) > 0 ? 0 : 1;
}
