// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace korvane {

// The letter transform of one letter code (65 'A' … 90 'Z') in checked 16-bit arithmetic:
// t = code × multiplier + rotation, then (t rem 26) + 78, less 26 when above 90. Raises Overflow.
qint16 TransformLetter(qint16 code, qint16 rotation, qint16 multiplier);

// The same, with no value instead of the Overflow error.
std::optional<qint16> tryTransformLetter(qint16 code, qint16 rotation, qint16 multiplier) noexcept;

// Upper-cases the text and replaces every letter A–Z by its transform; every other character
// stays where it is. Raises Overflow when any letter of the text overflows, and then yields
// nothing at all.
QString TransformText(QStringView text, qint16 rotation, qint16 multiplier);
// The same, transforming a text the caller gives up in its own storage, so that no second
// copy of a long text is made.
QString TransformText(QString&& text, qint16 rotation, qint16 multiplier);
// The same into `out`, which has room for as many code units as the text (it may be the text
// itself). Overflow is raised after `out` was written in full.
void TransformText(QStringView text, QChar* out, qint16 rotation, qint16 multiplier);
// Whether any letter overflows under this key, so that a text may raise Overflow; with most
// keys none does.
bool anyLetterOverflows(qint16 rotation, qint16 multiplier);

}  // namespace korvane
