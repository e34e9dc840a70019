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

// One language as the likely key reads it, worked out from its counts in kLanguageTables: a text
// is read word by word, each letter given the two symbols before it (letters or a boundary), and
// each whole word also as a word of the language.
struct LanguageModel {
    // The natural logarithm of each letter's share of the letters, A to Z and then A to Z again,
    // so that a position moved on by a rotation needs no reduction modulo 26.
    std::array<double, 52> letterLogs{};
    // For every triple of TripleCounts::indexOf, the log-likelihood that the letter and what
    // follows it add to a text: the letter's own term where a boundary or the text's edge stands
    // before it (the first letter of a word, or of the text), and the term of what follows it,
    // given the letter and what stands before it (nothing for the text's edge).
    std::vector<float> tripleLogs;
    // Each word of the language (its letters' alphabet positions) with the logarithm of its share
    // of the words.
    std::unordered_map<std::string, double> wordLogs;
};

// The models of kLanguageTables, in the same order, built on first use.
const std::array<LanguageModel, kLanguages>& languageModels();
// Their letter logs alone (LanguageModel::letterLogs), built on first use apart from the models,
// which take far longer to build: a long text is ranked by its letters alone.
const std::array<std::array<double, 52>, kLanguages>& languageLetterLogs();

}  // namespace korvane::cipher
