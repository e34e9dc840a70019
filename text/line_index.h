// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <vector>

#include "text/gap_vector.h"

namespace korvane::text {

// Where each line of a text starts. A line ends at a line feed or a LINE SEPARATOR (U+2028),
// one character each, which belongs to the line it ends; a text of n breaks has n + 1 lines, the
// last one possibly empty.
//
// An edit changes the starts of every line after it. Rather than shifting them all, the index
// keeps that shift pending for the lines after the step line: their stored starts lack the step
// delta, which is added when a start is read. The next edit moves the step to its own line,
// applying the delta to the lines it passes, so edits near each other shift only the few starts
// between them. The starts are kept in a gap vector, so a line break typed near the last edit
// moves only the starts between the two as well.
class LineIndex {
public:
    LineIndex();

    // Indexes `text` from scratch.
    void build(QStringView text);

    // Brings the index up to date after `removed` characters at `position` were replaced by
    // `inserted` characters; `text` is the text after the edit, of which only the inserted span
    // is read (the text up to its end must be there).
    void replace(QStringView text, qsizetype position, qsizetype removed, qsizetype inserted);

    int lineCount() const { return int(starts_.size()); }
    qsizetype lineStart(int line) const {
        return starts_[line] + (line > stepLine_ ? stepDelta_ : 0);
    }
    // Where the line's text ends: at its line break, or at the end of the text for the last one.
    qsizetype lineEnd(int line, qsizetype textLength) const {
        return line + 1 < lineCount() ? lineStart(line + 1) - 1 : textLength;
    }
    // The line holding `position`; a line break belongs to the line it ends.
    int lineAt(qsizetype position) const;
    // The number of characters of the longest line, line break excluded. It reads every line.
    qsizetype longestLineLength(qsizetype textLength) const;

    static bool isLineBreak(char16_t unit) { return unit == u'\n' || unit == u'\x2028'; }

private:
    // Appends the start of each line begun in text[from, to).
    static void scan(QStringView text, qsizetype from, qsizetype to,
                     std::vector<qsizetype>& starts);
    // Puts the step at `line`, so that the starts of lines up to it are stored as they are.
    void moveStep(int line);

    GapVector<qsizetype> starts_;
    // The starts of the lines after this one are stored `stepDelta_` less than they are.
    int stepLine_ = 0;
    qsizetype stepDelta_ = 0;
    // The starts found in an inserted span, kept to spare an allocation per edit.
    std::vector<qsizetype> added_;
};

}  // namespace korvane::text
