// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/likely_key.h"

#include <array>
#include <cmath>
#include <limits>

namespace korvane::cipher {
namespace {

// English letter frequencies in per cent, A to Z, as Robert Lewand gives them in Cryptological
// Mathematics (Mathematical Association of America, 2000), the table most often quoted for
// English text.
constexpr std::array<double, 26> kEnglishPercent = {
    8.167, 1.492, 2.782, 4.253, 12.702, 2.228, 2.015, 6.094, 6.966, 0.153, 0.772, 4.025, 2.406,
    6.749, 7.507, 1.929, 0.095, 5.987,  6.327, 9.056, 2.758, 0.978, 2.360, 0.150, 1.974, 0.074,
};

constexpr std::array<int, 12> kMultipliers = {1, 3, 5, 7, 9, 11, 15, 17, 19, 21, 23, 25};

// The natural logarithm of each letter's share, A to Z and then A to Z again, so that a
// position moved on by a rotation needs no reduction modulo 26.
const std::array<double, 52>& englishLogs() {
    static const std::array<double, 52> logs = [] {
        double sum = 0;
        for (double percent : kEnglishPercent)
            sum += percent;
        std::array<double, 52> result{};
        for (size_t position = 0; position < result.size(); ++position)
            result[position] = std::log(kEnglishPercent[position % 26] / sum);
        return result;
    }();
    return logs;
}

}  // namespace

KeyRanking rankKeys(const LetterCounts& counts) {
    const std::array<double, 52>& logs = englishLogs();
    KeyRanking ranking;
    ranking.letters = counts.total();
    double best = -std::numeric_limits<double>::infinity();
    double runnerUp = best;
    for (int multiplier : kMultipliers) {
        // Where each letter goes under the multiplier alone; the rotation then moves it on.
        std::array<int, 26> multiplied{};
        for (int letter = 0; letter < 26; ++letter)
            multiplied[size_t(letter)] = multiplier * letter % 26;
        for (int rotation = 0; rotation < 26; ++rotation) {
            double score = 0;
            for (int letter = 0; letter < 26; ++letter)
                score += double(counts.count(letter)) *
                         logs[size_t(multiplied[size_t(letter)] + rotation)];
            const Key key{.rotation = qint16(rotation), .multiplier = qint16(multiplier)};
            if (score > best) {
                runnerUp = best;
                ranking.runnerUp = ranking.best;
                best = score;
                ranking.best = key;
            } else if (score > runnerUp) {
                runnerUp = score;
                ranking.runnerUp = key;
            }
        }
    }
    ranking.margin = best - runnerUp;
    ranking.overUniform = best + double(ranking.letters) * std::log(26.0);
    return ranking;
}

std::optional<Key> likelyKey(const LetterCounts& counts) {
    const KeyRanking ranking = rankKeys(counts);
    const bool sure = ranking.letters >= kLikelyKeyMinLetters &&
                      ranking.margin >= kLikelyKeyMinMargin &&
                      ranking.overUniform >= kLikelyKeyMinOverUniform;
    const Key asItStands{.rotation = 0, .multiplier = 1};
    if (!sure || ranking.best == asItStands)
        return std::nullopt;
    return ranking.best;
}

}  // namespace korvane::cipher
