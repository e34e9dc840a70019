// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/letter_counts.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "cipher/upper_case.h"

namespace korvane::cipher {
namespace {

constexpr quint8 kNoLetter = 26;

// For every code unit the alphabet position (A = 0) of its capital, or kNoLetter: the
// transform's own upper-case table, folded to one byte per unit so that it stays in the cache.
const quint8* letterPositions() {
    static const std::unique_ptr<quint8[]> table = [] {
        const char16_t* upper = upperCaseTable();
        auto positions = std::make_unique<quint8[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char16_t capital = upper[c];
            positions[c] = capital >= u'A' && capital <= u'Z' ? quint8(capital - u'A') : kNoLetter;
        }
        return positions;
    }();
    return table.get();
}

// The letters of a text, counted into four tallies taken in turn: successive characters that are
// the same letter then do not wait on one another's increment. A tally of 32-bit counts is
// emptied into the result before it could overflow.
std::array<qint64, 26> tally(QStringView text) {
    const quint8* positions = letterPositions();
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    std::array<qint64, 26> result{};
    constexpr qsizetype kBlock = qsizetype(1) << 30;
    for (qsizetype start = 0; start < n; start += kBlock) {
        const qsizetype end = start + std::min(kBlock, n - start);
        quint32 tallies[4][kNoLetter + 1] = {};
        qsizetype i = start;
        for (; i + 4 <= end; i += 4) {
            ++tallies[0][positions[units[i]]];
            ++tallies[1][positions[units[i + 1]]];
            ++tallies[2][positions[units[i + 2]]];
            ++tallies[3][positions[units[i + 3]]];
        }
        for (; i < end; ++i)
            ++tallies[0][positions[units[i]]];
        for (size_t letter = 0; letter < result.size(); ++letter)
            result[letter] += qint64(tallies[0][letter]) + tallies[1][letter] + tallies[2][letter] +
                              tallies[3][letter];
    }
    return result;
}

// Below this many code units a span's pairs go straight into the counts; above it they are
// tallied first, as the letters are, at the cost of clearing and emptying the tallies.
constexpr qsizetype kShortSpan = 64;

// The pairs of two adjacent units of a long text, with the same four tallies taken in turn as the
// letters: a run of units that are no letter, such as a text in another script, does not wait on
// one increment of the same tally after another. The position of the first unit of a pair picks a
// row of 32, so that kNoLetter's row and column collect the pairs with a unit that is no letter,
// which are never read.
std::array<qint64, 26 * 26> tallyPairs(QStringView text) {
    const quint8* positions = letterPositions();
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    std::array<qint64, 26 * 26> result{};
    constexpr qsizetype kBlock = qsizetype(1) << 30;
    for (qsizetype start = 1; start < n; start += kBlock) {
        const qsizetype end = start + std::min(kBlock, n - start);
        quint32 tallies[4][(kNoLetter + 1) * 32] = {};
        unsigned before = positions[units[start - 1]];
        qsizetype i = start;
        for (; i + 4 <= end; i += 4) {
            const unsigned a = positions[units[i]];
            const unsigned b = positions[units[i + 1]];
            const unsigned c = positions[units[i + 2]];
            const unsigned d = positions[units[i + 3]];
            ++tallies[0][before << 5 | a];
            ++tallies[1][a << 5 | b];
            ++tallies[2][b << 5 | c];
            ++tallies[3][c << 5 | d];
            before = d;
        }
        for (; i < end; ++i) {
            const unsigned letter = positions[units[i]];
            ++tallies[0][before << 5 | letter];
            before = letter;
        }
        for (size_t first = 0; first < 26; ++first) {
            for (size_t second = 0; second < 26; ++second) {
                const size_t at = first << 5 | second;
                result[first * 26 + second] +=
                    qint64(tallies[0][at]) + tallies[1][at] + tallies[2][at] + tallies[3][at];
            }
        }
    }
    return result;
}

// Adds `step` to the count of every pair of adjacent letters of the text.
void countPairs(QStringView text, qint64 step, std::array<qint64, 26 * 26>& counts) {
    if (text.size() > kShortSpan) {
        const std::array<qint64, 26 * 26> counted = tallyPairs(text);
        for (size_t pair = 0; pair < counts.size(); ++pair)
            counts[pair] += step * counted[pair];
        return;
    }
    const quint8* positions = letterPositions();
    for (qsizetype i = 1; i < text.size(); ++i) {
        const quint8 first = positions[text.utf16()[i - 1]];
        const quint8 second = positions[text.utf16()[i]];
        if (first != kNoLetter && second != kNoLetter)
            counts[size_t(first) * 26 + second] += step;
    }
}

}  // namespace

void LetterCounts::add(QStringView text) {
    const std::array<qint64, 26> counted = tally(text);
    for (size_t letter = 0; letter < counts_.size(); ++letter)
        counts_[letter] += counted[letter];
}

void LetterCounts::remove(QStringView text) {
    const std::array<qint64, 26> counted = tally(text);
    for (size_t letter = 0; letter < counts_.size(); ++letter)
        counts_[letter] -= counted[letter];
}

qint64 LetterCounts::total() const {
    return std::accumulate(counts_.begin(), counts_.end(), qint64(0));
}

SpanWithEdges spanWithEdges(QStringView text, qsizetype position, qsizetype length) {
    const qsizetype from = position > 0 ? position - 1 : 0;
    const qsizetype to = std::min(position + length + 1, text.size());
    return {.text = text.sliced(from, to - from), .start = position - from, .length = length};
}

void PairCounts::add(const SpanWithEdges& span) {
    countPairs(span.text, 1, counts_);
}

void PairCounts::remove(const SpanWithEdges& span) {
    countPairs(span.text, -1, counts_);
}

qint64 PairCounts::total() const {
    return std::accumulate(counts_.begin(), counts_.end(), qint64(0));
}

}  // namespace korvane::cipher
