// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace korvane::cipher {

class LetterCounts;

// The engine reports overflow as a missing value: the checked 16-bit arithmetic of a letter left
// -32768…32767. What the caller makes of it (the window's run-time error) is the caller's.

// The letter transform of one letter code (65 'A' … 90 'Z') in checked 16-bit arithmetic:
// t = code × multiplier + rotation, then (t rem 26) + 78, less 26 when above 90. No value when
// the product or the sum overflows.
std::optional<qint16> TransformLetter(qint16 code, qint16 rotation, qint16 multiplier) noexcept;

// Upper-cases the text and replaces every letter A–Z by its transform; every other character
// stays where it is. No text at all when any letter of the text overflows. With `letters`, adds
// the letters of the text to it as LetterCounts::add counts them, in the same reading of the text,
// whether or not a letter overflows.
std::optional<QString> TransformText(QStringView text, qint16 rotation, qint16 multiplier,
                                     LetterCounts* letters = nullptr);
// The same, transforming a text the caller gives up in its own storage, so that no second
// copy of a long text is made; a text whose storage another string shares is transformed into
// storage of its own, as by the view above. With `letters`, adds the text's letters to it too.
std::optional<QString> TransformText(QString&& text, qint16 rotation, qint16 multiplier,
                                     LetterCounts* letters = nullptr);
// The same into `out`, which has room for as many code units as the text (it may be the text
// itself). False when a letter overflowed; `out` is written in full either way.
[[nodiscard]] bool TransformText(QStringView text, QChar* out, qint16 rotation, qint16 multiplier);
// The vector lanes the transform takes ASCII text through on x86-64: SSE2's eight code units at a
// time, which every such processor has, or AVX2's sixteen. The transforms above take the widest
// the processor has; each gives the same text.
enum class TransformLanes { Sse2, Avx2, Widest = Avx2 };
// The transform into `out` as above, through these lanes, or SSE2's when the processor has no
// AVX2; with `letters`, adding the text's letters to it as the transform reads them.
[[nodiscard]] bool TransformText(TransformLanes lanes, QStringView text, QChar* out,
                                 qint16 rotation, qint16 multiplier,
                                 LetterCounts* letters = nullptr);
// Whether any letter overflows under this key, so that a text may fail to transform; with most
// keys none does.
bool anyLetterOverflows(qint16 rotation, qint16 multiplier);

// The first letter of the text, as upper-casing makes it ('A'–'Z'), whose transform overflows
// under this key: the letter the transform of the text failed at. None when no letter does.
std::optional<char16_t> firstOverflowingLetter(QStringView text, qint16 rotation,
                                               qint16 multiplier);

}  // namespace korvane::cipher
