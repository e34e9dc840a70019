// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <optional>

#include "cipher/inverse_key.h"
#include "cipher/letter_counts.h"

namespace korvane::cipher {

// The keys that can read an enciphered text back, ranked by how much the letters they would
// give look like English: by single letters, or by letters and the pairs they stand in. When
// only some keys are scored, the runner-up is the best of the others scored.
struct KeyRanking {
    // The key whose output is likeliest English, and the one after it: rotation 0…25 and a
    // multiplier 1…25 with an inverse, as the window's boxes can take them.
    Key best{.rotation = 0, .multiplier = 1};
    Key runnerUp{.rotation = 0, .multiplier = 1};
    // How much likelier, in nats (natural logarithm of the ratio of likelihoods), the best key's
    // output is as English than the runner-up's, and than letters drawn all equally often.
    double margin = 0;
    double overUniform = 0;
    qint64 letters = 0;
};

// Every one of the 312 keys (multiplier m coprime to 26, rotation r), which take a letter at
// position p (A = 0) to (m·p + r) mod 26, scored on the counts by the log-likelihood of its output
// under English letter frequencies.
KeyRanking rankKeys(const LetterCounts& counts);

// The keys scored by the log-likelihood of their output as English read letter by letter, each
// letter given the one before it: the first letter of every run of letters (a word) by how often
// English words begin with it, and every later one by how often it follows the letter before it
// in English (the pair counts of cipher/english_pairs.h). Such a score costs a term for every
// different pair the text holds, so only the best keys of the single-letter ranking are scored,
// as many as 20 000 terms allow: every key while the text holds at most 64 different pairs,
// which any text of up to 65 letters does, and at least the best 29 of them for a long text,
// whose single letters leave the right key far ahead of the 29th.
KeyRanking rankKeys(const LetterCounts& letters, const PairCounts& pairs);

// Below these the ranking by pairs is not trusted. Chosen on pieces of another English novel,
// Austen's "Persuasion", enciphered under every key: a best key ahead of the next by 4 nats and
// likelier as English than as random letters by 9 nats names 82 % of its 15-letter pieces
// rightly, 96 % of 20-letter ones, 99.9 % of 30-letter ones and all from 40 letters up, and
// 0.07 % of 15- and 20-letter pieces wrongly. Checked by tests/cipher/tst_likely_key.cpp on the
// English prose of tests/cipher/data, which neither the pairs nor the bounds were taken from: 94 %
// of 15-letter pieces named rightly, 99 % of 20-letter ones and all from 30 letters up, none
// wrongly; 0.24 % of random-letter texts of 15 letters get a key, none of 20 letters or more. Below
// 15 letters nothing is named: pieces of 10 letters would be read rightly less than half the time.
inline constexpr qint64 kLikelyKeyMinLetters = 15;
inline constexpr double kLikelyKeyMinMargin = 4.0;
inline constexpr double kLikelyKeyMinOverUniform = 9.0;

// The key that reads the counted text as English, when the ranking by pairs is sure of it:
// enough letters, a best key clearly ahead of the next, and an output likelier as English than
// as letters drawn at random. Nothing when it is not sure, or when the text reads best as it
// stands (rotation 0, multiplier 1).
std::optional<Key> likelyKey(const LetterCounts& letters, const PairCounts& pairs);

// A text of this many letters or more has its key named as surely by its single letters as by its
// pairs: on the English prose of tests/cipher/data every piece of 60 letters and more is read
// rightly by single letters alone. Letters cost far less to keep than pairs, so that a keeper of
// the counts of a long text may count its letters only.
inline constexpr qint64 kLettersAloneMinLetters = 1000;
// The bounds of the single-letter ranking, measured as the pair ones are: ahead of the next by
// 2 nats and likelier than random letters by 9 nats.
inline constexpr double kLettersAloneMinMargin = 2.0;
inline constexpr double kLettersAloneMinOverUniform = 9.0;

// The key by the single letters alone, for a text of at least kLettersAloneMinLetters letters;
// nothing for a shorter one, when the ranking is not sure, or for rotation 0, multiplier 1.
std::optional<Key> likelyKeyByLetters(const LetterCounts& letters);

}  // namespace korvane::cipher
