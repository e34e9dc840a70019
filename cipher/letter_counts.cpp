// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/letter_counts.h"

#include <QChar>
#include <algorithm>
#include <map>
#include <memory>
#include <numeric>
#include <utility>

#include "cipher/upper_case.h"
#include "cipher/vector_lanes.h"

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

// The alphabet position of an ASCII unit's capital, or kNoLetter.
constexpr quint8 asciiPosition(char16_t unit) {
    const char16_t folded = unit | 0x20;  // 'A'…'Z' to 'a'…'z'
    return unit < 0x80 && folded >= u'a' && folded <= u'z' ? quint8(folded - u'a') : kNoLetter;
}

// The positions of the 128 ASCII units: a text of ASCII alone is counted without the table of
// every code unit, which takes building.
constexpr std::array<quint8, 128> kAsciiPositions = [] {
    std::array<quint8, 128> positions{};
    for (char16_t unit = 0; unit < 128; ++unit)
        positions[unit] = asciiPosition(unit);
    return positions;
}();

// The table to read `n` units by: `ascii`, of the 128 ASCII units, for units of ASCII alone, else
// the table of every code unit that `whole` builds the first time a text needs it.
const quint8* tableFor(const char16_t* units, qsizetype n, const quint8* ascii,
                       const quint8* (*whole)()) {
    const bool allAscii = std::all_of(units, units + n, [](char16_t unit) { return unit < 0x80; });
    return allAscii ? ascii : whole();
}

const quint8* positionsFor(const char16_t* units, qsizetype n) {
    return tableFor(units, n, kAsciiPositions.data(), letterPositions);
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

// What each ASCII unit is beside a letter: ASCII holds no letter outside A–Z, so that a text of
// ASCII alone is read without the table of every code unit, which takes building.
constexpr std::array<quint8, 128> kAsciiSymbols = [] {
    std::array<quint8, 128> symbols{};
    for (char16_t unit = 0; unit < 128; ++unit)
        symbols[unit] = asciiPosition(unit) != kNoLetter ? asciiPosition(unit) : quint8(kBoundary);
    return symbols;
}();

const quint8* symbolsFor(const char16_t* units, qsizetype n) {
    return tableFor(units, n, kAsciiSymbols.data(), neighbourSymbols);
}

// Adds the letters of `n` units to `result`, one unit at a time, into four tallies taken in turn:
// successive characters that are the same letter then do not wait on one another's increment. A
// tally of 32-bit counts is emptied into the result before it could overflow.
void tallyUnits(const char16_t* units, qsizetype n, std::array<qint64, 26>& result) {
    const quint8* positions = positionsFor(units, n);
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
}

#if defined(__SSE2__)

// How many units AVX2's registers take at a time, as 32 bytes.
constexpr qsizetype kStep = 32;
// A block of steps whose counts, one byte a lane, cannot overflow: 255 steps.
constexpr qsizetype kBlockSteps = 255;

// Writes the alphabet positions of a block of ASCII units, one byte each, to `positions`: they
// are worked out once, and each group of letters below reads them from the cache.
KORVANE_AVX2 void stagePositions(const char16_t* units, qsizetype steps, quint8* positions) {
    for (qsizetype step = 0; step < steps; ++step)
        _mm256_store_si256(reinterpret_cast<__m256i*>(positions + step * kStep),
                           alphabetPositions(packAsciiUnits(units + step * kStep)));
}

// The staged positions of one step.
KORVANE_AVX2 inline __m256i stagedStep(const quint8* positions, qsizetype step) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(positions + step * kStep));
}

// Counts the letters kFirst + k of a block's staged positions into `result`: a lane of byte
// counts for each letter adds the all-ones (minus one) its compare with the positions gives, two
// steps at a time, and is negated at the end. Nine letters at a time keep their counts in
// registers beside the two steps' positions; the letters compared with are read from memory, as
// there are not registers enough for them too, so that three passes cover the alphabet.
template <int kFirst, int... k>
KORVANE_AVX2 void tallyLetterLanes(const quint8* positions, qsizetype steps,
                                   std::array<qint64, 26>& result,
                                   std::integer_sequence<int, k...>) {
    __m256i negatedCounts[] = {((void)k, _mm256_setzero_si256())...};
    qsizetype step = 0;
    for (; step + 2 <= steps; step += 2) {
        const __m256i first = stagedStep(positions, step);
        const __m256i second = stagedStep(positions, step + 1);
        ((negatedCounts[k] = _mm256_add_epi8(
              _mm256_add_epi8(_mm256_cmpeq_epi8(first, _mm256_set1_epi8(char(kFirst + k))),
                              _mm256_cmpeq_epi8(second, _mm256_set1_epi8(char(kFirst + k)))),
              negatedCounts[k])),
         ...);
    }
    if (step < steps) {
        const __m256i last = stagedStep(positions, step);
        ((negatedCounts[k] = _mm256_add_epi8(
              _mm256_cmpeq_epi8(last, _mm256_set1_epi8(char(kFirst + k))), negatedCounts[k])),
         ...);
    }
    for (size_t letter = 0; letter < sizeof...(k); ++letter) {
        // The byte counts summed in fours of eight, then the four sums.
        const __m256i counts = _mm256_sub_epi8(_mm256_setzero_si256(), negatedCounts[letter]);
        const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
        const __m128i half =
            _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
        result[kFirst + letter] += _mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1);
    }
}

// Counts the letters of `steps` steps of staged positions, at most kBlockSteps, into `result`.
KORVANE_AVX2 void tallyPositionSteps(const quint8* positions, qsizetype steps,
                                     std::array<qint64, 26>& result) {
    tallyLetterLanes<0>(positions, steps, result, std::make_integer_sequence<int, 9>());
    tallyLetterLanes<9>(positions, steps, result, std::make_integer_sequence<int, 9>());
    tallyLetterLanes<18>(positions, steps, result, std::make_integer_sequence<int, 8>());
}

// Counts the letters of whole steps of staged positions into `result`; returns how many
// positions it counted.
KORVANE_AVX2 qsizetype tallyPositionsAvx2(const quint8* positions, qsizetype n,
                                          std::array<qint64, 26>& result) {
    qsizetype i = 0;
    for (; n - i >= kStep;) {
        const qsizetype steps = std::min(kBlockSteps, (n - i) / kStep);
        tallyPositionSteps(positions + i, steps, result);
        i += steps * kStep;
    }
    _mm256_zeroupper();  // the scalar code that follows may use SSE2
    return i;
}

// Whether the units of a block are ASCII alone.
KORVANE_AVX2 bool isAsciiBlock(const char16_t* units, qsizetype steps) {
    __m256i any = _mm256_setzero_si256();
    for (qsizetype k = 0; k < steps * kStep; k += 16)
        any = _mm256_or_si256(any, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(units + k)));
    return _mm256_testz_si256(any, _mm256_set1_epi16(qint16(0xFF80)));
}

// Counts whole blocks of steps into `result`, blocks of ASCII in AVX2's lanes and any other one
// unit at a time; returns how many units it counted.
KORVANE_AVX2 qsizetype tallyBlocksAvx2(const char16_t* units, qsizetype n,
                                       std::array<qint64, 26>& result) {
    qsizetype i = 0;
    for (; n - i >= kStep;) {
        const qsizetype steps = std::min(kBlockSteps, (n - i) / kStep);
        if (isAsciiBlock(units + i, steps)) {
            alignas(32) quint8 positions[kBlockSteps * kStep];
            stagePositions(units + i, steps, positions);
            tallyPositionSteps(positions, steps, result);
        } else {
            _mm256_zeroupper();  // the scalar code that follows may use SSE2
            tallyUnits(units + i, steps * kStep, result);
        }
        i += steps * kStep;
    }
    return i;
}

#endif

// The letters of a text: in AVX2's lanes where the processor has them, the rest one at a time.
std::array<qint64, 26> tally(QStringView text) {
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    std::array<qint64, 26> result{};
    qsizetype i = 0;
#if defined(__SSE2__)
    if (hasAvx2())
        i = tallyBlocksAvx2(units, n, result);
#endif
    tallyUnits(units + i, n - i, result);
    return result;
}

}  // namespace

void LetterCounts::add(QStringView text) {
    const std::array<qint64, 26> counted = tally(text);
    for (size_t letter = 0; letter < counts_.size(); ++letter)
        counts_[letter] += counted[letter];
}

void LetterCounts::addPositions(const quint8* positions, qsizetype n) {
    qsizetype i = 0;
#if defined(__SSE2__)
    if (hasAvx2())
        i = tallyPositionsAvx2(positions, n, counts_);
#endif
    for (; i < n; ++i) {
        if (positions[i] < kNoLetter)
            ++counts_[positions[i]];
    }
}

void LetterCounts::add(const LetterCounts& other) {
    for (size_t letter = 0; letter < counts_.size(); ++letter)
        counts_[letter] += other.counts_[letter];
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
    const char16_t* units = span.text.utf16();
    const qsizetype size = span.text.size();
    const quint8* symbols = symbolsFor(units, size);
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
    const quint8* symbols = symbolsFor(text.utf16(), text.size());
    UnitCapitals upper;
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
            word.push_back(upper.of(unit.unicode()));
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
    const quint8* symbols = symbolsFor(text.utf16(), text.size());
    UnitCapitals upper;
    std::map<char16_t, qint64> letters;
    for (QChar unit : text) {
        if (symbols[unit.unicode()] == kOtherLetter)
            ++letters[upper.of(unit.unicode())];
    }
    return {letters.begin(), letters.end()};
}

}  // namespace korvane::cipher
