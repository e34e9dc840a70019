// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "random_text.h"

#include <array>

namespace korvane::testing {
namespace {

// Characters whose case mapping, width or direction tends to catch text handling out.
constexpr std::array<char16_t, 40> kTrickyUnits{
    u'\u00df', u'\u0131', u'\u017f', u'\u00b5', u'\u00ff', u'\u01c5', u'\u0130', u'\u1e9e',
    u'\u03c2', u'\u0390', u'\u0587', u'\u10d0', u'\uab70', u'\u13f8', u'\uff41', u'\uff3a',
    u'\u212a', u'\u2126', u'\ufb00', u'\u0301', u'\u0308', u'\u200d', u'\u200f', u'\u202e',
    u'\u05d0', u'\u0627', u'\ufeff', u'\u2028', u'\u2029', u'\ufdd0', u'\ufdd1', u'\ufffc',
    u'\ufffd', u'\ufffe', u'\uffff', u'\u00a0', u'\u3000', u'\u0000', u'\u007f', u'\u0085'};

// Supplementary-plane characters: lower-case Deseret, Osage and Adlam letters (their capitals
// stay in the same plane), an emoji, a CJK extension ideograph, the last code point.
constexpr std::array<char32_t, 7> kSupplementary{U'\U00010428', U'\U000104d8', U'\U0001e922',
                                                 U'\U0001f600', U'\U00020000', U'\U0001d400',
                                                 U'\U0010ffff'};

constexpr std::array<const char*, 34> kNumbers{
    "0",    "1",     "3",     "9",      "13",     "25",    "26",    "27",     "-1",
    "-3",   "2.5",   "3.5",   "  5",    "1 2",    "364",   "365",   "504",    "505",
    "-505", "32767", "32768", "-32768", "-32769", "40000", "99999", "999999", "1234567",
    "1e3",  "9e99",  "1e308", "1e400",  "-1e400", "abc",   ".5"};

}  // namespace

QChar RandomText::typedCharacter() {
    switch (below(8)) {
        case 0:
            return oneIn(2) ? QChar(u'&') : QChar(u'(');
        case 1:
        case 2:
            return QChar(char16_t(u'a' + below(26)));
        case 3:
            return QChar(char16_t(u'A' + below(26)));
        case 4:
            return QChar(char16_t(u' ' + below(95)));  // printable ASCII
        case 5: {
            // A printable character from the tricky list (control codes cannot be typed).
            QChar c;
            do {
                c = QChar(kTrickyUnits[below(int(kTrickyUnits.size()))]);
            } while (!c.isPrint());
            return c;
        }
        default: {
            QChar c;
            do {
                c = QChar(char16_t(0xa0 + below(0x3000 - 0xa0)));
            } while (!c.isPrint());
            return c;
        }
    }
}

QChar RandomText::anyUnit() {
    return QChar(char16_t(below(0x10000)));
}

QString RandomText::pastedText(qsizetype maxLength) {
    const qsizetype length = below(int(maxLength) + 1);
    QString text;
    text.reserve(length + 1);
    while (text.size() < length) {
        switch (below(12)) {
            case 0:
                text += QChar(char16_t(u'A' + below(26)));
                break;
            case 1:
            case 2:
                text += QChar(char16_t(u'a' + below(26)));
                break;
            case 3:
                text += QChar(char16_t(u' ' + below(95)));
                break;
            case 4: {
                static constexpr std::array<const char16_t*, 6> kBreaks{u"\n", u"\r",   u"\r\n",
                                                                        u"\t", u"\n\n", u"\r\r"};
                text += QString::fromUtf16(kBreaks[below(int(kBreaks.size()))]);
                break;
            }
            case 5:
                text += QChar(char16_t(below(0x20)));  // NUL and the other control codes
                break;
            case 6:
            case 7:
                text += QChar(kTrickyUnits[below(int(kTrickyUnits.size()))]);
                break;
            case 8: {
                const char32_t code = kSupplementary[below(int(kSupplementary.size()))];
                text += QChar(QChar::highSurrogate(code));
                text += QChar(QChar::lowSurrogate(code));
                break;
            }
            case 9:
                // A lone half of a surrogate pair.
                text += QChar(char16_t((oneIn(2) ? 0xd800 : 0xdc00) + below(0x400)));
                break;
            default:
                text += anyUnit();
                break;
        }
    }
    return text;
}

QString RandomText::largeBlock(bool oneLine) {
    constexpr qsizetype kUnits = 51'200;  // 100 KB of UTF-16
    QString block;
    block.reserve(kUnits + 256);
    while (block.size() < kUnits) {
        QString line = pastedText(200);
        if (oneLine) {
            line.remove(u'\n').remove(u'\r').remove(QChar::ParagraphSeparator);
        } else {
            line += u'\n';
        }
        block += line;
    }
    return block;
}

QString RandomText::numberText() {
    if (oneIn(4)) {
        // A long run of digits, up to twenty of them, sometimes signed.
        QString digits = oneIn(3) ? QStringLiteral("-") : QString();
        const int count = 1 + below(20);
        for (int i = 0; i < count; ++i)
            digits += QChar(char16_t(u'0' + below(10)));
        return digits;
    }
    return QString::fromLatin1(kNumbers[below(int(kNumbers.size()))]);
}

QString RandomText::multiplierText() {
    if (oneIn(2))
        return numberText();
    if (oneIn(8))
        return QString::number(below(729) - 364);
    return QString::number(2 * below(13) + 1);  // 1, 3, … 25
}

}  // namespace korvane::testing
