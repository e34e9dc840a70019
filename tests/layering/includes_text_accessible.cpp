// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Compiles only where the text library's accessible part is visible.
#include "text/accessible/accessible_text.h"

int main() {
    return sizeof(korvane::text::AccessibleText) > 0 ? 0 : 1;
}
