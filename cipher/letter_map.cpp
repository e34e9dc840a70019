// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/letter_map.h"

#include "cipher/transform.h"

namespace korvane::cipher {

LetterMap makeLetterMap(qint16 rotation, qint16 multiplier) {
    LetterMap map;
    map.rotation = rotation;
    map.multiplier = multiplier;
    for (int p = 25; p >= 0; --p) {
        const auto code = static_cast<qint16>(u'A' + p);
        const std::optional<qint16> letter = TransformLetter(code, rotation, multiplier);
        map.letters[p] = static_cast<char16_t>(letter.value_or(code));
        if (!letter)
            map.firstOverflow = char16_t(code);
    }
    return map;
}

}  // namespace korvane::cipher
