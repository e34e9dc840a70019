// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <array>
#include <cstddef>

namespace korvane::cipher {

// The languages a text is read as, in the order of kLanguageTables.
enum class Language { English, German, French, Spanish, Italian, Dutch, Portuguese };
inline constexpr size_t kLanguages = 7;

// How often a letter stands between what comes before it and what comes after it: each of the
// two a letter A–Z (0…25), a boundary (26), anything that is no letter, or a letter outside A–Z
// (27). The three are packed as (before × 26 + letter) × 28 + after. A count fits in 16 bits, so
// that an entry takes four bytes: the script that writes the tables stops at a larger one.
struct TripleCount {
    quint16 triple;
    quint16 count;
};

// How often a letter outside A–Z occurs, as the engine upper-cases it.
struct OtherLetterCount {
    char16_t letter;
    qint32 count;
};

// The counts of one language, written by scripts/language-tables from the files under data/:
// Jane Austen's "Pride and Prejudice" and the Debian Administrator's Handbook for English, and for
// every other language its translations of the Universal Declaration of Human Rights and of the
// handbook (and, for Portuguese, of the GNOME desktop's help) with the letter triples and single
// letters of the langdetect detector's profile of it, and the words of everyday speech of the
// zxcvbn-ts password checker's lists; see .reuse/dep5 for each source and its licence.
struct LanguageTable {
    // The triples that occur, in increasing order, each once.
    const TripleCount* triples;
    size_t tripleCount;
    // The letters outside A–Z that make at least a thousandth of the language's such letters, in
    // increasing order.
    const OtherLetterCount* otherLetters;
    size_t otherLetterCount;
    // The language's words in capitals, most frequent first, each followed by how often it
    // occurs: "THE 4331 OF 3610 …", separated by single spaces.
    const char* words;
};

extern const std::array<LanguageTable, kLanguages> kLanguageTables;

}  // namespace korvane::cipher
