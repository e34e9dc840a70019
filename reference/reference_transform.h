// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// A plain model of the letter transform for the tests and fuzzers, so that they check the engine
// against something other than its own table: one code point at a time, upper-cased with Qt's
// simple case mapping, every letter computed in 32-bit arithmetic with explicit range checks.
namespace korvane::reference {

// The capital of one code point; one whose capital would need a different number of UTF-16
// units stays as it is, so upper-casing never changes a text's length.
inline char32_t upperOf(char32_t code) {
    const char32_t upper = QChar::toUpper(code);
    return QChar::requiresSurrogates(upper) == QChar::requiresSurrogates(code) ? upper : code;
}

// The whole text upper-cased, pair by pair; a lone half of a surrogate pair stays.
inline QString upperCase(QStringView text) {
    QString upper;
    upper.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t code = upperOf(QChar::surrogateToUcs4(c, text[i + 1]));
            upper += QChar(QChar::highSurrogate(code));
            upper += QChar(QChar::lowSurrogate(code));
            ++i;
        } else if (c.isSurrogate()) {
            upper += c;
        } else {
            upper += QChar(char16_t(upperOf(c.unicode())));
        }
    }
    return upper;
}

inline bool fitsInt16(int value) {
    return value >= -32768 && value <= 32767;
}

// True when the letter's product or sum leaves the 16-bit range.
inline bool letterOverflows(int code, int rotation, int multiplier) {
    const int product = code * multiplier;
    return !fitsInt16(product) || !fitsInt16(product + rotation);
}

// The transformed code of one letter that does not overflow.
inline char16_t letterOf(int code, int rotation, int multiplier) {
    int g = (code * multiplier + rotation) % 26 + 78;
    if (g > 90)
        g -= 26;
    return char16_t(g);
}

inline bool isLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// The transform of a whole text, or nothing when some letter overflows.
inline std::optional<QString> transform(QStringView text, int rotation, int multiplier) {
    QString result = upperCase(text);
    for (QChar& c : result) {
        if (!isLetter(c))
            continue;
        if (letterOverflows(c.unicode(), rotation, multiplier))
            return std::nullopt;
        c = QChar(letterOf(c.unicode(), rotation, multiplier));
    }
    return result;
}

}  // namespace korvane::reference
