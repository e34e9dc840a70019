// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/accessibility.h"

#include "runtime/message_box_accessible.h"
#include "text/view/accessibility.h"

namespace korvane::runtime {

void installAccessibleInterfaces() {
    text::installTextAccessibility();
    installMessageBoxAccessibility();
}

}  // namespace korvane::runtime
