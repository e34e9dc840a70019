// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/inverse_key.h"

#include "cipher/letter_map.h"

namespace korvane::cipher {
namespace {

// The residue of a value modulo 26, in 0…25 whatever its sign.
int mod26(int value) {
    const int rest = value % 26;
    return rest < 0 ? rest + 26 : rest;
}

// The inverse of an odd residue not divisible by 13; 26 has no other units.
int unitInverse(int residue) {
    for (int candidate = 1; candidate < 26; candidate += 2) {
        if (mod26(residue * candidate) == 1)
            return candidate;
    }
    return 0;  // not reached for a unit
}

}  // namespace

InverseKey inverseOf(Key key) {
    // The letters go through the transform's own table: the formula holds only for letters
    // that land on letters, and a negative sum can land below 'A'.
    const LetterMap map = makeLetterMap(key.rotation, key.multiplier);
    const bool anyEnciphered = map.firstOverflow > u'A';
    bool allLetters = true;
    for (char16_t letter = u'A'; letter < map.firstOverflow; ++letter) {
        const char16_t code = map.letters[letter - u'A'];
        allLetters = allLetters && code >= u'A' && code <= u'Z';
    }
    const char16_t firstOverflowing = map.firstOverflow <= u'Z' ? map.firstOverflow : 0;

    InverseKey result;
    if (!anyEnciphered) {
        result.invertibility = Invertibility::AllOverflow;
    } else if (key.multiplier % 2 == 0) {
        result.invertibility = Invertibility::EvenMultiplier;
    } else if (key.multiplier % 13 == 0) {
        result.invertibility = Invertibility::MultipleOf13;
    } else if (!allLetters) {
        result.invertibility = Invertibility::NotLetters;
    }
    if (result.invertibility != Invertibility::Invertible)
        return result;

    result.firstOverflowingLetter = firstOverflowing;
    const int inverseMultiplier = unitInverse(mod26(key.multiplier));
    const int inverseRotation = mod26(-inverseMultiplier * mod26(key.rotation));
    result.inverse = {.rotation = qint16(inverseRotation), .multiplier = qint16(inverseMultiplier)};
    return result;
}

}  // namespace korvane::cipher
