// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace korvane::text {

// A span of a text in UTF-16 positions, end excluded.
struct TextRange {
    qsizetype start = 0;
    qsizetype end = 0;

    qsizetype length() const { return end - start; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// What segmentation and a screen reader read of a plain text, whoever keeps it: its characters
// one by one and by span, the line around a position, and its positions counted in code points.
class TextReader {
public:
    virtual ~TextReader() = default;

    virtual qsizetype length() const = 0;
    // The code unit at `position`, which lies in the text.
    virtual QChar at(qsizetype position) const = 0;
    virtual QString mid(qsizetype position, qsizetype length) const = 0;
    // The line holding `position`, its line break excluded.
    virtual TextRange lineAround(qsizetype position) const = 0;
    // How many code points lie before `position`, and the position before which `offset` of
    // them lie.
    virtual qsizetype codePointOffset(qsizetype position) const = 0;
    virtual qsizetype positionOfCodePoint(qsizetype offset) const = 0;
};

// A text of one line held in a string, such as a single-line field shows.
class LineText final : public TextReader {
public:
    explicit LineText(QString text) : text_(std::move(text)) {}

    const QString& text() const { return text_; }
    qsizetype length() const override { return text_.size(); }
    QChar at(qsizetype position) const override { return text_.at(position); }
    QString mid(qsizetype position, qsizetype length) const override {
        return text_.mid(position, length);
    }
    TextRange lineAround(qsizetype) const override { return {0, text_.size()}; }
    qsizetype codePointOffset(qsizetype position) const override;
    qsizetype positionOfCodePoint(qsizetype offset) const override;

private:
    QString text_;
};

}  // namespace korvane::text
