// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Compiles only where the cipher engine's headers are visible.
#include "cipher/transform.h"

int main() {
    return korvane::cipher::TransformText(u"A", 0, 1)->size() == 1 ? 0 : 1;
}
