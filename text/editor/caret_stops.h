// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QTextLayout>

#include "text/model/text_document.h"

namespace korvane::text {

// Where the caret stops in a document, as Qt's own plain-text editor stops it: by character at
// every grapheme cluster boundary (UAX #29), by word at the starts of words as QTextLayout's
// SkipWords finds them, and a line break is one step whatever the mode. Only the part of the
// line around the caret is laid out: a window that grows until the stop lies well inside it,
// so a step costs what the distance moved does, however long the line.
qsizetype caretStop(const TextDocument& document, const QFont& font, qsizetype position,
                    bool forward, QTextLayout::CursorMode mode);

// The paragraph direction of the line holding `position`, as the Unicode bidi algorithm sets it
// (rules P2 and P3): right-to-left when the line's first strong character outside an isolate is
// right-to-left (Arabic, Hebrew, ...), left-to-right when it is left-to-right or there is none.
// Qt's editors swap what Left and Right, and Ctrl+Left and Ctrl+Right, do in such a line.
Qt::LayoutDirection paragraphDirection(const TextDocument& document, qsizetype position);

// Whether Backspace at the end of the grapheme cluster `cluster` takes only its last code point
// rather than the whole cluster: Pango's backspace_deletes_character, which GTK's editors follow.
// A syllable typed mark by mark (Thai, Devanagari, an Arabic letter with its vowel sign, Hangul
// jamo) is taken back a mark at a time; a letter of the Latin, Greek or Cyrillic script with its
// accents, a kana, a Hangul syllable or an emoji sequence goes whole.
bool backspaceDeletesCharacter(QStringView cluster);

// Where Backspace at `position` deletes back to: the start of the cluster before it, or its last
// code point where backspaceDeletesCharacter() says so; a line break is one step.
qsizetype backspaceStop(const TextDocument& document, const QFont& font, qsizetype position);

// The word, or run of punctuation, that a double click at `position` selects: the word segment
// there (UAX #29), or the word before when the click is just after a word or at the line's end;
// among punctuation and blanks, the run of punctuation under the click or before it, or else the
// word before. Blanks alone are never selected.
TextRange clickedWord(const TextDocument& document, qsizetype position);

}  // namespace korvane::text
