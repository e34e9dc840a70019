// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Compiles only where the text library's headers are visible.
#include "text/view/text_view.h"

int main() {
    return sizeof(korvane::text::TextView) > 0 ? 0 : 1;
}
