// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <array>

namespace korvane::cipher {

// What the letters 'A'–'Z' become under one rotation and multiplier, worked out once per
// transform instead of once per character.
struct LetterMap {
    qint16 rotation = 0;
    qint16 multiplier = 0;
    // The transform of 'A' + p; a letter that overflows has no transform and reads as itself.
    std::array<char16_t, 26> letters{};
    // The letters that overflow are always 'A'–'Z' from this code on (91 when none does): the
    // product and the sum grow in size with the letter code, so one that overflows for a code
    // overflows for every larger one as well.
    char16_t firstOverflow = u'Z' + 1;
};

LetterMap makeLetterMap(qint16 rotation, qint16 multiplier);

}  // namespace korvane::cipher
