// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/likely_key_hint.h"

#include <optional>

#include "cipher/likely_key.h"
#include "cipher/number_text.h"

namespace korvane::window {

namespace {

// Past this many letters the pairs are no longer kept.
constexpr qint64 kPairedLetters = 2 * cipher::kLettersAloneMinLetters;

}  // namespace

QString likelyKeySentence(cipher::Key key) {
    return QStringLiteral("This text reads as English with rotation %1, multiplier %2.")
        .arg(cipher::FormatInteger(key.rotation), cipher::FormatInteger(key.multiplier));
}

QString likelyKeyMenuItem(cipher::Key key) {
    return QStringLiteral("Read as English (rotation %1, multiplier %2)")
        .arg(cipher::FormatInteger(key.rotation), cipher::FormatInteger(key.multiplier));
}

LikelyKeyHint::LikelyKeyHint(runtime::MultiLineTextBox& box, QObject* parent)
    : QObject(parent), box_(box), description_(box.accessibleDescription()) {}

void LikelyKeyHint::textAboutToChange(const cipher::SpanWithEdges& removed) {
    // The key is named again once the edit is made, in textChanged().
    counts_.remove(removed.span());
    if (pairsKept_)
        pairs_.remove(removed);
}

void LikelyKeyHint::textChanged(const cipher::SpanWithEdges& added) {
    counts_.add(added.span());
    if (pairsKept_ && counts_.total() > kPairedLetters) {
        pairsKept_ = false;
        pairs_.clear();
    } else if (pairsKept_) {
        pairs_.add(added);
    } else if (counts_.total() < cipher::kLettersAloneMinLetters) {
        countPairs(box_.text());
    }
    refresh();
}

void LikelyKeyHint::countPairs(QStringView whole) {
    pairs_.clear();
    pairs_.add(cipher::spanWithEdges(whole, 0, whole.size()));
    pairsKept_ = true;
}

void LikelyKeyHint::refresh() noexcept {
    try {
        const std::optional<cipher::Key> key =
            pairsKept_ ? cipher::likelyKey(counts_, pairs_) : cipher::likelyKeyByLetters(counts_);
        if (key == key_)
            return;
        QString sentence = key ? likelyKeySentence(*key) : QString();
        box_.setToolTip(sentence);
        box_.setAccessibleDescription(description_.isEmpty() || sentence.isEmpty()
                                          ? description_ + sentence
                                          : description_ + u' ' + sentence);
        box_.setMenuItem(key ? likelyKeyMenuItem(*key) : QString());
        sentence_ = std::move(sentence);
        key_ = key;
    } catch (...) {  // out of memory: the hint keeps its last text
    }
}

}  // namespace korvane::window
