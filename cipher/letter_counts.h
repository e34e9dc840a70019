// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <QtGlobal>
#include <array>

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

// A span of a text with the code unit just before it and the one just after it, where the text
// has them: what the pair counts take for an edit, so that the pairs across the span's two edges
// go and come with it.
struct SpanWithEdges {
    // The span with at most one unit before it and one after it.
    QStringView text;
    // Where the span begins in `text`: 1 after the unit before it, 0 at the start of the whole
    // text; `text` ends one unit after the span, or with it at the end of the whole text.
    qsizetype start = 0;
    qsizetype length = 0;

    QStringView span() const { return text.sliced(start, length); }
};

// The `length` units at `position` of `text`, with their edges.
SpanWithEdges spanWithEdges(QStringView text, qsizetype position, qsizetype length);

// How often each pair of letters A–Z stands side by side in a text, as two adjacent code units
// that the transform's upper-casing turns into letters A–Z, just as LetterCounts counts them. A
// caller keeps the counts of a changing text by its edits: before an edit it removes the span the
// edit takes away, with the unit either side of it; after the edit it adds the span the edit put
// in, with the unit either side of it. The pairs across the old span's edges go with it and those
// across the new one's come with it; an empty span takes away or brings back the pair of the two
// units it lies between. A pair never has more than two units, so one unit of context is enough.
class PairCounts {
public:
    void add(const SpanWithEdges& span);
    // Takes away the pairs of a span and its edges that were added before; removing what was
    // never added leaves counts that belong to no text.
    void remove(const SpanWithEdges& span);
    void clear() { counts_ = {}; }

    // The count of the letter at `second` (A = 0) following the one at `first`.
    qint64 count(int first, int second) const { return counts_[size_t(first * 26 + second)]; }
    qint64 total() const;

    friend bool operator==(const PairCounts&, const PairCounts&) = default;

private:
    std::array<qint64, 26 * 26> counts_{};
};

}  // namespace korvane::cipher
