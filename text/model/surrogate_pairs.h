// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <algorithm>

namespace korvane::text {

// Whether a boundary between the code units `before` and `after` parts a surrogate pair.
constexpr bool partsPair(QChar before, QChar after) {
    return before.isHighSurrogate() && after.isLowSurrogate();
}

// Whether `position` lies between the two halves of a surrogate pair of `text` (a string, a
// view of one, or a document: anything with at() and length()).
template <typename Text>
bool insidePair(const Text& text, qsizetype position) {
    return position > 0 && position < text.length() &&
           partsPair(text.at(position - 1), text.at(position));
}

// `position` of `text` where no surrogate pair is parted: as it is, or moved off the inside of a
// pair, back to the pair's start or, `forward`, on past its end.
template <typename Text>
qsizetype outsidePair(const Text& text, qsizetype position, bool forward = false) {
    if (!insidePair(text, position))
        return position;
    return forward ? position + 1 : position - 1;
}

// `position` brought within `text` and, inside a surrogate pair, back to the pair's start: a
// place for a caret.
template <typename Text>
qsizetype clampedPosition(const Text& text, qsizetype position) {
    return outsidePair(text, std::clamp<qsizetype>(position, 0, text.length()));
}

}  // namespace korvane::text
