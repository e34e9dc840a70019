// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::bench {

// Prose-like texts of exactly `length` UTF-16 units, the same on every run: words, blanks,
// punctuation and a line break once a line has passed `lineLength` characters (it ends with the
// next word), as a pasted document would have. 70 is prose; 1000 is text with long lines.

constexpr qsizetype kProseLineLength = 70;

// Only ASCII: mixed-case English words, digits and punctuation.
QString asciiText(qsizetype length, qsizetype lineLength = kProseLineLength);

// About half ASCII and half other scripts: accented Latin, Greek, Cyrillic, CJK and emoji
// (surrogate pairs), with the dotless i and the long s whose capitals are ASCII letters.
QString mixedText(qsizetype length, qsizetype lineLength = kProseLineLength);

}  // namespace korvane::bench
