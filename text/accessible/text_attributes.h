// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace korvane::text {

// The text attributes a screen reader is given for a run of a text box's text, in the
// "name:value;" form Qt's accessibility bridges read: the widget's font and its text and base
// colours, and how the text is aligned. Every box draws its text in one font and colour.
QString accessibleTextAttributes(const QWidget& widget, Qt::Alignment alignment = Qt::AlignLeft);

}  // namespace korvane::text
