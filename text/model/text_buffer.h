// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

#include "text/model/gap_vector.h"

namespace korvane::text {

// The characters of a text in a gap vector whose storage is a QString, so that a text is taken
// in with its storage (assign()) and the whole text is handed out sharing it (text()). The
// const reads never move the gap: a character, or a copy of a span put together from either
// side of it. A contiguous view of a span, or the whole text, may have to move the gap out of
// the way, so those reads are not const; such a view or the whole text stays valid until the
// next span(), text() or edit.
class TextBuffer {
public:
    TextBuffer();

    qsizetype size() const { return characters_.size(); }
    bool isEmpty() const { return characters_.isEmpty(); }
    QChar at(qsizetype position) const { return characters_[position]; }
    QChar operator[](qsizetype position) const { return at(position); }

    // A copy of the `length` characters at `position`. The gap stays where it is; a copy of the
    // whole text shares the buffer's storage when there is no gap in it.
    QString mid(qsizetype position, qsizetype length) const;
    // Copies the `length` characters at `position` to `out`, needing no memory.
    void copy(qsizetype position, qsizetype length, QChar* out) const {
        characters_.copy(position, length, out);
    }
    // The text before the gap and after it, as they lie: reading them moves nothing.
    QStringView beforeGap() const {
        return QStringView(characters_.beforeGap(), characters_.beforeGapSize());
    }
    QStringView afterGap() const {
        return QStringView(characters_.afterGap(), characters_.afterGapSize());
    }

    // The `length` characters at `position`, contiguous.
    QStringView span(qsizetype position, qsizetype length) {
        return QStringView(characters_.span(position, length), length);
    }
    // The same characters, to be overwritten in place; the string detaches from any copy that
    // shares its storage.
    QChar* writableSpan(qsizetype position, qsizetype length) {
        return characters_.span(position, length);
    }
    // The whole text, with the gap moved to the end. The string shares its storage with the
    // buffer until the next edit.
    const QString& text() { return characters_.compact(); }

    // How many characters more than it removes an edit can add without memory.
    qsizetype room() const { return characters_.gapLength(); }
    // The memory, in bytes, an edit putting `added` characters in place of `removed` needs: none
    // while the gap has room, else the new storage the text moves into, held beside the old one
    // until it has moved.
    qint64 memoryToReplace(qsizetype added, qsizetype removed) const;
    // Makes room for `count` characters more than an edit removes, so that the edit needs no
    // memory; nothing changes when there is none.
    void reserve(qsizetype count) { characters_.reserveGap(count); }
    // Takes `text` as the whole text, its storage with it.
    void assign(QString text) { characters_.assign(std::move(text)); }
    // Replaces the `removed` characters at `position` by `inserted`, which must not lie in this
    // very buffer.
    void replace(qsizetype position, qsizetype removed, QStringView inserted);

private:
    GapVector<QChar, QString> characters_;
};

}  // namespace korvane::text
