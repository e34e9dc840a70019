// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QTextLayout>

namespace korvane::text {

// What an input method is composing: shown in the line at `position`, in its own formats, but
// not the document's.
struct Preedit {
    QString text;
    qsizetype position = 0;
    // The caret's place within the text, and whether the input method shows it.
    int cursor = 0;
    bool cursorShown = true;
    QList<QTextLayout::FormatRange> formats;
};

}  // namespace korvane::text
