// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

namespace korvane::runtime {

// Positions and sizes are kept in twips: 1440 to the inch, 15 to a logical pixel. Qt's logical
// pixels already follow the screen's scale factor, so the ratio holds at every DPI.
inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}
inline double PixelsToTwips(int pixels) {
    return double(pixels) * kTwipsPerPixel;
}

}  // namespace korvane::runtime
