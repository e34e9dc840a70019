// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/likely_key_hint.h"

#include <algorithm>
#include <optional>

#include "cipher/number_text.h"
#include "cipher/transform.h"

namespace korvane::window {

namespace {

// Past this many letters the triples are no longer kept.
constexpr qint64 kTripledLetters = 2 * cipher::kLettersAloneMinLetters;
// Up to this many characters the whole text is read for its words and its letters outside A–Z: a
// line or a few, where they say most; past it the letters and their neighbours say enough.
constexpr qsizetype kWordedCharacters = 1000;
// How much of the text a reading of the submenu shows.
constexpr qsizetype kReadingStart = 24;

// "rotation 13, multiplier 1", with the key's name where it has one.
QString keyText(cipher::Key key) {
    const QString text =
        QStringLiteral("rotation %1, multiplier %2")
            .arg(cipher::FormatInteger(key.rotation), cipher::FormatInteger(key.multiplier));
    const QString name = keyName(key);
    return name.isEmpty() ? text : text + QStringLiteral(" (%1)").arg(name);
}

}  // namespace

SpanCopy copySpanWithEdges(const runtime::MultiLineTextBox& box, qsizetype position,
                           qsizetype length) {
    const qsizetype from = std::max<qsizetype>(position - cipher::kSpanContext, 0);
    const qsizetype to = std::min(position + length + cipher::kSpanContext, box.length());
    return {box.mid(from, to - from), position - from, length};
}

QString languageName(cipher::Language language) {
    switch (language) {
        case cipher::Language::English:
            return QStringLiteral("English");
        case cipher::Language::German:
            return QStringLiteral("German");
        case cipher::Language::French:
            return QStringLiteral("French");
        case cipher::Language::Spanish:
            return QStringLiteral("Spanish");
        case cipher::Language::Italian:
            return QStringLiteral("Italian");
        case cipher::Language::Dutch:
            return QStringLiteral("Dutch");
        case cipher::Language::Portuguese:
            return QStringLiteral("Portuguese");
    }
    return QString();
}

QString keyName(cipher::Key key) {
    if (key == cipher::Key{.rotation = 13, .multiplier = 1})
        return QStringLiteral("ROT13");
    if (key == cipher::Key{.rotation = 25, .multiplier = 25})
        return QStringLiteral("Atbash");
    if (key.multiplier == 1 && key.rotation != 0)
        return QStringLiteral("a plain shift");
    return QString();
}

QString likelyKeySentence(const cipher::Reading& reading) {
    return QStringLiteral("This text reads as %1 with %2.")
        .arg(languageName(reading.language), keyText(reading.key));
}

QString likelyKeyMenuItem(const cipher::Reading& reading) {
    const QString name = keyName(reading.key);
    return QStringLiteral("Read as %1 (rotation %2, multiplier %3%4)")
        .arg(languageName(reading.language), cipher::FormatInteger(reading.key.rotation),
             cipher::FormatInteger(reading.key.multiplier),
             name.isEmpty() ? QString() : QStringLiteral(", ") + name);
}

LikelyKeyHint::LikelyKeyHint(runtime::MultiLineTextBox& box, QObject* parent)
    : QObject(parent), box_(box), description_(box.accessibleDescription()) {}

void LikelyKeyHint::textAboutToChange(const cipher::SpanWithEdges& removed) {
    // The reading is named again once the edit is made, in textChanged().
    counts_.remove(removed.span());
    if (triplesKept_)
        triples_.remove(removed);
}

void LikelyKeyHint::textChanged(const cipher::SpanWithEdges& added) {
    cipher::LetterCounts letters;
    letters.add(added.span());
    followAdded(letters, added);
}

void LikelyKeyHint::textChanged(qsizetype position, qsizetype length,
                                const cipher::LetterCounts& letters) {
    // The span is copied, with its edges, before anything is counted: a copy that cannot get
    // its memory leaves the hint as it was.
    SpanCopy copy;
    cipher::SpanWithEdges added;
    if (keepsTriplesWith(letters)) {
        copy = copySpanWithEdges(box_, position, length);
        added = copy.span();
    }
    followAdded(letters, added);
}

bool LikelyKeyHint::keepsTriplesWith(const cipher::LetterCounts& added) const {
    return triplesKept_ && counts_.total() + added.total() <= kTripledLetters;
}

void LikelyKeyHint::followAdded(const cipher::LetterCounts& letters,
                                const cipher::SpanWithEdges& added) {
    const bool keepsTriples = keepsTriplesWith(letters);
    counts_.add(letters);
    if (triplesKept_ && !keepsTriples) {
        triplesKept_ = false;
        triples_.clear();
    } else if (triplesKept_) {
        triples_.add(added);
    } else if (counts_.total() < cipher::kLettersAloneMinLetters) {
        countTriples(box_.text());
    }
    refresh();
}

void LikelyKeyHint::countTriples(QStringView whole) {
    triples_.clear();
    triples_.add(cipher::spanWithEdges(whole, 0, whole.size()));
    triplesKept_ = true;
}

QString LikelyKeyHint::readingItem(const cipher::Reading& reading) const {
    const QString start = box_.mid(0, std::min(box_.length(), kReadingStart)).simplified();
    QString read = cipher::TransformText(start, reading.key.rotation, reading.key.multiplier)
                       .value_or(QString());
    if (box_.length() > kReadingStart)
        read += u'\u2026';
    return keyText(reading.key) + QStringLiteral(": ") + read;
}

void LikelyKeyHint::refresh() noexcept {
    try {
        letterScores_.follow(counts_);
        // A short text is read whole once more, for its words and its letters outside A–Z.
        const QString worded = box_.length() <= kWordedCharacters ? box_.text() : QString();
        const cipher::ReadingRanking ranking =
            triplesKept_
                ? cipher::rankReadings(letterScores_, triples_, cipher::wholeWordsOf(worded),
                                       cipher::otherLettersOf(worded))
                : letterScores_.rank();
        const std::optional<cipher::Reading> reading = cipher::sureReading(ranking);
        // While nothing is sure, and the text does not already read as it stands, the likeliest
        // readings are offered.
        std::vector<cipher::Reading> readings;
        QStringList items;
        if (!reading && counts_.total() > 0 && !cipher::readsAsItStands(ranking)) {
            for (size_t i = 0; i < ranking.readingCount; ++i) {
                readings.push_back(ranking.readings[i]);
                items.append(readingItem(ranking.readings[i]));
            }
        }
        box_.setSubmenu(QStringLiteral("Possible readings"), items);
        readings_ = std::move(readings);
        if (reading == reading_)
            return;
        QString sentence = reading ? likelyKeySentence(*reading) : QString();
        box_.setToolTip(sentence);
        box_.setAccessibleDescription(description_.isEmpty() || sentence.isEmpty()
                                          ? description_ + sentence
                                          : description_ + u' ' + sentence);
        box_.setMenuItem(reading ? likelyKeyMenuItem(*reading) : QString());
        sentence_ = std::move(sentence);
        reading_ = reading;
    } catch (...) {  // out of memory: the hint keeps its last text
    }
}

}  // namespace korvane::window
