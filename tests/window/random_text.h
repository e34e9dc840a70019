// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <random>

namespace korvane::testing {

// Random texts for a simulated user, from one seeded generator so that a run can be repeated.
class RandomText {
public:
    explicit RandomText(std::mt19937_64& random) : random_(random) {}

    // A character a key can type into a text box: printable, in the Basic Multilingual Plane,
    // from ASCII (with '&' and '(' often) through Latin, Greek, Cyrillic, Cherokee, full-width
    // forms and the letters whose capitals are ASCII ('ı', 'ſ').
    QChar typedCharacter();

    // A text for the clipboard of up to `maxLength` UTF-16 units: any mix of ASCII, line breaks
    // of every kind, NUL and other control codes, letters with unusual case mappings, combining
    // and right-to-left marks, non-characters, surrogate pairs and lone halves of pairs.
    QString pastedText(qsizetype maxLength);

    // About 100 KB of such text (51,200 UTF-16 units), in lines of up to 200 units, or as one
    // line when `oneLine` is set.
    QString largeBlock(bool oneLine);

    // What a user might type into a number box: small and huge numbers, signs, fractions,
    // exponents, blanks and junk.
    QString numberText();

    // A multiplier: half of the time one that keeps every letter in range (−364…364), mostly
    // odd, the other half any number text.
    QString multiplierText();

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    bool oneIn(int n) { return below(n) == 0; }

private:
    QChar anyUnit();

    std::mt19937_64& random_;
};

}  // namespace korvane::testing
