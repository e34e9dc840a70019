// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "cipher/language_tables.h"
#include "cipher/letter_counts.h"

namespace korvane::cipher {

// The languages side by side, one to a lane, padded to eight lanes: one load reads a term of every
// language, and a reading scores all of them at once. The lanes past kLanguages hold nothing.
inline constexpr size_t kLanes = 8;
static_assert(kLanes >= kLanguages);

// One term of every language, lane by lane.
struct alignas(32) LanguageLanes {
    std::array<float, kLanes> lane{};
};

// The languages as the likely key reads them, worked out from their counts in kLanguageTables: a
// text is read word by word, each letter given the two symbols before it (letters A–Z, a boundary
// or a letter outside A–Z), each whole word also as a word of the language, and each letter
// outside A–Z as a letter of the language.
struct LanguageModels {
    // For every triple of TripleCounts::indexOf, the log-likelihood that the letter and what
    // follows it add to a text in each language: the letter's own term where a boundary or the
    // text's edge stands before it (the first letter of a word, or of the text), and the term of
    // what follows it, given the letter and what stands before it (nothing for the text's edge).
    std::vector<LanguageLanes> tripleLogs;
    // Each word of each language (its letters' alphabet positions) with the logarithm of its share
    // of the words.
    std::array<std::unordered_map<std::u16string, double>, kLanguages> wordLogs;
    // The log-likelihood of each letter outside A–Z in each language, where the text has a letter
    // outside A–Z: such letters pass through every key as they are, so that they say nothing of
    // the key and much of the language. Every letter a language lists is here, and any other has
    // the unlisted term.
    std::unordered_map<char16_t, std::array<double, kLanes>> otherLetterLogs;
    std::array<double, kLanes> unlistedOtherLetterLog{};
};

// 2^-16 of a nat.
inline constexpr double kLetterLogUnit = 1.0 / 65536;

// The models of kLanguageTables, built on first use.
const LanguageModels& languageModels();

// The natural logarithm of each letter's share of the letters, A to Z and then A to Z again, so
// that a position moved on by a rotation needs no reduction modulo 26; by language. Each is
// rounded to a whole number of kLetterLogUnit, so that a sum of letter counts times these terms is
// exact in a double for any text a string can hold: scores kept by the edits of a text equal those
// counted afresh. Built on first use apart from the models, which take far longer to build: a long
// text is ranked by its letters alone.
using LetterLogs = std::array<std::array<double, kLanes>, 52>;
const LetterLogs& languageLetterLogs();

}  // namespace korvane::cipher
