// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::bench {

// Prose-like texts of exactly `length` UTF-16 units, the same on every run: words, blanks,
// punctuation and a line break about every 70 characters, as a pasted document would have.

// Only ASCII: mixed-case English words, digits and punctuation.
QString AsciiText(qsizetype length);

// About half ASCII and half other scripts: accented Latin, Greek, Cyrillic, CJK and emoji
// (surrogate pairs), with the dotless i and the long s whose capitals are ASCII letters.
QString MixedText(qsizetype length);

}  // namespace korvane::bench
