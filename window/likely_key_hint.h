// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include "cipher/letter_counts.h"
#include "runtime/control.h"

namespace korvane::window {

// Tells the user which key reads the text of a box as English, for a pasted enciphered text
// whose key they do not know: one sentence at the end of the box's tooltip and accessible
// description, behind the description the box already had, and nothing added while the letters
// do not say it for sure. It keeps the letter and letter-pair counts of the box's text by the
// spans its edits remove and add, so an edit costs what it changed, not the length of the text. It
// changes no text, calls no handler and raises no event; it writes the tooltip and description only
// when the sentence changes.
class LikelyKeyHint final : public QObject {
    Q_OBJECT

public:
    LikelyKeyHint(runtime::Control& box, QObject* parent);

    // Before an edit: the span it is about to remove, still in the text, with its edges.
    void textAboutToChange(const cipher::SpanWithEdges& removed);
    // After an edit: the span it added, now in the text, with its edges.
    void textChanged(const cipher::SpanWithEdges& added);
    // Counts the whole text afresh, for a change that came without its spans.
    void recount(QStringView whole);

    // The sentence the box shows now, empty while there is none.
    const QString& sentence() const { return sentence_; }

private:
    void refresh() noexcept;

    runtime::Control& box_;
    QString description_;
    cipher::LetterCounts counts_;
    cipher::PairCounts pairs_;
    QString sentence_;
};

// The sentence for the key the letter and pair counts read as English, or an empty text.
QString likelyKeySentence(const cipher::LetterCounts& counts, const cipher::PairCounts& pairs);

}  // namespace korvane::window
