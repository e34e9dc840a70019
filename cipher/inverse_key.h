// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

namespace korvane::cipher {

// A rotation and a multiplier as the window's boxes hold them.
struct Key {
    qint16 rotation = 0;
    qint16 multiplier = 0;

    friend bool operator==(const Key&, const Key&) = default;
};

// Whether the letter map of a key has an inverse key, and why not.
enum class Invertibility {
    Invertible,      // the inverse key reads every enciphered letter back
    EvenMultiplier,  // letters fall together in pairs, or all into one for a multiple of 26
    MultipleOf13,    // letters fall together in groups of 13
    NotLetters,      // some letters become digits or signs ('5' … '@'), which no key changes
    AllOverflow,     // every letter overflows, so no text with a letter is ever enciphered
};

struct InverseKey {
    Invertibility invertibility = Invertibility::Invertible;
    // Meaningful when the key is invertible: multiplier 1…25 and rotation 0…25, which the rotation
    // scroll bar can take and whose sums never overflow or go negative.
    Key inverse;
    // When the key is invertible: the letters from this code up to 'Z' overflow with the key, so a
    // text holding one of them is not enciphered at all. 0 when no letter overflows.
    char16_t firstOverflowingLetter = 0;
};

// The key that undoes the letter map of TransformLetter under the given key. For an odd
// multiplier m the map takes a letter at position p (A = 0) to (m·p + r) mod 26, as long as
// every letter lands on a letter; it is undone by the multiplier m⁻¹ mod 26 and the rotation
// −m⁻¹·r mod 26.
InverseKey inverseOf(Key key);

}  // namespace korvane::cipher
