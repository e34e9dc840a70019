// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/accessibility.h"

#include "runtime/message_box_accessible.h"
#include "text/line_edit_accessible.h"
#include "text/text_view_accessible.h"

namespace korvane::runtime {

void installAccessibleInterfaces() {
    text::installTextViewAccessibility();
    text::installLineEditAccessible();
    installMessageBoxAccessibility();
}

}  // namespace korvane::runtime
