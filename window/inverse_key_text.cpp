// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/inverse_key_text.h"

#include <optional>

#include "cipher/inverse_key.h"
#include "cipher/letter_map.h"
#include "cipher/number_text.h"

namespace korvane::window {

using cipher::FormatInteger;
using cipher::InverseKey;
using cipher::inverseOf;
using cipher::Invertibility;
using cipher::Key;
using cipher::makeLetterMap;
using cipher::ReadNumber;
using cipher::ToInt16;

namespace {

QString tooLarge(const QString& box) {
    return QStringLiteral(
               "The %1 box holds a number outside -32768 to 32767, so no text can be "
               "enciphered (Overflow).")
        .arg(box);
}

QString cannotBeUndone(const QString& why) {
    return QStringLiteral("%1, so the text cannot be read back.").arg(why);
}

}  // namespace

QString inverseKeyText(QStringView rotationText, QStringView multiplierText) {
    const std::optional<qint16> rotation = ToInt16(ReadNumber(rotationText));
    if (!rotation)
        return tooLarge(QStringLiteral("rotation"));
    const std::optional<qint16> multiplier = ToInt16(ReadNumber(multiplierText));
    if (!multiplier)
        return tooLarge(QStringLiteral("multiplier"));

    const Key key{.rotation = *rotation, .multiplier = *multiplier};
    const InverseKey inverse = inverseOf(key);
    const QString m = FormatInteger(key.multiplier);
    const QString r = FormatInteger(key.rotation);
    switch (inverse.invertibility) {
        case Invertibility::EvenMultiplier:
            // A multiple of 26 (an empty box counts as 0) leaves the rotation alone to decide,
            // so every letter becomes one character, which a negative rotation makes a sign.
            if (key.multiplier % 26 == 0) {
                const QChar only(makeLetterMap(key.rotation, key.multiplier).letters[0]);
                return cannotBeUndone(
                    QStringLiteral("With multiplier %1 every letter becomes '%2'").arg(m, only));
            }
            return cannotBeUndone(
                QStringLiteral("Multiplier %1 is even: several letters become the same letter")
                    .arg(m));
        case Invertibility::MultipleOf13:
            return cannotBeUndone(
                QStringLiteral("Multiplier %1 is a multiple of 13: several letters become the "
                               "same letter")
                    .arg(m));
        case Invertibility::NotLetters:
            return cannotBeUndone(
                QStringLiteral("With rotation %1 and multiplier %2 some letters become digits "
                               "or signs")
                    .arg(r, m));
        case Invertibility::AllOverflow:
            return QStringLiteral(
                       "With rotation %1 and multiplier %2 every letter overflows, so "
                       "no text with letters is enciphered.")
                .arg(r, m);
        case Invertibility::Invertible:
            break;
    }
    QString text = QStringLiteral("To read the output back, set rotation %1 and multiplier %2.")
                       .arg(FormatInteger(inverse.inverse.rotation),
                            FormatInteger(inverse.inverse.multiplier));
    if (inverse.firstOverflowingLetter != 0) {
        text += QStringLiteral(
                    "\nLetters from %1 to Z overflow with this key: a text holding one "
                    "of them is not enciphered.")
                    .arg(QChar(inverse.firstOverflowingLetter));
    }
    return text;
}

}  // namespace korvane::window
