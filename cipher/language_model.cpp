// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/language_model.h"

#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace korvane::cipher {
namespace {

// A triple's count by its three symbols, the neighbours a letter A–Z, a boundary or a letter
// outside A–Z (28 each).
constexpr size_t kSymbols = 28;

size_t countIndex(size_t before, size_t letter, size_t after) {
    return (before * 26 + letter) * kSymbols + after;
}

// What absolute discounting takes from each count seen, to give it to what was never seen: the
// value usual for text, 0.75.
constexpr double kDiscount = 0.75;
// Half a count added to every symbol's own share, so that a letter a language's text never has
// is unlikely but possible.
constexpr double kAdded = 0.5;
// The share of what follows a letter that is the symbol's own share in the language, whatever
// stands before: a floor under the discounted shares. The counts of every language but English
// are of a handbook, a declaration and (for Portuguese) a desktop's help, formal and technical
// prose that lacks sequences everyday speech has: "EI" is never followed by J in the Portuguese
// counts, so that discounting gave the J of "feijão" e^-17, 14 nats below a letter drawn at random,
// and a line with it read as no language. English counts a novel's everyday prose too, and its
// terms are left as counted. Chosen on translated program messages and fortune cookies in six
// languages under random keys: from 0.02 to 0.05 it names 1 % more of the pieces of 15 letters
// and 1.3 to 1.6 % more of 20 rightly, as many of 12, and random letters of 10 letters less often
// (0.49 % of them, against 0.56 %) and of 12 about as often (0.22 %, against 0.18 %); 0.1 names
// fewer pieces of 12 letters, and random letters of 12 and 15 letters more often. Floored
// English terms would name random letters more often (0.68 % of 10 letters). English pieces of 12
// letters, which now read better as another language a little more often, are named 0.5 to 1 %
// less often.
constexpr double kFollowerFloor = 0.03;

// Each symbol's share of what follows a letter in the language, half a count added to every
// symbol.
std::array<double, kSymbols> symbolShares(const LanguageTable& table) {
    std::array<double, kSymbols> followed{};
    for (size_t i = 0; i < table.tripleCount; ++i)
        followed[table.triples[i].triple % kSymbols] += table.triples[i].count;
    const double all = std::accumulate(followed.begin(), followed.end(), 0.0);
    std::array<double, kSymbols> shares{};
    for (size_t symbol = 0; symbol < kSymbols; ++symbol)
        shares[symbol] = (followed[symbol] + kAdded) / (all + kSymbols * kAdded);
    return shares;
}

// One language's terms, before they are laid side by side with the others'.
struct LanguageModel {
    std::vector<float> tripleLogs;
    std::unordered_map<std::u16string, double> wordLogs;
};

LanguageModel modelOf(const LanguageTable& table, Language language) {
    std::vector<double> counts(kSymbols * 26 * kSymbols, 0.0);
    for (size_t i = 0; i < table.tripleCount; ++i)
        counts[table.triples[i].triple] = table.triples[i].count;

    // How often each pair of symbols is followed by anything, and by how many different symbols;
    // the same for each letter alone; and how often each letter begins a word.
    std::vector<double> pairTotals(kSymbols * 26, 0.0);
    std::vector<double> pairKinds(kSymbols * 26, 0.0);
    std::array<double, 26 * kSymbols> followers{};
    std::array<double, 26> letterTotals{};
    std::array<double, 26> letterKinds{};
    std::array<double, 26> starts{};
    for (size_t before = 0; before < kSymbols; ++before) {
        for (size_t letter = 0; letter < 26; ++letter) {
            for (size_t after = 0; after < kSymbols; ++after) {
                const double count = counts[countIndex(before, letter, after)];
                pairTotals[before * 26 + letter] += count;
                pairKinds[before * 26 + letter] += count > 0;
                followers[letter * kSymbols + after] += count;
                if (before == kBoundary)
                    starts[letter] += count;
            }
        }
    }
    for (size_t letter = 0; letter < 26; ++letter) {
        for (size_t after = 0; after < kSymbols; ++after) {
            letterTotals[letter] += followers[letter * kSymbols + after];
            letterKinds[letter] += followers[letter * kSymbols + after] > 0;
        }
    }

    // Each symbol on its own; after a letter; after a letter and what stood before it: each a
    // discounted share of its own counts and, for what was taken away, the one before it.
    const std::array<double, kSymbols> single = symbolShares(table);
    const auto afterLetter = [&](size_t letter, size_t after) {
        const double total = letterTotals[letter];
        if (total == 0)
            return single[after];
        return std::max(followers[letter * kSymbols + after] - kDiscount, 0.0) / total +
               kDiscount * letterKinds[letter] / total * single[after];
    };
    const double started = std::accumulate(starts.begin(), starts.end(), 0.0);

    const double letterShare = 1 - single[kBoundary] - single[kOtherLetter];
    const double floor = language == Language::English ? 0.0 : kFollowerFloor;
    const auto floored = [&](double share, size_t after) {
        return (1 - floor) * share + floor * single[after];
    };
    LanguageModel model;
    model.tripleLogs.assign(size_t(kNeighbours) * 26 * kNeighbours, 0.0F);
    for (size_t letter = 0; letter < 26; ++letter) {
        const double startLog = std::log((starts[letter] + kAdded) / (started + 26 * kAdded));
        for (size_t before = 0; before < kSymbols; ++before) {
            const double total = pairTotals[before * 26 + letter];
            for (size_t after = 0; after < kSymbols; ++after) {
                double share = afterLetter(letter, after);
                if (total > 0) {
                    share = std::max(counts[countIndex(before, letter, after)] - kDiscount, 0.0) /
                                total +
                            kDiscount * pairKinds[before * 26 + letter] / total * share;
                }
                model.tripleLogs[TripleCounts::indexOf(int(before), int(letter), int(after))] =
                    float(std::log(floored(share, after)) + (before == kBoundary ? startLog : 0.0));
            }
            // Nothing follows at the text's edge: only a word's first letter has a term.
            model.tripleLogs[TripleCounts::indexOf(int(before), int(letter), kTextEdge)] =
                float(before == kBoundary ? startLog : 0.0);
        }
        // Nothing is known before the text's edge: the letter is taken on its own, and what
        // follows it given the letter alone.
        for (size_t after = 0; after < size_t(kNeighbours); ++after) {
            model.tripleLogs[TripleCounts::indexOf(kTextEdge, int(letter), int(after))] = float(
                std::log(single[letter] / letterShare) +
                (after < kSymbols ? std::log(floored(afterLetter(letter, after), after)) : 0.0));
        }
    }

    // "WORD count WORD count …" in UTF-8: each word's letters A–Z become alphabet positions, as
    // wholeWordsOf() gives them, and its other letters stay as they are.
    const QStringList entries = QString::fromUtf8(table.words).split(u' ', Qt::SkipEmptyParts);
    std::vector<std::pair<std::u16string, double>> words;
    double wordTotal = 0;
    for (qsizetype i = 0; i + 1 < entries.size(); i += 2) {
        std::u16string word;
        for (QChar letter : entries[i]) {
            const char16_t unit = letter.unicode();
            word.push_back(unit >= u'A' && unit <= u'Z' ? char16_t(unit - u'A') : unit);
        }
        const double count = entries[i + 1].toDouble();
        words.emplace_back(std::move(word), count);
        wordTotal += count;
    }
    for (auto& [word, count] : words)
        model.wordLogs.emplace(std::move(word), std::log(count / wordTotal));
    return model;
}

// Half a count added to every letter outside A–Z, listed or not, so that one a language's text
// never has is unlikely but possible; and how many such letters share what is added.
constexpr double kOtherLetterAdded = 0.5;

// Each language's log-likelihood of each letter outside A–Z that any language lists, given that a
// letter outside A–Z stands there, and of any other such letter, lane by lane.
void addOtherLetters(LanguageModels& models) {
    std::unordered_map<char16_t, std::array<double, kLanguages>> counts;
    std::array<double, kLanguages> totals{};
    for (size_t language = 0; language < kLanguages; ++language) {
        const LanguageTable& table = kLanguageTables[language];
        for (size_t i = 0; i < table.otherLetterCount; ++i) {
            counts[table.otherLetters[i].letter][language] = table.otherLetters[i].count;
            totals[language] += table.otherLetters[i].count;
        }
    }
    // The listed letters and one more for all the others.
    const double kinds = double(counts.size() + 1);
    for (size_t language = 0; language < kLanguages; ++language) {
        const double share = totals[language] + kinds * kOtherLetterAdded;
        for (const auto& [letter, count] : counts) {
            models.otherLetterLogs[letter][language] =
                std::log((count[language] + kOtherLetterAdded) / share);
        }
        models.unlistedOtherLetterLog[language] = std::log(kOtherLetterAdded / share);
    }
}

}  // namespace

const LetterLogs& languageLetterLogs() {
    static const LetterLogs logs = [] {
        LetterLogs built{};
        for (size_t language = 0; language < kLanguages; ++language) {
            const std::array<double, kSymbols> single = symbolShares(kLanguageTables[language]);
            const double letters = 1 - single[kBoundary] - single[kOtherLetter];
            for (size_t letter = 0; letter < 52; ++letter) {
                const double log = std::log(single[letter % 26] / letters);
                built[letter][language] = std::round(log / kLetterLogUnit) * kLetterLogUnit;
            }
        }
        return built;
    }();
    return logs;
}

const LanguageModels& languageModels() {
    static const LanguageModels models = [] {
        LanguageModels built;
        built.tripleLogs.resize(size_t(kNeighbours) * 26 * kNeighbours);
        for (size_t language = 0; language < kLanguages; ++language) {
            LanguageModel model = modelOf(kLanguageTables[language], Language(language));
            for (size_t triple = 0; triple < built.tripleLogs.size(); ++triple)
                built.tripleLogs[triple].lane[language] = model.tripleLogs[triple];
            built.wordLogs[language] = std::move(model.wordLogs);
        }
        addOtherLetters(built);
        return built;
    }();
    return models;
}

}  // namespace korvane::cipher
