// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window/overflow.h"

namespace korvane::window {

namespace {

constexpr qint32 kSmallest16 = -32768;
constexpr qint32 kLargest16 = 32767;
// What a sentence quotes of a box's text: a pasted text can be of any length.
constexpr qsizetype kLongestQuote = 20;

// A number as the sentences write it, with a minus sign rather than a hyphen.
QString signedNumber(qint32 value) {
    return value < 0 ? QChar(0x2212) + QString::number(-qint64(value)) : QString::number(value);
}

QString range(qint32 smallest, qint32 largest) {
    return signedNumber(smallest) + QChar(0x2026) + signedNumber(largest);
}

QString quoted(QStringView held) {
    const QStringView trimmed = held.trimmed();
    return trimmed.size() > kLongestQuote ? trimmed.first(kLongestQuote).toString() + QChar(0x2026)
                                          : trimmed.toString();
}

}  // namespace

QString numberOutsideRange(QStringView box, QStringView held, qint32 smallest, qint32 largest,
                           QStringView remedy) {
    return QStringLiteral("The %1 holds %2, outside %3; %4.")
        .arg(box, quoted(held), range(smallest, largest), remedy);
}

QString stepOutsideRange(qint16 value, QChar step) {
    const bool up = step == u'&';
    return QStringLiteral(
               "The rotation box holds %1, and %2 would step it past %3, the %4 number "
               "it can take.")
        .arg(signedNumber(value), step, signedNumber(value),
             up ? QStringLiteral("largest") : QStringLiteral("smallest"));
}

QString letterOutsideRange(char16_t letter, cipher::Key key) {
    const qint32 product = qint32(letter) * key.multiplier;
    const bool productFits = product >= kSmallest16 && product <= kLargest16;
    const QString sum =
        productFits ? QStringLiteral(", plus the rotation %1, is %2")
                          .arg(signedNumber(key.rotation), signedNumber(product + key.rotation))
                    : QStringLiteral(" is %1").arg(signedNumber(product));
    return QStringLiteral(
               "The letter %1 (code %2) times the multiplier %3%4, outside %5; the "
               "output box keeps its text.")
        .arg(QChar(letter))
        .arg(int(letter))
        .arg(signedNumber(key.multiplier), sum, range(kSmallest16, kLargest16));
}

}  // namespace korvane::window
