// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <array>

namespace korvane::cipher {

// Letter pairs of English prose, counted by scripts/english-pairs in Jane Austen's "Pride and
// Prejudice" (1813, in the public domain), as data/english/pride_and_prejudice.txt holds it:
// 536 408 letters in 122 817 runs of letters (words, and the parts of words that an apostrophe or
// a hyphen splits), with 413 591 pairs of letters side by side.

// How often the letter at position b (A = 0) follows the one at position a, at a × 26 + b.
extern const std::array<qint32, 26 * 26> kEnglishPairCounts;
// How often each letter begins a run of letters: it stands at the start of the text or after a
// character that is no letter.
extern const std::array<qint32, 26> kEnglishRunStarts;

}  // namespace korvane::cipher
