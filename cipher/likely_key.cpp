// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/likely_key.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "cipher/language_model.h"

namespace korvane::cipher {
namespace {

constexpr std::array<int, 12> kMultipliers = {1, 3, 5, 7, 9, 11, 15, 17, 19, 21, 23, 25};

// Every key, numbered multiplier by multiplier in the order of kMultipliers and within one
// multiplier by rotation; every reading, numbered language by language and within one language
// by key.
constexpr size_t kKeys = kMultipliers.size() * 26;
constexpr size_t kReadings = kKeys * kLanguages;

Key keyNumbered(size_t number) {
    return {.rotation = qint16(number % 26), .multiplier = qint16(kMultipliers[number / 26])};
}

size_t keyNumberOf(Key key) {
    const auto m = std::find(kMultipliers.begin(), kMultipliers.end(), key.multiplier);
    return size_t(m - kMultipliers.begin()) * 26 + size_t(key.rotation);
}

// How much likelier, in nats, a reading as English is taken to be than one as another language:
// a text typed into an English program is more often English, and a short text that reads about
// as well in two languages is named as English. Chosen with the bounds, on the same prose.
constexpr double kEnglishLean = 2.0;

double leanOf(size_t language) {
    return language == size_t(Language::English) ? kEnglishLean : 0.0;
}

// A whole word of the text is read as a mixture: with this share as a word of the language's
// list, and with the rest letter by letter.
constexpr double kWordShare = 0.7;
// How many of the best readings by triples are read word by word as well.
constexpr size_t kWordReadings = 24;
// The fewest readings a ranking by triples scores, however many triples the text holds.
constexpr size_t kLeastCandidates = 3 * kLanguages;

// The single-letter score of every reading, by number, leaning towards English. For each
// language, each letter in turn adds its term to the 26 rotations of a multiplier, in one loop
// over adjacent entries in which no sum waits on another.
std::vector<double> letterScores(const LetterCounts& counts) {
    std::vector<double> scores(kReadings);
    const auto& letterLogs = languageLetterLogs();
    for (size_t language = 0; language < kLanguages; ++language) {
        const std::array<double, 52>& logs = letterLogs[language];
        for (size_t m = 0; m < kMultipliers.size(); ++m) {
            std::array<double, 26> byRotation{};
            for (int letter = 0; letter < 26; ++letter) {
                const double count = double(counts.count(letter));
                // Where the letter goes under the multiplier alone; the rotation then moves it on.
                const double* moved = logs.data() + kMultipliers[m] * letter % 26;
                for (size_t rotation = 0; rotation < 26; ++rotation)
                    byRotation[rotation] += count * moved[rotation];
            }
            for (size_t rotation = 0; rotation < 26; ++rotation)
                scores[language * kKeys + m * 26 + rotation] =
                    byRotation[rotation] + leanOf(language);
        }
    }
    return scores;
}

constexpr double kUnscored = -std::numeric_limits<double>::infinity();

// The ranking of the readings by their scores, kUnscored for a reading that was not scored. Of
// two readings that score alike the one numbered first goes ahead.
ReadingRanking rankingOf(const std::vector<double>& scores, qint64 letters, double uniform) {
    ReadingRanking ranking;
    ranking.letters = letters;
    // The best reading of each key.
    std::array<size_t, kKeys> bestOfKey{};
    for (size_t key = 0; key < kKeys; ++key) {
        bestOfKey[key] = key;
        for (size_t reading = key + kKeys; reading < kReadings; reading += kKeys) {
            if (scores[reading] > scores[bestOfKey[key]])
                bestOfKey[key] = reading;
        }
    }
    std::array<bool, kKeys> taken{};
    for (Reading& reading : ranking.readings) {
        size_t next = kKeys;
        for (size_t key = 0; key < kKeys; ++key) {
            if (!taken[key] && (next == kKeys || scores[bestOfKey[key]] > scores[bestOfKey[next]]))
                next = key;
        }
        if (next == kKeys || scores[bestOfKey[next]] == kUnscored)
            break;
        taken[next] = true;
        reading = {.key = keyNumbered(next), .language = Language(bestOfKey[next] / kKeys)};
        ++ranking.readingCount;
    }
    if (ranking.readingCount == 0)
        return ranking;
    const size_t best = bestOfKey[keyNumberOf(ranking.readings[0].key)];
    double otherKey = kUnscored;
    double otherLanguage = kUnscored;
    for (size_t reading = 0; reading < kReadings; ++reading) {
        if (reading % kKeys != best % kKeys)
            otherKey = std::max(otherKey, scores[reading]);
        else if (reading != best)
            otherLanguage = std::max(otherLanguage, scores[reading]);
    }
    // A reading that was not scored was far behind: the margin over it counts as wide.
    const double wide = std::numeric_limits<double>::max();
    ranking.keyMargin = otherKey == kUnscored ? wide : scores[best] - otherKey;
    ranking.languageMargin = otherLanguage == kUnscored ? wide : scores[best] - otherLanguage;
    ranking.overUniform = scores[best] - uniform;
    return ranking;
}

// A letter triple the text holds, and how often.
struct HeldTriple {
    quint8 before;
    quint8 letter;
    quint8 after;
    double count;
};

std::vector<HeldTriple> heldTriples(const TripleCounts& triples) {
    std::vector<HeldTriple> held;
    for (int before = 0; before < kNeighbours; ++before) {
        for (int letter = 0; letter < 26; ++letter) {
            if (triples.rowTotal(before, letter) == 0)
                continue;
            for (int after = 0; after < kNeighbours; ++after) {
                if (const qint64 count = triples.count(before, letter, after); count != 0)
                    held.push_back({quint8(before), quint8(letter), quint8(after), double(count)});
            }
        }
    }
    return held;
}

// The share of a letter that ends a word in prose, about one in five.
constexpr double kWordEnds = 0.2;

// How much the text's triples weigh under letters drawn all equally often in words as the text
// has them: every letter one of 26, every letter followed by a boundary with the share a word's
// end has in prose. What a language's reading must clearly beat.
double uniformLogLikelihood(const std::vector<HeldTriple>& held) {
    const double letterLog = std::log(1.0 / 26);
    const double endLog = std::log(kWordEnds);
    const double goesOnLog = std::log((1 - kWordEnds) / 26);
    double sum = 0;
    for (const HeldTriple& triple : held) {
        const double own = triple.before >= kBoundary ? letterLog : 0.0;
        const double next = triple.after == kBoundary ? endLog
                            : triple.after < 26       ? goesOnLog
                                                      : 0.0;
        sum += triple.count * (own + next);
    }
    return sum;
}

// Where a key takes each symbol: a letter to its letter, a boundary or an edge to itself.
std::array<quint8, kNeighbours> symbolsUnder(size_t key) {
    std::array<quint8, kNeighbours> moved{};
    const int multiplier = kMultipliers[key / 26];
    const int rotation = int(key % 26);
    for (int symbol = 0; symbol < kNeighbours; ++symbol)
        moved[size_t(symbol)] =
            quint8(symbol < 26 ? (multiplier * symbol + rotation) % 26 : symbol);
    return moved;
}

// The log-likelihood a word's letters add to a reading, read letter by letter between two
// boundaries.
double lettersOfWord(const std::string& word, const std::vector<float>& tripleLogs) {
    double sum = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        const int before = i == 0 ? kBoundary : word[i - 1];
        const int after = i + 1 == word.size() ? kBoundary : word[i + 1];
        sum += tripleLogs[TripleCounts::indexOf(before, word[i], after)];
    }
    return sum;
}

// How much likelier the reading's whole words are with the language's word list than letter by
// letter alone: a word of the list gains, any other word is read as before.
double wordGain(size_t reading, const WordCounts& words) {
    const LanguageModel& model = languageModels()[reading / kKeys];
    const std::array<quint8, kNeighbours> moved = symbolsUnder(reading % kKeys);
    double gain = 0;
    std::string read;
    for (const auto& [word, count] : words) {
        read.resize(word.size());
        for (size_t i = 0; i < word.size(); ++i)
            read[i] = char(moved[size_t(word[i])]);
        const auto found = model.wordLogs.find(read);
        if (found == model.wordLogs.end())
            continue;
        const double byLetters = lettersOfWord(read, model.tripleLogs);
        gain += double(count) *
                (std::log((1 - kWordShare) + kWordShare * std::exp(found->second - byLetters)) -
                 std::log(1 - kWordShare));
    }
    return gain;
}

}  // namespace

ReadingRanking rankReadings(const LetterCounts& letters, const TripleCounts& triples,
                            const WordCounts& words) {
    const std::vector<HeldTriple> held = heldTriples(triples);
    // The candidates: every reading, or the best by single letters; by key, the languages each
    // key is read as.
    std::array<quint8, kKeys> languagesOf{};
    languagesOf.fill(quint8((1U << kLanguages) - 1));
    const size_t affordable =
        std::max(kTripleTerms / std::max<size_t>(held.size(), 1), kLeastCandidates);
    if (affordable < kReadings) {
        const std::vector<double> byLetters = letterScores(letters);
        std::vector<size_t> order(kReadings);
        std::iota(order.begin(), order.end(), size_t(0));
        std::nth_element(order.begin(), order.begin() + ptrdiff_t(affordable), order.end(),
                         [&byLetters](size_t a, size_t b) {
                             return byLetters[a] > byLetters[b] ||
                                    (byLetters[a] == byLetters[b] && a < b);
                         });
        languagesOf.fill(0);
        for (size_t i = 0; i < affordable; ++i)
            languagesOf[order[i] % kKeys] |= quint8(1U << (order[i] / kKeys));
    }

    // Where each candidate key takes each triple, worked out once for all its languages; then
    // scored language by language, so that one language's table stays in the cache.
    std::vector<quint16> places;
    std::array<size_t, kKeys> placesOf{};
    for (size_t key = 0; key < kKeys; ++key) {
        if (languagesOf[key] == 0)
            continue;
        placesOf[key] = places.size();
        const std::array<quint8, kNeighbours> moved = symbolsUnder(key);
        for (const HeldTriple& triple : held) {
            places.push_back(quint16(TripleCounts::indexOf(
                moved[triple.before], moved[triple.letter], moved[triple.after])));
        }
    }
    std::vector<double> scores(kReadings, kUnscored);
    const auto& models = languageModels();
    for (size_t language = 0; language < kLanguages; ++language) {
        const float* logs = models[language].tripleLogs.data();
        for (size_t key = 0; key < kKeys; ++key) {
            if ((languagesOf[key] >> language & 1U) == 0)
                continue;
            const quint16* at = places.data() + placesOf[key];
            // Four sums taken in turn, so that one addition does not wait on the one before.
            std::array<double, 4> sums{};
            size_t t = 0;
            for (; t + 4 <= held.size(); t += 4) {
                for (size_t k = 0; k < 4; ++k)
                    sums[k] += held[t + k].count * double(logs[at[t + k]]);
            }
            for (; t < held.size(); ++t)
                sums[0] += held[t].count * double(logs[at[t]]);
            scores[language * kKeys + key] =
                (sums[0] + sums[1]) + (sums[2] + sums[3]) + leanOf(language);
        }
    }

    if (!words.empty()) {
        std::vector<size_t> order(kReadings);
        std::iota(order.begin(), order.end(), size_t(0));
        const size_t read = std::min(kWordReadings, kReadings);
        std::nth_element(order.begin(), order.begin() + ptrdiff_t(read), order.end(),
                         [&scores](size_t a, size_t b) {
                             return scores[a] > scores[b] || (scores[a] == scores[b] && a < b);
                         });
        for (size_t i = 0; i < read; ++i) {
            if (scores[order[i]] != kUnscored)
                scores[order[i]] += wordGain(order[i], words);
        }
    }
    return rankingOf(scores, letters.total(), uniformLogLikelihood(held));
}

ReadingRanking rankReadingsByLetters(const LetterCounts& letters) {
    ReadingRanking ranking = rankingOf(letterScores(letters), letters.total(),
                                       double(letters.total()) * std::log(1.0 / 26));
    ranking.byLettersAlone = true;
    return ranking;
}

namespace {

// The best reading when its ranking is sure of it, the text as it stands included.
std::optional<Reading> sureBest(const ReadingRanking& ranking) {
    if (ranking.readingCount == 0)
        return std::nullopt;
    const Reading& best = ranking.readings[0];
    const bool english = best.language == Language::English;
    const bool sure =
        ranking.byLettersAlone
            ? ranking.letters >= kLettersAloneMinLetters &&
                  ranking.keyMargin >= kLettersAloneMinMargin &&
                  ranking.languageMargin >= kLettersAloneMinLanguageMargin &&
                  ranking.overUniform >= kLettersAloneMinOverUniform
            : ranking.letters >=
                      (english ? kLikelyKeyMinLetters : kLikelyOtherLanguageMinLetters) &&
                  ranking.keyMargin >= kLikelyKeyMinMargin &&
                  ranking.languageMargin >= kLikelyLanguageMinMargin &&
                  ranking.overUniform >=
                      (english ? kLikelyKeyMinOverUniform : kLikelyOtherLanguageMinOverUniform);
    return sure ? std::optional<Reading>(best) : std::nullopt;
}

constexpr Key kAsItStands{.rotation = 0, .multiplier = 1};

}  // namespace

std::optional<Reading> sureReading(const ReadingRanking& ranking) {
    const std::optional<Reading> best = sureBest(ranking);
    return best && best->key != kAsItStands ? best : std::nullopt;
}

bool readsAsItStands(const ReadingRanking& ranking) {
    const std::optional<Reading> best = sureBest(ranking);
    return best && best->key == kAsItStands;
}

}  // namespace korvane::cipher
