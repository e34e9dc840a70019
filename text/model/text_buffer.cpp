// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/model/text_buffer.h"

namespace korvane::text {
namespace {

// A new gap has room for this many characters beyond the edit, and for a sixty-fourth of the
// text, so that growing it, which moves the text after it, happens seldom while typing and
// costs a constant share of each character inserted.
constexpr qsizetype kMinimumGap = 16 * 1024;
constexpr qsizetype kGrowthDivisor = 64;

}  // namespace

TextBuffer::TextBuffer() : characters_(kMinimumGap, kGrowthDivisor) {}

QString TextBuffer::mid(qsizetype position, qsizetype length) const {
    if (!characters_.hasGap() && position == 0 && length == size())
        return characters_.storage();
    QString copy(length, Qt::Uninitialized);
    characters_.copy(position, length, copy.data());
    return copy;
}

qint64 TextBuffer::memoryToReplace(qsizetype added, qsizetype removed) const {
    if (added - removed <= room())
        return 0;
    return qint64(sizeof(QChar)) * (qint64(size()) + added + size() / kGrowthDivisor);
}

void TextBuffer::replace(qsizetype position, qsizetype removed, QStringView inserted) {
    characters_.replace(position, removed, inserted.data(), inserted.size());
}

}  // namespace korvane::text
