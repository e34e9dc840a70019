// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace korvane::text {

// The characters of a text in one allocation with a gap at the place of the last edit, so that
// edits near each other move only the characters between them, not the whole text after them.
// Reading a span that crosses the gap first moves the gap out of it, by the shorter way; the
// whole text is handed out with the gap moved to the end, where it is the string's spare
// capacity. A span or the whole text stays valid until the next span(), text() or edit.
class GapBuffer {
public:
    qsizetype size() const { return buffer_.size() - gapLength_; }
    bool isEmpty() const { return size() == 0; }
    QChar at(qsizetype position) const {
        return buffer_.at(position < gapStart_ ? position : position + gapLength_);
    }
    QChar operator[](qsizetype position) const { return at(position); }

    // The `length` characters at `position`, contiguous.
    QStringView span(qsizetype position, qsizetype length) const;
    // A copy of the `length` characters at `position`; of the whole text, a string sharing the
    // buffer's storage, as QString::mid() gives.
    QString mid(qsizetype position, qsizetype length) const {
        return position == 0 && length == size() ? text() : span(position, length).toString();
    }
    // The whole text. The string shares its storage with the buffer until the next edit.
    const QString& text() const;

    // Takes `text` as the whole text, its storage with it.
    void assign(QString text);
    // Replaces the `removed` characters at `position` by `inserted`.
    void replace(qsizetype position, qsizetype removed, QStringView inserted);

private:
    // Moves the gap to start at `position` of the text, moving the characters in between.
    void moveGap(qsizetype position) const;
    // Makes the gap at least `length` characters long.
    void reserveGap(qsizetype length);

    // The text before the gap, the gap, then the text after it. A string handed out by text()
    // has no gap: its size is the text's, and the gap is its capacity beyond.
    mutable QString buffer_;
    mutable qsizetype gapStart_ = 0;
    mutable qsizetype gapLength_ = 0;
};

}  // namespace korvane::text
