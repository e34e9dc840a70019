// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Fuzzes number reading and the rounding conversions.
//
// The input is read twice: as UTF-8 text for ReadNumber, whose value then goes through ToInt16
// and ToInt32; and, when it has eight bytes or more, its first eight bytes as a raw double
// (NaN, infinities and subnormals included) for the conversions alone.
#include <QString>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "check.h"
#include "cipher/number_text.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A second reading of the same text: drop every blank (space, tab, line feed) first, take the
// longest prefix of the form [+-] digits [. digits] [(E|e) [+-] digits], and let the C library
// convert it; no number gives 0.
double referenceRead(const QString& text) {
    std::string compact;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        compact += c.unicode() < 128 ? char(c.unicode()) : '\x7f';  // a stop, whatever it is
    }
    size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    size_t digits = 0;
    for (; i < compact.size() && isDigit(compact[i]); ++i)
        ++digits;
    if (i < compact.size() && compact[i] == '.') {
        ++i;
        for (; i < compact.size() && isDigit(compact[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0.0;
    size_t end = i;
    if (i < compact.size() && (compact[i] == 'e' || compact[i] == 'E')) {
        size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            ++j;
        if (j < compact.size() && isDigit(compact[j])) {
            while (j < compact.size() && isDigit(compact[j]))
                ++j;
            end = j;
        }
    }
    const std::string number = compact.substr(0, end);
    return std::strtod(number.c_str(), nullptr);
}

// The conversion must round half to even, and give no value exactly when the rounded value is
// outside the type's range (NaN and the infinities included).
template <typename Integer, typename Convert>
void checkConversion(double value, Integer low, Integer high, Convert convert) {
    const double expected = std::nearbyint(value);  // the default mode rounds half to even
    const bool fits = expected >= double(low) && expected <= double(high);
    const std::optional<Integer> converted = convert(value);
    FUZZ_CHECK(converted.has_value() == fits);
    if (converted)
        FUZZ_CHECK(double(*converted) == expected);
}

void checkConversions(double value) {
    checkConversion<qint16>(value, -32768, 32767, korvane::cipher::ToInt16);
    checkConversion<qint32>(value, -2147483647 - 1, 2147483647, korvane::cipher::ToInt32);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FUZZ_CHECK(std::fegetround() == FE_TONEAREST);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double value = korvane::cipher::ReadNumber(text);
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(value == referenceRead(text));
    checkConversions(value);

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkConversions(raw);
    }
    return 0;
}
