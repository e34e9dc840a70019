// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/letter_counts.h"

#include <QChar>
#include <algorithm>
#include <map>
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

// For every code unit what it is beside a letter: the alphabet position of its capital, kBoundary,
// or kOtherLetter for a letter or combining mark outside A–Z. Each half of a surrogate pair is a
// boundary: the units are read one by one, as the letter counts read them.
const quint8* neighbourSymbols() {
    static const std::unique_ptr<quint8[]> table = [] {
        const quint8* positions = letterPositions();
        const char16_t* upper = upperCaseTable();
        auto symbols = std::make_unique<quint8[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const QChar capital(upper[c]);
            const bool other = !capital.isSurrogate() && (capital.isLetter() || capital.isMark());
            symbols[c] = positions[c] != kNoLetter ? positions[c]
                         : other                   ? quint8(kOtherLetter)
                                                   : quint8(kBoundary);
        }
        return symbols;
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
    const qsizetype from = std::max<qsizetype>(position - kSpanContext, 0);
    const qsizetype to = std::min(position + length + kSpanContext, text.size());
    return {.text = text.sliced(from, to - from), .start = position - from, .length = length};
}

void TripleCounts::add(const SpanWithEdges& span) {
    countSpan(span, 1);
}

void TripleCounts::remove(const SpanWithEdges& span) {
    countSpan(span, -1);
}

// The triples of the letters of the span and of the unit either side of it: every triple whose
// letter or one of whose neighbours lies in the span, or which spans the place an empty span
// lies at.
void TripleCounts::countSpan(const SpanWithEdges& span, qint64 step) {
    const quint8* symbols = neighbourSymbols();
    const char16_t* units = span.text.utf16();
    const qsizetype size = span.text.size();
    const auto neighbour = [&](qsizetype at) {
        if (at < 0 || at >= size)
            return kTextEdge;  // only where the whole text begins or ends, as the span's edges say
        return int(symbols[units[at]]);
    };
    const qsizetype first = std::max<qsizetype>(span.start - 1, 0);
    const qsizetype last = std::min(span.start + span.length, size - 1);
    for (qsizetype at = first; at <= last; ++at) {
        const quint8 letter = symbols[units[at]];
        if (letter < 26) {
            const int before = neighbour(at - 1);
            counts_[indexOf(before, letter, neighbour(at + 1))] += step;
            rowTotals_[size_t(before) * 26 + letter] += step;
        }
    }
}

qint64 TripleCounts::total() const {
    return std::accumulate(counts_.begin(), counts_.end(), qint64(0));
}

std::vector<std::pair<std::u16string, qint64>> wholeWordsOf(QStringView text) {
    const quint8* symbols = neighbourSymbols();
    const char16_t* upper = upperCaseTable();
    std::map<std::u16string, qint64> words;
    std::u16string word;
    bool afterBoundary = false;  // the word under way began after a boundary, not at the edge
    for (QChar unit : text) {
        const quint8 symbol = symbols[unit.unicode()];
        if (symbol < 26) {
            word.push_back(char16_t(symbol));
            continue;
        }
        if (symbol == kOtherLetter) {
            word.push_back(upper[unit.unicode()]);
            continue;
        }
        if (afterBoundary && !word.empty())
            ++words[word];
        word.clear();
        afterBoundary = true;
    }
    return {words.begin(), words.end()};
}

std::vector<std::pair<char16_t, qint64>> otherLettersOf(QStringView text) {
    const quint8* symbols = neighbourSymbols();
    const char16_t* upper = upperCaseTable();
    std::map<char16_t, qint64> letters;
    for (QChar unit : text) {
        if (symbols[unit.unicode()] == kOtherLetter)
            ++letters[upper[unit.unicode()]];
    }
    return {letters.begin(), letters.end()};
}

}  // namespace korvane::cipher
