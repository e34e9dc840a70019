// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/likely_key.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "cipher/english_pairs.h"

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

// Every key, numbered multiplier by multiplier in the order of kMultipliers and within one
// multiplier by rotation.
constexpr size_t kKeys = kMultipliers.size() * 26;

Key keyNumbered(size_t number) {
    return {.rotation = qint16(number % 26), .multiplier = qint16(kMultipliers[number / 26])};
}

// The log-likelihoods of English read letter by letter: of each letter beginning a run of
// letters, and of each letter following another, at first × 52 + second. Both are laid out twice
// over, A to Z and then A to Z again on each axis, so that letters moved on by a rotation need no
// reduction modulo 26: a pair at x × 52 + y is at (x + r) × 52 + (y + r), 53 r further on. Half
// a count is added to every count, so that a pair the novel never has, such as "QZ", is unlikely
// but possible.
struct PairLogs {
    std::array<double, 52> starting{};
    std::array<double, 52 * 52> following{};
};

const PairLogs& englishPairLogs() {
    static const PairLogs logs = [] {
        constexpr double kAdded = 0.5;
        PairLogs result;
        const double starts =
            std::accumulate(kEnglishRunStarts.begin(), kEnglishRunStarts.end(), 0.0) + 26 * kAdded;
        for (size_t letter = 0; letter < 52; ++letter)
            result.starting[letter] = std::log((kEnglishRunStarts[letter % 26] + kAdded) / starts);
        for (size_t first = 0; first < 52; ++first) {
            const auto row = kEnglishPairCounts.begin() + ptrdiff_t(first % 26 * 26);
            const double followers = std::accumulate(row, row + 26, 0.0) + 26 * kAdded;
            for (size_t second = 0; second < 52; ++second) {
                result.following[first * 52 + second] =
                    std::log((row[ptrdiff_t(second % 26)] + kAdded) / followers);
            }
        }
        return result;
    }();
    return logs;
}

// The single-letter score of every key, by number. Each letter in turn adds its term to the 26
// rotations of a multiplier, in one loop over adjacent entries in which no sum waits on another.
std::array<double, kKeys> letterScores(const LetterCounts& counts) {
    const std::array<double, 52>& logs = englishLogs();
    std::array<double, kKeys> scores{};
    for (size_t m = 0; m < kMultipliers.size(); ++m) {
        std::array<double, 26> byRotation{};
        for (int letter = 0; letter < 26; ++letter) {
            const double count = double(counts.count(letter));
            // Where the letter goes under the multiplier alone; the rotation then moves it on.
            const double* moved = logs.data() + kMultipliers[m] * letter % 26;
            for (size_t rotation = 0; rotation < 26; ++rotation)
                byRotation[rotation] += count * moved[rotation];
        }
        std::copy(byRotation.begin(), byRotation.end(), scores.begin() + ptrdiff_t(m * 26));
    }
    return scores;
}

// The best and the runner-up of the scored keys, taken in the order given: of two keys that
// score alike the first stays ahead.
template <typename Score>
KeyRanking bestTwo(const size_t* numbers, size_t count, qint64 letters, Score score) {
    KeyRanking ranking;
    ranking.letters = letters;
    double best = -std::numeric_limits<double>::infinity();
    double runnerUp = best;
    for (size_t i = 0; i < count; ++i) {
        const double scored = score(numbers[i]);
        if (scored > best) {
            runnerUp = best;
            ranking.runnerUp = ranking.best;
            best = scored;
            ranking.best = keyNumbered(numbers[i]);
        } else if (scored > runnerUp) {
            runnerUp = scored;
            ranking.runnerUp = keyNumbered(numbers[i]);
        }
    }
    ranking.margin = best - runnerUp;
    ranking.overUniform = best + double(letters) * std::log(26.0);
    return ranking;
}

std::array<size_t, kKeys> allKeys() {
    std::array<size_t, kKeys> numbers{};
    std::iota(numbers.begin(), numbers.end(), size_t(0));
    return numbers;
}

// How many terms the ranking by pairs may spend: each candidate key costs one for every
// different pair the text holds.
constexpr size_t kPairTerms = 20000;

}  // namespace

KeyRanking rankKeys(const LetterCounts& counts) {
    const std::array<double, kKeys> scores = letterScores(counts);
    const std::array<size_t, kKeys> numbers = allKeys();
    return bestTwo(numbers.data(), numbers.size(), counts.total(),
                   [&scores](size_t number) { return scores[number]; });
}

KeyRanking rankKeys(const LetterCounts& letters, const PairCounts& pairs) {
    // The pairs the text holds, and how many of its letters begin a run: those that follow no
    // other letter.
    std::array<quint8, 26 * 26> firsts{};
    std::array<quint8, 26 * 26> seconds{};
    std::array<double, 26 * 26> counts{};
    size_t present = 0;
    std::array<double, 26> starts{};
    for (int letter = 0; letter < 26; ++letter)
        starts[size_t(letter)] = double(letters.count(letter));
    for (int first = 0; first < 26; ++first) {
        for (int second = 0; second < 26; ++second) {
            const qint64 count = pairs.count(first, second);
            if (count == 0)
                continue;
            firsts[present] = quint8(first);
            seconds[present] = quint8(second);
            counts[present++] = double(count);
            starts[size_t(second)] -= double(count);
        }
    }

    // The candidates: every key, or the best of the single-letter ranking in key order.
    std::array<size_t, kKeys> numbers = allKeys();
    const size_t candidates = std::min(kKeys, kPairTerms / std::max<size_t>(present, 1));
    if (candidates < kKeys) {
        const std::array<double, kKeys> byLetters = letterScores(letters);
        std::nth_element(numbers.begin(), numbers.begin() + ptrdiff_t(candidates), numbers.end(),
                         [&byLetters](size_t a, size_t b) {
                             return byLetters[a] > byLetters[b] ||
                                    (byLetters[a] == byLetters[b] && a < b);
                         });
        std::sort(numbers.begin(), numbers.begin() + ptrdiff_t(candidates));
    }

    // Where each pair the text holds goes under a multiplier alone, in the doubled table, worked
    // out for a multiplier when the first of its keys is scored.
    std::array<std::array<quint16, 26 * 26>, kMultipliers.size()> places;
    std::array<std::array<quint8, 26>, kMultipliers.size()> letterPlaces;
    std::array<bool, kMultipliers.size()> placed{};
    const PairLogs& logs = englishPairLogs();
    return bestTwo(numbers.data(), candidates, letters.total(), [&](size_t number) {
        const size_t m = number / 26;
        const size_t rotation = number % 26;
        const size_t multiplier = size_t(kMultipliers[m]);
        if (!placed[m]) {
            for (size_t t = 0; t < present; ++t) {
                places[m][t] =
                    quint16(multiplier * firsts[t] % 26 * 52 + multiplier * seconds[t] % 26);
            }
            for (size_t letter = 0; letter < 26; ++letter)
                letterPlaces[m][letter] = quint8(multiplier * letter % 26);
            placed[m] = true;
        }
        const double* following = logs.following.data() + 53 * rotation;
        // Four sums taken in turn, so that one addition does not wait on the one before.
        std::array<double, 4> sums{};
        size_t t = 0;
        for (; t + 4 <= present; t += 4) {
            for (size_t k = 0; k < 4; ++k)
                sums[k] += counts[t + k] * following[places[m][t + k]];
        }
        for (; t < present; ++t)
            sums[0] += counts[t] * following[places[m][t]];
        const double* starting = logs.starting.data() + rotation;
        double begun = 0;
        for (size_t letter = 0; letter < 26; ++letter)
            begun += starts[letter] * starting[letterPlaces[m][letter]];
        return (sums[0] + sums[1]) + (sums[2] + sums[3]) + begun;
    });
}

std::optional<Key> likelyKey(const LetterCounts& letters, const PairCounts& pairs) {
    const KeyRanking ranking = rankKeys(letters, pairs);
    const bool sure = ranking.letters >= kLikelyKeyMinLetters &&
                      ranking.margin >= kLikelyKeyMinMargin &&
                      ranking.overUniform >= kLikelyKeyMinOverUniform;
    const Key asItStands{.rotation = 0, .multiplier = 1};
    if (!sure || ranking.best == asItStands)
        return std::nullopt;
    return ranking.best;
}

std::optional<Key> likelyKeyByLetters(const LetterCounts& letters) {
    const KeyRanking ranking = rankKeys(letters);
    const bool sure = ranking.letters >= kLettersAloneMinLetters &&
                      ranking.margin >= kLettersAloneMinMargin &&
                      ranking.overUniform >= kLettersAloneMinOverUniform;
    const Key asItStands{.rotation = 0, .multiplier = 1};
    if (!sure || ranking.best == asItStands)
        return std::nullopt;
    return ranking.best;
}

}  // namespace korvane::cipher
