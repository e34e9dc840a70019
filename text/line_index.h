// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <vector>

namespace korvane::text {

// Where each line of a text starts. A line ends at a line feed or a LINE SEPARATOR (U+2028),
// one character each, which belongs to the line it ends; a text of n breaks has n + 1 lines, the
// last one possibly empty.
class LineIndex {
public:
    LineIndex() : starts_{0} {}

    // Indexes `text` from scratch.
    void build(QStringView text);

    // Brings the index up to date after `removed` characters at `position` were replaced by
    // `inserted` characters; `text` is the text after the edit. Only the inserted span is
    // scanned; the starts of the lines after it are shifted.
    void replace(QStringView text, qsizetype position, qsizetype removed, qsizetype inserted);

    int lineCount() const { return int(starts_.size()); }
    qsizetype lineStart(int line) const { return starts_[std::size_t(line)]; }
    // Where the line's text ends: at its line break, or at the end of the text for the last one.
    qsizetype lineEnd(int line, qsizetype textLength) const {
        return std::size_t(line) + 1 < starts_.size() ? starts_[std::size_t(line) + 1] - 1
                                                      : textLength;
    }
    // The line holding `position`; a line break belongs to the line it ends.
    int lineAt(qsizetype position) const;
    // The number of characters of the longest line, line break excluded.
    qsizetype longestLineLength(qsizetype textLength) const;

    static bool isLineBreak(char16_t unit) { return unit == u'\n' || unit == u'\x2028'; }

private:
    // Appends the start of each line begun in text[from, to).
    static void scan(QStringView text, qsizetype from, qsizetype to,
                     std::vector<qsizetype>& starts);

    std::vector<qsizetype> starts_;
};

}  // namespace korvane::text
