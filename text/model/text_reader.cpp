// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/text_reader.h"

#include <algorithm>

namespace korvane::text {

// A line of a field is short: it is walked.
qsizetype LineText::codePointOffset(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, text_.size());
    qsizetype offset = position;
    for (qsizetype i = 1; i < position; ++i) {
        if (text_[i].isLowSurrogate() && text_[i - 1].isHighSurrogate())
            --offset;
    }
    return offset;
}

qsizetype LineText::positionOfCodePoint(qsizetype offset) const {
    qsizetype position = 0;
    for (qsizetype counted = 0; counted < offset && position < text_.size(); ++counted) {
        const bool pair = text_[position].isHighSurrogate() && position + 1 < text_.size() &&
                          text_[position + 1].isLowSurrogate();
        position += pair ? 2 : 1;
    }
    return position;
}

}  // namespace korvane::text
