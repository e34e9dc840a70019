// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/incremental_transform.h"

#include <QChar>
#include <algorithm>
#include <utility>

#include "cipher/transform.h"
#include "window/overflow.h"

namespace korvane::window {

using cipher::anyLetterOverflows;
using cipher::firstOverflowingLetter;
using cipher::TransformText;

IncrementalTransform::IncrementalTransform(runtime::MultiLineTextBox& input,
                                           runtime::MultiLineTextBox& output, QObject* parent)
    : QObject(parent), input_(input), output_(output) {
    connect(&input_, &runtime::MultiLineTextBox::Edited, this, &IncrementalTransform::noteEdit);
}

void IncrementalTransform::noteEdit(qsizetype position, qsizetype /*removed*/, qsizetype added) {
    unchangedPrefix_ = std::min(unchangedPrefix_, position);
    unchangedSuffix_ = std::min(unchangedSuffix_, input_.length() - position - added);
}

void IncrementalTransform::write(cipher::Key key) {
    lettersRead_.reset();
    if (writtenKey_ == key && writtenRevision_ == output_.revision()) {
        writeChangedSpan(key);
    } else {
        writeWhole(key);
    }
}

bool IncrementalTransform::isUpToDate(cipher::Key key) const {
    return writtenKey_ == key && writtenRevision_ == output_.revision() &&
           writtenInputRevision_ == input_.revision();
}

void IncrementalTransform::writeWhole(cipher::Key key) {
    writtenKey_.reset();  // until the write below succeeds
    const quint64 before = output_.revision();
    const qsizetype length = input_.length();
    if (output_.length() == length && !anyLetterOverflows(key.rotation, key.multiplier)) {
        // The transform keeps the length, and under this key it cannot fail: the output is
        // rewritten in place, piece by piece, and no copy of either text is made.
        // The input is read a piece at a time into one buffer, made at the first piece, before
        // anything is written: the writer cannot fail part way, which would leave the output
        // half rewritten.
        QString piece;
        output_.overwrite([this, length, key, &piece](qsizetype position, qsizetype wanted,
                                                      QChar* out) {
            if (piece.size() < wanted)
                piece.resize(wanted);
            input_.read(position, wanted, piece.data());
            qsizetype taken = wanted;
            // A pair is upper-cased as one character: its halves stay in one piece.
            if (taken > 1 && position + taken < length && piece[taken - 1].isHighSurrogate())
                --taken;
            // No letter can overflow under this key: the piece always transforms whole.
            const bool whole =
                TransformText(QStringView(piece).first(taken), out, key.rotation, key.multiplier);
            Q_ASSERT(whole);
            return taken;
        });
    } else {
        QString transformed = orOverflow(transformRead(input_.text(), 0, key),
                                         [&] { return overflowIn(0, length, key); });
        if (output_.length() == 0) {
            // An empty box takes the transform's storage as its own: no copy of it is made, so
            // a paste into the window as it starts holds no more copies than any other. The
            // transform moves no line break, so the output's lines are the input's.
            output_.replaceAllLinedAs(std::move(transformed), input_);
        } else {
            output_.setText(transformed);
        }
    }
    written(key, before);
}

void IncrementalTransform::writeChangedSpan(cipher::Key key) {
    const qsizetype length = input_.length();
    qsizetype prefix = std::min(unchangedPrefix_, length);
    qsizetype suffix = std::min(unchangedSuffix_, length - prefix);
    // A surrogate pair is upper-cased as one character: the span takes both halves of a pair
    // at either of its ends.
    if (prefix > 0 && QChar::isHighSurrogate(input_.mid(prefix - 1, 1).front().unicode()))
        --prefix;
    if (suffix > 0 && QChar::isLowSurrogate(input_.mid(length - suffix, 1).front().unicode()))
        --suffix;
    const qsizetype outputLength = output_.length();
    if (prefix + suffix > outputLength) {
        writeWhole(key);  // the output no longer lines up with the input
        return;
    }
    writtenKey_.reset();  // until the write below succeeds
    const quint64 before = output_.revision();
    try {
        const qsizetype changed = length - prefix - suffix;
        QString transformed = orOverflow(transformRead(input_.mid(prefix, changed), prefix, key),
                                         [&] { return overflowIn(prefix, changed, key); });
        if (prefix == 0 && suffix == 0) {
            // The transform of the whole input in place of the whole output: its lines are the
            // input's, as the transform moves no line break.
            output_.replaceAllLinedAs(std::move(transformed), input_);
        } else {
            output_.replaceSpan(prefix, outputLength - prefix - suffix, std::move(transformed));
        }
    } catch (...) {
        // A write refused whole (out of memory, or an overflow) left the output as it was: the
        // transform under this key of the input but for the spans noted since, so the next
        // write still splices only those, such as the input's edit taken back.
        if (output_.revision() == before)
            writtenKey_ = key;
        throw;
    }
    written(key, before);
}

std::optional<QString> IncrementalTransform::transformRead(QString text, qsizetype position,
                                                           cipher::Key key) {
    LettersRead read;
    read.position = position;
    read.length = text.size();
    read.inputRevision = input_.revision();
    std::optional<QString> transformed =
        TransformText(std::move(text), key.rotation, key.multiplier, &read.letters);
    lettersRead_ = read;
    return transformed;
}

QString IncrementalTransform::overflowIn(qsizetype from, qsizetype count, cipher::Key key) const {
    const std::optional<char16_t> letter =
        firstOverflowingLetter(input_.mid(from, count), key.rotation, key.multiplier);
    return letter ? letterOutsideRange(*letter, key) : QString();
}

void IncrementalTransform::written(cipher::Key key, quint64 revisionBefore) {
    writtenRevision_ = output_.revision();
    writtenInputRevision_ = input_.revision();
    // One change is the write itself; a handler of the output's Change that wrote it again
    // leaves a text this object did not make.
    if (writtenRevision_ <= revisionBefore + 1)
        writtenKey_ = key;
    unchangedPrefix_ = unchangedSuffix_ = input_.length();
}

}  // namespace korvane::window
