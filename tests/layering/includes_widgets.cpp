// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Compiles only where Qt's widgets are visible.
#include <QWidget>

int main() {
    return sizeof(QWidget) > 0 ? 0 : 1;
}
