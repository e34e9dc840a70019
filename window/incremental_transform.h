// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <optional>

#include "cipher/inverse_key.h"
#include "cipher/letter_counts.h"
#include "runtime/multi_line_text_box.h"

namespace korvane::window {

// Keeps the output box the transform of the input box at the cost of what changed: it follows
// the input's edits, and when the key is the one the output was last written with, transforms
// again only the span of the input that changed since and splices it into the output. A new
// key, an output written by anyone else, or a recompute that failed since, transforms the whole
// text. Either way the output ends as TransformText of the whole input would make it, and a
// letter that overflows anywhere in the input fails the write with nothing written.
class IncrementalTransform final : public QObject {
    Q_OBJECT

public:
    IncrementalTransform(runtime::MultiLineTextBox& input, runtime::MultiLineTextBox& output,
                         QObject* parent);

    // Writes the transform of the input under the key into the output box, in one write;
    // raises Overflow and writes nothing when some letter of the input overflows.
    void write(cipher::Key key);

    // Whether the output box shows the transform of the input as it is now under the key: the
    // last write was under it, and neither box changed since.
    bool isUpToDate(cipher::Key key) const;

    // The letters of the span of the input that the last write transformed, counted as the
    // transform read it: where the span began, how long it was and the input's revision then.
    struct LettersRead {
        qsizetype position = 0;
        qsizetype length = 0;
        quint64 inputRevision = 0;
        cipher::LetterCounts letters;
    };
    // None when the last write read no span in one piece (it rewrote the output in place from
    // the whole input) or ran out of memory before the span was read.
    const std::optional<LettersRead>& lettersRead() const { return lettersRead_; }

private:
    void noteEdit(qsizetype position, qsizetype removed, qsizetype added);
    void writeWhole(cipher::Key key);
    void writeChangedSpan(cipher::Key key);
    // Notes that the output now shows the input's transform under the key.
    void written(cipher::Key key, quint64 revisionBefore);
    // The transform of the `count` characters of `text`, which begins at `position` of the
    // input, counting their letters into lettersRead(); no text when a letter overflows.
    std::optional<QString> transformRead(QString text, qsizetype position, cipher::Key key);
    // What the report of an overflow says: the first letter of the `count` characters of the
    // input from `from` on that overflows under the key.
    QString overflowIn(qsizetype from, qsizetype count, cipher::Key key) const;

    runtime::MultiLineTextBox& input_;
    runtime::MultiLineTextBox& output_;

    // What the output last showed: the transform under this key of the input as it was, which
    // still holds for the first `unchangedPrefix_` and the last `unchangedSuffix_` characters
    // of the input. No key when the output must be written whole.
    std::optional<cipher::Key> writtenKey_;
    quint64 writtenRevision_ = 0;
    quint64 writtenInputRevision_ = 0;
    qsizetype unchangedPrefix_ = 0;
    qsizetype unchangedSuffix_ = 0;
    std::optional<LettersRead> lettersRead_;
};

}  // namespace korvane::window
