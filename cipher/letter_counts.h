// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <QtGlobal>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace korvane::cipher {

// How often each letter A–Z occurs in a text once the transform has upper-cased it, so that 'a'
// and 'A' count alike, and so do the other characters whose capital is a letter A–Z (such as the
// dotless 'ı' and the long 's'). A caller keeps the counts of a changing text by its edits: it
// removes the span an edit takes away and adds the span it puts in. Every code unit is counted
// on its own, so a span may begin or end inside a surrogate pair: neither half of a pair, nor any
// character beyond the Basic Multilingual Plane, ever becomes a letter A–Z.
class LetterCounts {
public:
    void add(QStringView text);
    // Adds the counts of another span, such as one the transform counted as it read it.
    void add(const LetterCounts& other);
    // Adds the letters of `n` code units whose alphabet positions were worked out already, one
    // byte each: 0…25 a letter A–Z, any other value none. `positions` is aligned to 32 bytes.
    void addPositions(const quint8* positions, qsizetype n);
    // Takes away the letters of a span that was added before; removing what was never added
    // leaves counts that belong to no text.
    void remove(QStringView text);
    void clear() { counts_ = {}; }

    // The count of the letter at `position` of the alphabet, A = 0.
    qint64 count(int position) const { return counts_[size_t(position)]; }
    qint64 total() const;

    friend bool operator==(const LetterCounts&, const LetterCounts&) = default;

private:
    std::array<qint64, 26> counts_{};
};

// How far what the triple counts take for an edit reaches either side of the span: a triple is a
// letter with the unit before it and the unit after it, so the triples an edit touches are those
// of the units next to the span, which need one more unit each.
inline constexpr qsizetype kSpanContext = 2;

// A span of a text with up to kSpanContext code units before it and after it, where the text has
// them: what the triple counts take for an edit, so that the triples across the span's two edges
// go and come with it.
struct SpanWithEdges {
    // The span with at most kSpanContext units before it and after it.
    QStringView text;
    // Where the span begins in `text`: kSpanContext after the units before it, or fewer when the
    // whole text begins there; `text` ends kSpanContext units after the span, or fewer when the
    // whole text ends there.
    qsizetype start = 0;
    qsizetype length = 0;

    QStringView span() const { return text.sliced(start, length); }
    // Whether `text` begins where the whole text begins, and ends where it ends.
    bool atTextStart() const { return start < kSpanContext; }
    bool atTextEnd() const { return text.size() - start - length < kSpanContext; }
};

// The `length` units at `position` of `text`, with their edges.
SpanWithEdges spanWithEdges(QStringView text, qsizetype position, qsizetype length);

// What stands either side of a letter in a text: a letter A–Z (0…25), a boundary (any unit that
// is no letter once upper-cased, such as a space, a digit or a sign), a letter outside A–Z (an
// accented or other letter, or a combining mark, such as 'Ã', 'ß' or 'Д'), or the edge of the
// text. The edge says nothing of what the text held beyond it: a text may begin or end inside a
// word.
inline constexpr int kBoundary = 26;
inline constexpr int kOtherLetter = 27;
inline constexpr int kTextEdge = 28;
inline constexpr int kNeighbours = 29;

// How often each letter A–Z of a text stands between each pair of neighbours, counted on the
// letters the transform's upper-casing gives, just as LetterCounts counts them. A caller keeps the
// counts of a changing text by its edits: before an edit it removes the span the edit takes away,
// with its edges; after the edit it adds the span the edit put in, with its edges. The triples
// across the old span's edges go with it and those across the new one's come with it; an empty
// span takes away or brings back the triples of the units it lies between.
class TripleCounts {
public:
    void add(const SpanWithEdges& span);
    // Takes away the triples of a span and its edges that were added before; removing what was
    // never added leaves counts that belong to no text.
    void remove(const SpanWithEdges& span);
    void clear() {
        counts_.fill(0);
        rowTotals_.fill(0);
    }

    // The count of the letter at `letter` (A = 0) with `before` ahead of it and `after` behind
    // it, each a letter, kBoundary or kTextEdge.
    qint64 count(int before, int letter, int after) const {
        return counts_[indexOf(before, letter, after)];
    }
    static size_t indexOf(int before, int letter, int after) {
        return (size_t(before) * 26 + size_t(letter)) * kNeighbours + size_t(after);
    }
    // The counts of the letter with `before` ahead of it, whatever is behind it: a reader of the
    // counts skips the many pairs a short text never has.
    qint64 rowTotal(int before, int letter) const {
        return rowTotals_[size_t(before) * 26 + size_t(letter)];
    }
    qint64 total() const;

    friend bool operator==(const TripleCounts&, const TripleCounts&) = default;

private:
    void countSpan(const SpanWithEdges& span, qint64 step);

    std::array<qint64, size_t(kNeighbours) * 26 * kNeighbours> counts_{};
    std::array<qint64, size_t(kNeighbours) * 26> rowTotals_{};
};

// The whole words of a text: runs of letters with a boundary on both sides, not at an edge of the
// text, where a word may be cut short. Each word is its letters A–Z as alphabet positions (A = 0)
// and its letters outside A–Z as the transform upper-cases them, so that a key moves the first
// and leaves the second; counted as often as it occurs.
std::vector<std::pair<std::u16string, qint64>> wholeWordsOf(QStringView text);

// The letters outside A–Z of a text as the transform upper-cases them, in increasing order, each
// with how often it occurs.
std::vector<std::pair<char16_t, qint64>> otherLettersOf(QStringView text);

}  // namespace korvane::cipher
