// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>

namespace korvane::runtime {

// The form's controls are laid out in twips for a small interface font, as the classic form
// designers used: at the reference desktop font of 9 points (Qt's own default where no desktop
// sets one) the desktop's family at 7.5 points, a little narrowed, lets every caption fit its
// stored label even in a wide family such as DejaVu Sans.

// How much larger the desktop's font is than the reference; a font given in pixels counts at
// 96 pixels to the inch.
double desktopFontScale();
// The desktop's family at the design size, grown by `scale`.
QFont formFont(double scale);

}  // namespace korvane::runtime
