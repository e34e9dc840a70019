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

}  // namespace korvane::cipher
