// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/form_font.h"

#include <QApplication>

namespace korvane::runtime {
namespace {

constexpr double kReferenceDesktopPoints = 9.0;
constexpr double kDesignPoints = 7.5;

}  // namespace

double desktopFontScale() {
    const QFont desktop = QApplication::font();
    const double points =
        desktop.pointSizeF() > 0 ? desktop.pointSizeF() : desktop.pixelSize() * 72.0 / 96.0;
    return points > 0 ? points / kReferenceDesktopPoints : 1.0;
}

QFont formFont(double scale) {
    QFont font = QApplication::font();
    font.setPointSizeF(kDesignPoints * scale);
    font.setStretch(95);
    return font;
}

}  // namespace korvane::runtime
