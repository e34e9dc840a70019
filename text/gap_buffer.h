// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace korvane::text {

// The characters of a text in one allocation with a gap at the place of the last edit, so that
// edits near each other move only the characters between them, not the whole text after them.
// The const reads never move the gap: a character, or a copy of a span put together from
// either side of it. A contiguous view of a span, or of the whole text, may have to move the gap
// out of the way, so those reads are not const; the whole text is handed out with the gap moved
// to the end, where it is the string's spare capacity. Such a view or the whole text stays valid
// until the next span(), text() or edit.
class GapBuffer {
public:
    qsizetype size() const { return buffer_.size() - gapLength_; }
    bool isEmpty() const { return size() == 0; }
    QChar at(qsizetype position) const {
        return buffer_.at(position < gapStart_ ? position : position + gapLength_);
    }
    QChar operator[](qsizetype position) const { return at(position); }

    // A copy of the `length` characters at `position`. The gap stays where it is; a copy of the
    // whole text shares the buffer's storage when there is no gap in it.
    QString mid(qsizetype position, qsizetype length) const;

    // The text before the gap and after it, as they lie: reading them moves nothing.
    QStringView beforeGap() const { return QStringView(buffer_.constData(), gapStart_); }
    QStringView afterGap() const {
        return QStringView(buffer_.constData() + gapStart_ + gapLength_,
                           buffer_.size() - gapStart_ - gapLength_);
    }

    // The `length` characters at `position`, contiguous: the gap moves out of them, by the
    // shorter way, if it lies inside.
    QStringView span(qsizetype position, qsizetype length);
    // The same characters, to be overwritten in place; the string detaches from any copy that
    // shares its storage.
    QChar* writableSpan(qsizetype position, qsizetype length);
    // The whole text, with the gap moved to the end. The string shares its storage with the
    // buffer until the next edit.
    const QString& text();

    // Takes `text` as the whole text, its storage with it.
    void assign(QString text);
    // Replaces the `removed` characters at `position` by `inserted`.
    void replace(qsizetype position, qsizetype removed, QStringView inserted);

private:
    // Moves the gap to start at `position` of the text, moving the characters in between.
    void moveGap(qsizetype position);
    // Makes the gap at least `length` characters long.
    void reserveGap(qsizetype length);

    // The text before the gap, the gap, then the text after it. A string handed out by text()
    // has no gap: its size is the text's, and the gap is its capacity beyond.
    QString buffer_;
    qsizetype gapStart_ = 0;
    qsizetype gapLength_ = 0;
};

}  // namespace korvane::text
