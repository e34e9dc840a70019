// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// A plain model of the letter transform for the tests and fuzzers, so that they check the engine
// against something other than its own table: one code point at a time, upper-cased with
// Unicode's simple case mapping as Qt's data gives it, every letter computed in 32-bit arithmetic
// with explicit range checks.
namespace korvane::reference {

// The simple capital of a code point that QChar::toUpper leaves as it is, found from its
// canonical decomposition: the base upper-cased, its marks kept, composed again (NFC). Qt keeps a
// character whose full capital is more than one character, such as ᾳ, whose full capital is ΑΙ;
// its decomposition α + ypogegrammeni gives Α + ypogegrammeni, which composes to ᾼ, its simple
// capital. A base that is its own capital leaves the character, so the angstrom sign U+212B,
// which decomposes to Å U+00C5, stays; so does one whose upper-cased parts compose into more than
// one character, such as ǰ, whose j + caron gives J + caron.
inline char32_t capitalByDecomposition(char32_t code) {
    if (QChar::decompositionTag(code) != QChar::Canonical)
        return code;
    QList<uint> parts = QChar::decomposition(code).toUcs4();
    const uint base = parts[0];
    parts[0] = QChar::toUpper(base);
    if (parts[0] == base)
        return code;
    QString upper;
    for (const uint part : parts)
        upper += QChar::fromUcs4(part);
    const QList<uint> composed = upper.normalized(QString::NormalizationForm_C).toUcs4();
    return composed.size() == 1 ? composed[0] : code;
}

// The capital of one code point; one whose capital would need a different number of UTF-16
// units stays as it is, so upper-casing never changes a text's length.
inline char32_t upperOf(char32_t code) {
    char32_t upper = QChar::toUpper(code);
    if (upper == code)
        upper = capitalByDecomposition(code);
    return QChar::requiresSurrogates(upper) == QChar::requiresSurrogates(code) ? upper : code;
}

// Every code point of the text through `map`, pair by pair; a lone half of a surrogate pair
// stays.
inline QString mapCodePoints(QStringView text, auto&& map) {
    QString mapped;
    mapped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            mapped += QChar::fromUcs4(map(QChar::surrogateToUcs4(c, text[i + 1])));
            ++i;
        } else if (c.isSurrogate()) {
            mapped += c;
        } else {
            mapped += QChar::fromUcs4(map(char32_t(c.unicode())));
        }
    }
    return mapped;
}

// The whole text upper-cased.
inline QString upperCase(QStringView text) {
    return mapCodePoints(text, upperOf);
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
