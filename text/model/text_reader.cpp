// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/text_reader.h"

#include <algorithm>

#include "text/model/surrogate_pairs.h"

namespace korvane::text {

// A line of a field is short: it is walked.
qsizetype LineText::codePointOffset(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, text_.size());
    qsizetype offset = position;
    for (qsizetype i = 1; i < position; ++i) {
        if (insidePair(text_, i))
            --offset;
    }
    return offset;
}

qsizetype LineText::positionOfCodePoint(qsizetype offset) const {
    qsizetype position = 0;
    for (qsizetype counted = 0; counted < offset && position < text_.size(); ++counted)
        position += insidePair(text_, position + 1) ? 2 : 1;
    return position;
}

}  // namespace korvane::text
