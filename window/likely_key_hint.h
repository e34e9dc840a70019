// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

#include "cipher/letter_counts.h"
#include "cipher/likely_key.h"
#include "runtime/multi_line_text_box.h"

namespace korvane::window {

// Tells the user how to read the text of a box, for a pasted enciphered text whose key they do
// not know: once the letters say for sure which key reads it as which language, one sentence at
// the end of the box's tooltip and accessible description, behind the description the box already
// had, and an item of the box's context menu that sets that key; while they do not, a submenu of
// the three likeliest readings, each with the start of what it reads. It keeps the counts of the
// box's letters, and of each letter with its neighbours, by the spans its edits remove and add,
// so an edit costs what it changed, not the length of the text. It changes no text, calls no
// handler and raises no event; it writes the tooltip and the description only when the reading it
// names changes.
class LikelyKeyHint final : public QObject {
    Q_OBJECT

public:
    LikelyKeyHint(runtime::MultiLineTextBox& box, QObject* parent);

    // Before an edit: the span it is about to remove, still in the text, with its edges.
    void textAboutToChange(const cipher::SpanWithEdges& removed);
    // After an edit: the span it added, now in the text, with its edges.
    void textChanged(const cipher::SpanWithEdges& added);
    // After an edit: the `length` characters it added at `position`, whose letters someone has
    // counted already, such as the transform as it read them. The span is read again only for
    // the letters with their neighbours, which are kept while the text is short.
    void textChanged(qsizetype position, qsizetype length, const cipher::LetterCounts& letters);

    // The sentence the box shows now, empty while there is none, and the reading it names.
    const QString& sentence() const { return sentence_; }
    std::optional<cipher::Reading> reading() const { return reading_; }
    // The readings the box's submenu offers, in its order: none while the hint names one.
    const std::vector<cipher::Reading>& readings() const { return readings_; }

private:
    void refresh() noexcept;
    // Whether the letters with their neighbours are still kept once `added` more letters are in.
    bool keepsTriplesWith(const cipher::LetterCounts& added) const;
    // Follows an edit whose added span, with its edges, is `added` and its letters `letters`;
    // the span is read only while keepsTriplesWith(letters).
    void followAdded(const cipher::LetterCounts& letters, const cipher::SpanWithEdges& added);
    // Counts the triples of the whole text afresh, and keeps them from then on.
    void countTriples(QStringView whole);
    // The submenu's item for a reading: its key and the start of what the text reads as by it.
    QString readingItem(const cipher::Reading& reading) const;

    runtime::MultiLineTextBox& box_;
    QString description_;
    cipher::LetterCounts counts_;
    // The letters with their neighbours, kept while the text is short enough for them to matter:
    // past kTripledLetters letters its single letters say the reading as surely, and a paste of
    // megabytes then costs one count of its letters. Back under kLettersAloneMinLetters letters,
    // the triples are counted again from the whole text.
    cipher::TripleCounts triples_;
    bool triplesKept_ = true;
    // The single-letter scores of every reading, brought up to the counts by the letters each
    // edit changed.
    cipher::LetterScores letterScores_;
    QString sentence_;
    std::optional<cipher::Reading> reading_;
    std::vector<cipher::Reading> readings_;
};

// A copy of the `length` characters at `position` of a box with the characters either side of
// them that the hint's counts need, where the box has them: a copy of just that much.
struct SpanCopy {
    QString around;
    qsizetype start = 0;
    qsizetype length = 0;

    cipher::SpanWithEdges span() const { return cipher::spanWithEdges(around, start, length); }
};
SpanCopy copySpanWithEdges(const runtime::MultiLineTextBox& box, qsizetype position,
                           qsizetype length);

// The language's name as the sentence and the menu give it.
QString languageName(cipher::Language language);
// The name people know a key by, where one applies: "ROT13", "Atbash", "a plain shift"; else
// empty.
QString keyName(cipher::Key key);
// The sentence, and the menu item's caption, for a reading the hint is sure of.
QString likelyKeySentence(const cipher::Reading& reading);
QString likelyKeyMenuItem(const cipher::Reading& reading);

}  // namespace korvane::window
