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

// The word, or run of blanks or punctuation, that a double click at `position` selects: the
// word segment there (UAX #29), or the word before when the click is just after a word or at
// the line's end.
TextRange clickedWord(const TextDocument& document, qsizetype position);

}  // namespace korvane::text
