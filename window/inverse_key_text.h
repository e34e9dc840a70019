// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace korvane::window {

// The inverse key for the key the rotation and multiplier boxes hold, in words for a tooltip:
// the settings that read the output back, or why there are none. The boxes are read as the
// recompute reads them, rotation first; a box whose number leaves the 16-bit range is named
// instead of raising Overflow.
QString inverseKeyText(QStringView rotationText, QStringView multiplierText);

}  // namespace korvane::window
