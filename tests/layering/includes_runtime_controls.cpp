// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Compiles only where the runtime's controls are visible.
#include "runtime/form.h"

int main() {
    return sizeof(korvane::runtime::Form) > 0 ? 0 : 1;
}
