// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/upper_case.h"

#include <QChar>
#include <memory>

namespace korvane::cipher {

namespace {

// A run of code points whose capitals lie `offset` above them.
struct CapitalRun {
    char32_t first, last, offset;
};

// The code points whose simple capital QChar::toUpper does not give. Qt keeps a character whose
// full upper-case mapping (SpecialCasing.txt) is more than one character: these are the Greek
// small letters with ypogegrammeni, whose full capital spells the iota out (ᾳ → ΑΙ) while the
// simple one is the capital with prosgegrammeni (ᾳ → ᾼ). Outside the BMP Qt misses none.
constexpr CapitalRun kCapitalsQtKeeps[] = {
    {0x1F80, 0x1F87, 8},  // ᾀ … ᾇ → ᾈ … ᾏ
    {0x1F90, 0x1F97, 8},  // ᾐ … ᾗ → ᾘ … ᾟ
    {0x1FA0, 0x1FA7, 8},  // ᾠ … ᾧ → ᾨ … ᾯ
    {0x1FB3, 0x1FB3, 9},  // ᾳ → ᾼ
    {0x1FC3, 0x1FC3, 9},  // ῃ → ῌ
    {0x1FF3, 0x1FF3, 9},  // ῳ → ῼ
};

}  // namespace

char32_t simpleUpperCase(char32_t code) {
    for (const CapitalRun& run : kCapitalsQtKeeps) {
        if (code >= run.first && code <= run.last)
            return code + run.offset;
    }
    return QChar::toUpper(code);
}

const char16_t* upperCaseTable() {
    static const std::unique_ptr<char16_t[]> table = [] {
        auto upper = std::make_unique<char16_t[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t mapped = simpleUpperCase(c);
            // No capital of a BMP character lies outside it; a mapping that did is not taken.
            upper[c] = QChar::requiresSurrogates(mapped) ? char16_t(c) : char16_t(mapped);
        }
        return upper;
    }();
    return table.get();
}

}  // namespace korvane::cipher
