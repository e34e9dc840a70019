// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

namespace korvane::runtime {

// Positions and sizes are kept in twips: 1440 to the inch, 15 to a logical pixel at the
// reference desktop font. Qt's logical pixels already follow the screen's scale factor, so the
// ratio holds at every DPI; a form scales it further by how much larger the desktop's font is
// than the reference (`scale`), so that its stored layout keeps its proportions as its text grows.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips, double scale = 1.0) {
    return qRound(twips * scale / kTwipsPerPixel);
}
// Reference pixels, which a form counts from its own by its scale, to twips.
inline double pixelsToTwips(int pixels) {
    return double(pixels) * kTwipsPerPixel;
}

}  // namespace korvane::runtime
