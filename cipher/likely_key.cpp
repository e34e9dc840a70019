// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/likely_key.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

#include "cipher/language_model.h"

namespace korvane::cipher {
namespace {

constexpr std::array<int, 12> kMultipliers = {1, 3, 5, 7, 9, 11, 15, 17, 19, 21, 23, 25};
static_assert(kKeys == kMultipliers.size() * 26);

Key keyNumbered(size_t number) {
    return {.rotation = qint16(number % 26), .multiplier = qint16(kMultipliers[number / 26])};
}

// The score of every reading: by key, each language in its lane.
using ReadingScores = std::vector<std::array<double, kLanes>>;

// How much likelier, in nats, a reading as English is taken to be than one as another language:
// a text typed into an English program is more often English, and a short text that reads about
// as well in two languages is named as English. Chosen with the bounds, on the same prose.
constexpr double kEnglishLean = 2.0;

double leanOf(size_t language) {
    return language == size_t(Language::English) ? kEnglishLean : 0.0;
}

// A whole word of the text is read as a mixture: with this share as a word of the language's
// list, and with the rest letter by letter. Chosen on the translated messages of the programs of
// a Debian system, pieces of 15 and 20 letters in six languages: from 0.7 to 0.9 names 1 to 3 %
// more of them rightly in every language. Since the other languages' letter terms are floored, a
// word's letters weigh less against its language, and its share as a word counts for more: on
// those messages and the Spanish and Brazilian fortune cookies, 0.97 rather than 0.9 names 0.6 %
// more of the pieces of 12 letters, 0.4 % more of 15 and 0.2 % more of 20 rightly (Portuguese and
// Spanish up to 1 %), English as often, and random letters about as often (0.50 and 0.23 % of
// those of 10 and 12 letters, against 0.49 and 0.22 %; 0.07 % of 15, against 0.04 %); 0.99 names
// 0.1 to 0.3 % more, and random letters of 12 and 15 letters more often (0.28 and 0.09 %).
constexpr double kWordShare = 0.97;
// How many of the best readings by triples are read word by word as well.
constexpr size_t kWordReadings = 24;
// The fewest keys a ranking by triples scores, however many triples the text holds.
constexpr size_t kLeastCandidates = 3;

using Pair = double __attribute__((vector_size(2 * sizeof(double))));
static_assert(kLanes == 8);

// Adds `count` times each letter's terms to the scores, language by language: the letter goes
// under multiplier m alone to m·letter, and each rotation then moves it on by one, so that the 26
// rotations of a multiplier read 26 adjacent entries of the doubled table.
void addLetterTerms(ReadingScores& scores, int letter, double count) {
    const LetterLogs& logs = languageLetterLogs();
    for (size_t m = 0; m < kMultipliers.size(); ++m) {
        const auto* moved = logs.data() + kMultipliers[m] * letter % 26;
        for (size_t rotation = 0; rotation < 26; ++rotation) {
            double* score = scores[m * 26 + rotation].data();
            const double* terms = moved[rotation].data();
            // Two lanes at a time, the width every vector unit has.
            std::array<Pair, kLanes / 2> sums;
            std::array<Pair, kLanes / 2> added;
            std::memcpy(sums.data(), score, sizeof(sums));
            std::memcpy(added.data(), terms, sizeof(added));
            sums[0] += count * added[0];
            sums[1] += count * added[1];
            sums[2] += count * added[2];
            sums[3] += count * added[3];
            std::memcpy(score, sums.data(), sizeof(sums));
        }
    }
}

constexpr double kUnscored = -std::numeric_limits<double>::infinity();

// The best language of each key, of two alike the one named first.
std::array<quint8, kKeys> bestLanguages(const ReadingScores& scores) {
    std::array<quint8, kKeys> best{};
    for (size_t key = 0; key < kKeys; ++key) {
        double bestScore = scores[key][0];
        for (size_t language = 1; language < kLanguages; ++language) {
            const bool better = scores[key][language] > bestScore;
            bestScore = better ? scores[key][language] : bestScore;
            best[key] = better ? quint8(language) : best[key];
        }
    }
    return best;
}

// The ranking of the readings by their scores, kUnscored for a key that was not scored, with the
// lean towards English already in them. Of two readings that score alike the one whose key is
// numbered first goes ahead. `baseline` is what the best reading's score is measured against, by
// its language.
ReadingRanking rankingOf(const ReadingScores& scores, qint64 letters,
                         const std::array<double, kLanes>& baseline) {
    ReadingRanking ranking;
    ranking.letters = letters;
    const std::array<quint8, kKeys> bestOf = bestLanguages(scores);
    const auto scoreOf = [&](size_t key) { return scores[key][bestOf[key]]; };
    // The best keys, and the best after them.
    std::array<size_t, 3> top{};
    size_t found = 0;
    for (size_t key = 0; key < kKeys; ++key) {
        if (scoreOf(key) == kUnscored)
            continue;
        size_t at = std::min(found, top.size() - 1);
        if (found == top.size() && scoreOf(key) <= scoreOf(top[at]))
            continue;
        for (; at > 0 && scoreOf(key) > scoreOf(top[at - 1]); --at)
            top[at] = top[at - 1];
        top[at] = key;
        found = std::min(found + 1, top.size());
    }
    ranking.readingCount = found;
    for (size_t i = 0; i < ranking.readingCount; ++i)
        ranking.readings[i] = {.key = keyNumbered(top[i]), .language = Language(bestOf[top[i]])};
    if (found == 0)
        return ranking;
    const double best = scoreOf(top[0]);
    double otherLanguage = kUnscored;
    for (size_t language = 0; language < kLanguages; ++language) {
        if (language != bestOf[top[0]])
            otherLanguage = std::max(otherLanguage, scores[top[0]][language]);
    }
    // A reading that was not scored was far behind: the margin over it counts as wide.
    const double wide = std::numeric_limits<double>::max();
    ranking.keyMargin = found < 2 ? wide : best - scoreOf(top[1]);
    ranking.languageMargin = otherLanguage == kUnscored ? wide : best - otherLanguage;
    ranking.overUniform = best - baseline[bestOf[top[0]]];
    return ranking;
}

// Four lanes of terms as a vector of the compiler's, which it maps onto the processor's vector
// registers. A reading's triples are summed in single precision: a text ranked by triples is
// short, or scored by few triples, and its sums stay far within a float's 24 bits of precision
// of what separates two readings.
using Quarter = float __attribute__((vector_size(4 * sizeof(float))));
static_assert(kLanes == 8);

// A letter triple the text holds, and how often.
struct HeldTriple {
    quint8 before;
    quint8 letter;
    quint8 after;
    float count;
};

std::vector<HeldTriple> heldTriples(const TripleCounts& triples) {
    std::vector<HeldTriple> held;
    for (int before = 0; before < kNeighbours; ++before) {
        for (int letter = 0; letter < 26; ++letter) {
            if (triples.rowTotal(before, letter) == 0)
                continue;
            for (int after = 0; after < kNeighbours; ++after) {
                if (const qint64 count = triples.count(before, letter, after); count != 0)
                    held.push_back({quint8(before), quint8(letter), quint8(after), float(count)});
            }
        }
    }
    return held;
}

// The share of a letter that ends a word in prose, about one in five; and the share followed by a
// letter outside A–Z, about one in fifty in the languages that write such letters.
constexpr double kWordEnds = 0.2;
constexpr double kOtherLetterShare = 0.02;

// How much the text's triples weigh under letters drawn all equally often in words as the text
// has them: every letter one of 26, every letter followed by a boundary with the share a word's
// end has in prose, and by a letter outside A–Z with the share such letters have. What a
// language's reading must clearly beat.
double uniformLogLikelihood(const std::vector<HeldTriple>& held) {
    const double letterLog = std::log(1.0 / 26);
    const double endLog = std::log(kWordEnds);
    const double goesOnLog = std::log((1 - kWordEnds) / 26);
    const double otherLog = std::log(kOtherLetterShare);
    double sum = 0;
    for (const HeldTriple& triple : held) {
        const double own = triple.before >= kBoundary ? letterLog : 0.0;
        const double next = triple.after == kBoundary      ? endLog
                            : triple.after == kOtherLetter ? otherLog
                            : triple.after < 26            ? goesOnLog
                                                           : 0.0;
        sum += triple.count * (own + next);
    }
    return sum;
}

// Where each key takes each symbol: a letter to its letter, a boundary or an edge to itself.
const std::array<quint8, kNeighbours>& symbolsUnder(size_t key) {
    static const std::array<std::array<quint8, kNeighbours>, kKeys> moved = [] {
        std::array<std::array<quint8, kNeighbours>, kKeys> table{};
        for (size_t number = 0; number < kKeys; ++number) {
            const int multiplier = kMultipliers[number / 26];
            const int rotation = int(number % 26);
            for (int symbol = 0; symbol < kNeighbours; ++symbol) {
                table[number][size_t(symbol)] =
                    quint8(symbol < 26 ? (multiplier * symbol + rotation) % 26 : symbol);
            }
        }
        return table;
    }();
    return moved[key];
}

// What a letter of a word is beside another: its alphabet position, or kOtherLetter.
int symbolOf(char16_t letter) {
    return letter < 26 ? int(letter) : kOtherLetter;
}

// The log-likelihood of a letter outside A–Z as a letter of each language.
const std::array<double, kLanes>& otherLetterLogs(char16_t letter) {
    const LanguageModels& models = languageModels();
    const auto found = models.otherLetterLogs.find(letter);
    return found == models.otherLetterLogs.end() ? models.unlistedOtherLetterLog : found->second;
}

// The log-likelihood a word's letters add to a reading as the language, read letter by letter
// between two boundaries: each letter A–Z by its triple, each other letter as itself.
double lettersOfWord(const std::u16string& word, size_t language) {
    const std::vector<LanguageLanes>& logs = languageModels().tripleLogs;
    double sum = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] >= 26) {
            sum += otherLetterLogs(word[i])[language];
            continue;
        }
        const int before = i == 0 ? kBoundary : symbolOf(word[i - 1]);
        const int after = i + 1 == word.size() ? kBoundary : symbolOf(word[i + 1]);
        sum += logs[TripleCounts::indexOf(before, word[i], after)].lane[language];
    }
    return sum;
}

// How much likelier the reading's whole words are with the language's word list than letter by
// letter alone: a word of the list gains, any other word is read as before.
double wordGain(size_t key, size_t language, const WordCounts& words) {
    const std::unordered_map<std::u16string, double>& wordLogs =
        languageModels().wordLogs[language];
    const std::array<quint8, kNeighbours>& moved = symbolsUnder(key);
    double gain = 0;
    std::u16string read;
    for (const auto& [word, count] : words) {
        read.resize(word.size());
        for (size_t i = 0; i < word.size(); ++i)
            read[i] = word[i] < 26 ? char16_t(moved[word[i]]) : word[i];
        const auto found = wordLogs.find(read);
        if (found == wordLogs.end())
            continue;
        const double byLetters = lettersOfWord(read, language);
        gain += double(count) *
                (std::log((1 - kWordShare) + kWordShare * std::exp(found->second - byLetters)) -
                 std::log(1 - kWordShare));
    }
    return gain;
}

// What the letters outside A–Z of a text add to a reading in each language.
std::array<double, kLanes> otherLetterTerms(const OtherLetterCounts& letters) {
    std::array<double, kLanes> terms{};
    for (const auto& [letter, count] : letters) {
        const std::array<double, kLanes>& logs = otherLetterLogs(letter);
        for (size_t language = 0; language < kLanguages; ++language)
            terms[language] += double(count) * logs[language];
    }
    return terms;
}

// The `count` keys whose best readings score highest, in no particular order; of two alike the
// one numbered first.
std::vector<size_t> leadingKeys(const ReadingScores& scores, size_t count) {
    std::vector<size_t> keys(kKeys);
    std::iota(keys.begin(), keys.end(), size_t(0));
    if (count >= kKeys)
        return keys;
    const std::array<quint8, kKeys> bestOf = bestLanguages(scores);
    std::nth_element(keys.begin(), keys.begin() + ptrdiff_t(count), keys.end(),
                     [&](size_t a, size_t b) {
                         const double x = scores[a][bestOf[a]];
                         const double y = scores[b][bestOf[b]];
                         return x > y || (x == y && a < b);
                     });
    keys.resize(count);
    return keys;
}

// The keys a ranking by triples scores: every key while the text holds few triples, else the best
// by single letters, as many as kTripleTerms allow.
std::vector<size_t> candidateKeys(const LetterScores& byLetters, size_t heldTriples) {
    const size_t affordable =
        std::max(kTripleTerms / std::max<size_t>(heldTriples, 1), kLeastCandidates);
    return leadingKeys(byLetters.scores(), affordable);
}

// Adds the word gain to the best kWordReadings readings. Those lie among the best kWordReadings
// keys by their best language: a key with a reading among them has fewer better readings, and so
// fewer better keys.
void addWordGains(ReadingScores& scores, const WordCounts& words) {
    const size_t read = std::min(kWordReadings, kKeys);
    const std::vector<size_t> keys = leadingKeys(scores, read);
    // Their readings, numbered key by key in their order, and the best of them.
    std::vector<size_t> readings;
    for (size_t i = 0; i < read; ++i) {
        for (size_t language = 0; language < kLanguages; ++language)
            readings.push_back(keys[i] * kLanguages + language);
    }
    const auto scoreOf = [&](size_t reading) {
        return scores[reading / kLanguages][reading % kLanguages];
    };
    std::nth_element(readings.begin(), readings.begin() + ptrdiff_t(read), readings.end(),
                     [&](size_t a, size_t b) {
                         return scoreOf(a) > scoreOf(b) || (scoreOf(a) == scoreOf(b) && a < b);
                     });
    for (size_t i = 0; i < read; ++i) {
        const size_t key = readings[i] / kLanguages;
        const size_t language = readings[i] % kLanguages;
        if (scores[key][language] != kUnscored)
            scores[key][language] += wordGain(key, language, words);
    }
}

}  // namespace

LetterScores::LetterScores() : scores_(kKeys) {
    for (std::array<double, kLanes>& score : scores_) {
        for (size_t language = 0; language < kLanguages; ++language)
            score[language] = leanOf(language);
        for (size_t lane = kLanguages; lane < kLanes; ++lane)
            score[lane] = kUnscored;
    }
}

void LetterScores::follow(const LetterCounts& letters) {
    for (int letter = 0; letter < 26; ++letter) {
        if (const qint64 moved = letters.count(letter) - followed_.count(letter); moved != 0)
            addLetterTerms(scores_, letter, double(moved));
    }
    followed_ = letters;
}

ReadingRanking LetterScores::rank() const {
    std::array<double, kLanes> baseline{};
    baseline.fill(double(followed_.total()) * std::log(1.0 / 26));
    ReadingRanking ranking = rankingOf(scores_, followed_.total(), baseline);
    ranking.byLettersAlone = true;
    return ranking;
}

ReadingRanking rankReadings(const LetterScores& letters, const TripleCounts& triples,
                            const WordCounts& words, const OtherLetterCounts& otherLetters) {
    const std::array<double, kLanes> otherTerms = otherLetterTerms(otherLetters);
    const std::vector<HeldTriple> held = heldTriples(triples);
    const std::vector<size_t> candidates = candidateKeys(letters, held.size());
    ReadingScores scores(kKeys);
    for (std::array<double, kLanes>& score : scores)
        score.fill(kUnscored);
    const LanguageLanes* logs = languageModels().tripleLogs.data();
    for (size_t key : candidates) {
        const std::array<quint8, kNeighbours>& moved = symbolsUnder(key);
        // Two halves of four lanes, the width every vector unit has, so that the sums stay in
        // registers.
        Quarter low{};
        Quarter high{};
        for (const HeldTriple& triple : held) {
            const float* terms =
                logs[TripleCounts::indexOf(moved[triple.before], moved[triple.letter],
                                           moved[triple.after])]
                    .lane.data();
            Quarter half;
            std::memcpy(&half, terms, sizeof(half));
            low += triple.count * half;
            std::memcpy(&half, terms + 4, sizeof(half));
            high += triple.count * half;
        }
        std::array<float, kLanes> sum;
        std::memcpy(sum.data(), &low, sizeof(low));
        std::memcpy(sum.data() + 4, &high, sizeof(high));
        for (size_t language = 0; language < kLanguages; ++language)
            scores[key][language] = sum[language] + otherTerms[language] + leanOf(language);
    }
    if (!words.empty())
        addWordGains(scores, words);
    // The letters outside A–Z tell the language, not whether the key's output reads as one: the
    // best reading is measured against random letters without them.
    std::array<double, kLanes> baseline{};
    const double uniform = uniformLogLikelihood(held);
    for (size_t language = 0; language < kLanguages; ++language)
        baseline[language] = uniform + otherTerms[language];
    return rankingOf(scores, letters.letters().total(), baseline);
}

ReadingRanking rankReadingsByLetters(const LetterCounts& letters) {
    LetterScores scores;
    scores.follow(letters);
    return scores.rank();
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
                  ranking.keyMargin >=
                      (english ? kLikelyKeyMinMargin : kLikelyOtherLanguageMinMargin) &&
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
