// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <vector>

#include "text/model/position_index.h"

namespace korvane::text {

// The lines an edit touched: it began on line `first`, its removed span reached to line
// `lastRemoved` as the lines were numbered before, and its added span reaches to line
// `lastAdded` as they are numbered after.
struct EditedLines {
    int first = 0;
    int lastRemoved = 0;
    int lastAdded = 0;

    int lineDelta() const { return lastAdded - lastRemoved; }
    friend bool operator==(const EditedLines&, const EditedLines&) = default;
};

// Where each line of a text starts. A line ends at a line break (isLineBreak), which belongs to
// the line it ends; a text of n breaks has n + 1 lines, the last one possibly empty. The starts
// follow the text's edits as a PositionIndex, so an edit shifts only the starts between it and
// the edit before.
class LineIndex {
public:
    LineIndex();

    // Indexes `text` from scratch.
    void build(QStringView text);
    // Makes `text` what an editable view stores, every other kind of line break a line feed
    // (withLineFeeds), and indexes it: a text with none, as most pasted text, is read once for
    // both.
    void buildWithLineFeeds(QString& text);

    // The lines an edit replacing `removed` characters at `position` by `inserted` would touch
    // and the line starts it brings, found before the edit is made, with room made for them:
    // only this step may fail for want of memory, and the lines stay as they are.
    struct Edit {
        qsizetype position = 0;
        qsizetype removed = 0;
        qsizetype inserted = 0;
        int first = 0;
        int lastRemoved = 0;
        std::vector<qsizetype> addedStarts;
    };
    Edit prepare(qsizetype position, qsizetype removed, QStringView inserted);
    // The same for `inserted` characters whose own lines are indexed already, `insertedLines`:
    // they are not read again.
    Edit prepare(qsizetype position, qsizetype removed, qsizetype inserted,
                 const LineIndex& insertedLines);
    // Makes the edit, which then cannot fail, and returns the lines it touched.
    EditedLines apply(const Edit& edit);
    // The memory, in bytes, the starts of the lines of `added` characters take, for lines of 64
    // characters.
    static qint64 memoryToIndex(qsizetype added) { return added / 8; }

    int lineCount() const { return int(starts_.count()); }
    qsizetype lineStart(int line) const { return starts_.at(line); }
    // Where the line's text ends: at its line break, or at the end of the text for the last one.
    qsizetype lineEnd(int line, qsizetype textLength) const {
        return line + 1 < lineCount() ? lineStart(line + 1) - 1 : textLength;
    }
    // The line holding `position`; a line break belongs to the line it ends.
    int lineAt(qsizetype position) const { return int(starts_.countUpTo(position)) - 1; }
    // The number of characters of the longest line, line break excluded, and how many lines are
    // that long. It reads every line, once.
    struct LongestLine {
        qsizetype length = 0;
        int count = 0;
    };
    LongestLine longestLine(qsizetype textLength) const;

private:
    PositionIndex starts_;
};

}  // namespace korvane::text
