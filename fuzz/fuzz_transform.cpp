// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Fuzzes TransformText with any text, rotation and multiplier, through the widest vector lanes
// and through SSE2's.
//
// Input layout: bytes 0–1 the rotation and 2–3 the multiplier (little-endian 16-bit), byte 4 a
// shape byte (bit 0 folds the multiplier into −600…600, bit 1 the rotation into −100…100, so
// that texts with letters also reach the side of the overflow bounds where no overflow
// happens), the rest the text as little-endian UTF-16 code units, lone surrogates included.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

#include "check.h"
#include "cipher/transform.h"
#include "reference/reference_transform.h"

namespace {

namespace reference = korvane::reference;

struct Case {
    qint16 rotation = 0;
    qint16 multiplier = 0;
    QString text;
};

Case decode(const uint8_t* data, size_t size) {
    Case c;
    if (size < 5)
        return c;
    c.rotation = qint16(uint16_t(data[0] | data[1] << 8));
    c.multiplier = qint16(uint16_t(data[2] | data[3] << 8));
    if (data[4] & 1)
        c.multiplier = qint16(c.multiplier % 601);
    if (data[4] & 2)
        c.rotation = qint16(c.rotation % 101);
    for (size_t i = 5; i + 1 < size; i += 2)
        c.text += QChar(char16_t(data[i] | data[i + 1] << 8));
    return c;
}

// The engine's result, or nothing when a letter overflowed.
std::optional<QString> run(const QString& text, qint16 rotation, qint16 multiplier) {
    return korvane::cipher::TransformText(text, rotation, multiplier);
}

void checkOneCall(const Case& c) {
    const QString upper = reference::upperCase(c.text);
    bool someLetterOverflows = false;
    for (QChar u : upper) {
        if (reference::isLetter(u) &&
            reference::letterOverflows(u.unicode(), c.rotation, c.multiplier)) {
            someLetterOverflows = true;
        }
    }

    const std::optional<QString> result = run(c.text, c.rotation, c.multiplier);
    FUZZ_CHECK(result.has_value() == !someLetterOverflows);
    // SSE2's lanes, which a processor without AVX2 takes, give the same text.
    QString narrow(c.text.size(), Qt::Uninitialized);
    const bool narrowWhole = korvane::cipher::TransformText(
        korvane::cipher::TransformLanes::Sse2, c.text, narrow.data(), c.rotation, c.multiplier);
    FUZZ_CHECK(narrowWhole == result.has_value());
    if (!result)
        return;
    FUZZ_CHECK(narrow == *result);

    FUZZ_CHECK(result->size() == c.text.size());
    std::map<char16_t, char16_t> letterMap;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const QChar u = upper[i];
        const QChar out = (*result)[i];
        if (!reference::isLetter(u)) {
            FUZZ_CHECK(out == u);
            continue;
        }
        FUZZ_CHECK(out.unicode() == reference::letterOf(u.unicode(), c.rotation, c.multiplier));
        const auto [entry, inserted] = letterMap.try_emplace(u.unicode(), out.unicode());
        FUZZ_CHECK(inserted || entry->second == out.unicode());
    }
}

// With multiplier 1 every rotation r in −65…91 keeps each sum non-negative, so a shift by r
// followed by one by 26 − r gives back the upper-cased text.
void checkRoundTrip(const Case& c) {
    const qint16 r = qint16((c.rotation % 157 + 157) % 157 - 65);
    const std::optional<QString> there = run(c.text, r, 1);
    FUZZ_CHECK(there.has_value());
    const std::optional<QString> back = run(*there, qint16(26 - r), 1);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == reference::upperCase(c.text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Case c = decode(data, size);
    checkOneCall(c);
    checkRoundTrip(c);
    return 0;
}
