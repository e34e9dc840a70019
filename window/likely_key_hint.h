// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <optional>

#include "cipher/inverse_key.h"
#include "cipher/letter_counts.h"
#include "runtime/multi_line_text_box.h"

namespace korvane::window {

// Tells the user which key reads the text of a box as English, for a pasted enciphered text
// whose key they do not know: one sentence at the end of the box's tooltip and accessible
// description, behind the description the box already had, and an item of the box's context
// menu that sets that key; nothing while the letters do not say it for sure. It keeps the letter
// and letter-pair counts of the box's text by the spans its edits remove and add, so an edit costs
// what it changed, not the length of the text. It changes no text, calls no handler and raises no
// event; it writes the tooltip, the description and the menu item only when the key it names
// changes.
class LikelyKeyHint final : public QObject {
    Q_OBJECT

public:
    LikelyKeyHint(runtime::MultiLineTextBox& box, QObject* parent);

    // Before an edit: the span it is about to remove, still in the text, with its edges.
    void textAboutToChange(const cipher::SpanWithEdges& removed);
    // After an edit: the span it added, now in the text, with its edges.
    void textChanged(const cipher::SpanWithEdges& added);

    // The sentence the box shows now, empty while there is none, and the key it names.
    const QString& sentence() const { return sentence_; }
    std::optional<cipher::Key> key() const { return key_; }

private:
    void refresh() noexcept;
    // Counts the pairs of the whole text afresh, and keeps them from then on.
    void countPairs(QStringView whole);

    runtime::MultiLineTextBox& box_;
    QString description_;
    cipher::LetterCounts counts_;
    // The letter pairs, kept while the text is short enough for them to matter: past
    // kPairedLetters letters its single letters say the key as surely, and a paste of megabytes
    // then costs one count of its letters. Back under kLettersAloneMinLetters letters, the pairs
    // are counted again from the whole text.
    cipher::PairCounts pairs_;
    bool pairsKept_ = true;
    QString sentence_;
    std::optional<cipher::Key> key_;
};

// The sentence, and the menu item's caption, for a key that reads the text as English.
QString likelyKeySentence(cipher::Key key);
QString likelyKeyMenuItem(cipher::Key key);

}  // namespace korvane::window
