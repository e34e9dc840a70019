// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/gap_buffer.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace korvane::text {
namespace {

// A new gap has room for this many characters beyond the edit, and for a sixty-fourth of the
// text, so that growing it, which moves the text after it, happens seldom while typing and
// costs a constant share of each character inserted.
constexpr qsizetype kMinimumGap = 16 * 1024;

}  // namespace

void GapBuffer::moveGap(qsizetype position) {
    if (position == gapStart_)
        return;
    if (gapLength_ == 0) {
        gapStart_ = position;
        return;
    }
    QChar* data = buffer_.data();
    if (position < gapStart_) {
        // The characters between the place and the gap go to the gap's far end.
        const qsizetype count = gapStart_ - position;
        std::memmove(data + position + gapLength_, data + position, count * sizeof(QChar));
    } else {
        // The characters after the gap, up to the place, go to the gap's near end.
        const qsizetype count = position - gapStart_;
        std::memmove(data + gapStart_, data + gapStart_ + gapLength_, count * sizeof(QChar));
    }
    gapStart_ = position;
}

void GapBuffer::reserveGap(qsizetype length) {
    if (gapLength_ >= length)
        return;
    const qsizetype textLength = size();
    const qsizetype tail = buffer_.size() - gapStart_ - gapLength_;
    const qsizetype total = textLength + length + std::max(kMinimumGap, textLength / 64);
    // Reserving the exact size first keeps Qt from doubling a string of many megabytes.
    buffer_.reserve(total);
    buffer_.resize(total);
    QChar* data = buffer_.data();
    const qsizetype oldTailStart = gapStart_ + gapLength_;
    gapLength_ = total - textLength;
    std::memmove(data + gapStart_ + gapLength_, data + oldTailStart, tail * sizeof(QChar));
}

QString GapBuffer::mid(qsizetype position, qsizetype length) const {
    if (gapLength_ == 0)
        return position == 0 && length == buffer_.size() ? buffer_ : buffer_.mid(position, length);
    const QChar* data = buffer_.constData();
    if (position + length <= gapStart_)
        return QString(data + position, length);
    if (position >= gapStart_)
        return QString(data + position + gapLength_, length);
    // The span lies across the gap: the part before it, then the part after it.
    QString copy(length, Qt::Uninitialized);
    const qsizetype before = gapStart_ - position;
    std::memcpy(copy.data(), data + position, before * sizeof(QChar));
    std::memcpy(copy.data() + before, data + gapStart_ + gapLength_,
                (length - before) * sizeof(QChar));
    return copy;
}

QStringView GapBuffer::span(qsizetype position, qsizetype length) {
    if (gapLength_ > 0 && position < gapStart_ && position + length > gapStart_) {
        if (gapStart_ - position <= position + length - gapStart_)
            moveGap(position);
        else
            moveGap(position + length);
    }
    const qsizetype at = position < gapStart_ ? position : position + gapLength_;
    return QStringView(buffer_.constData() + at, length);
}

QChar* GapBuffer::writableSpan(qsizetype position, qsizetype length) {
    span(position, length);
    return buffer_.data() + (position < gapStart_ ? position : position + gapLength_);
}

const QString& GapBuffer::text() {
    moveGap(size());
    if (gapLength_ > 0) {
        // Shrinking keeps the allocation: the gap becomes the string's spare capacity.
        buffer_.resize(gapStart_);
        gapLength_ = 0;
    }
    return buffer_;
}

void GapBuffer::assign(QString text) {
    buffer_ = std::move(text);
    gapStart_ = buffer_.size();
    gapLength_ = 0;
}

void GapBuffer::replace(qsizetype position, qsizetype removed, QStringView inserted) {
    // Characters of this very buffer would move under the copy.
    const auto* begin = buffer_.constData();
    if (!inserted.isEmpty() && !std::less<const QChar*>()(inserted.data(), begin) &&
        std::less<const QChar*>()(inserted.data(), begin + buffer_.size())) {
        const QString copy = inserted.toString();
        replace(position, removed, copy);
        return;
    }
    // The gap comes to the removed characters by the nearer of their ends, then takes them in.
    const qsizetype removedEnd = position + removed;
    if (gapStart_ > removedEnd)
        moveGap(removedEnd);
    else if (gapStart_ < position)
        moveGap(position);
    // The gap now starts within [position, removedEnd]: what lies either side of it up to those
    // ends is removed by widening it.
    gapLength_ += removed;
    gapStart_ = position;
    if (inserted.isEmpty())
        return;  // an empty view may have no characters to point at
    reserveGap(inserted.size());
    std::memcpy(buffer_.data() + gapStart_, inserted.data(), inserted.size() * sizeof(QChar));
    gapStart_ += inserted.size();
    gapLength_ -= inserted.size();
}

}  // namespace korvane::text
