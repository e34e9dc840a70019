// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace korvane::cipher {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Walks the text the way the number reader sees it: blanks are invisible everywhere.
class Reader {
public:
    explicit Reader(QStringView text) : text_(text) {}

    QChar peek() {
        while (position_ < text_.size() && isBlank(text_[position_]))
            ++position_;
        return position_ < text_.size() ? text_[position_] : QChar();
    }
    void take() { ++position_; }
    qsizetype position() const { return position_; }
    void rewind(qsizetype position) { position_ = position; }

private:
    QStringView text_;
    qsizetype position_ = 0;
};

// Saturates so that a huge exponent cannot overflow the counter.
constexpr long kExponentLimit = 1'000'000'000;

}  // namespace

double ReadNumber(QStringView text) {
    Reader reader(text);
    std::string number;  // the accepted characters, blanks dropped, for std::from_chars
    bool negative = false;

    if (reader.peek() == u'+' || reader.peek() == u'-') {
        negative = reader.peek() == u'-';
        if (negative)
            number += '-';
        reader.take();
    }

    // The decimal magnitude of the first significant digit, used when from_chars reports a
    // value out of a double's range to tell an overflow from an underflow.
    long significantIntegerDigits = 0;
    long leadingFractionZeros = 0;
    bool seenSignificant = false;
    bool anyDigit = false;

    while (isDigit(reader.peek())) {
        const char digit = static_cast<char>(reader.peek().unicode());
        if (digit != '0' || seenSignificant) {
            seenSignificant = true;
            ++significantIntegerDigits;
        }
        number += digit;
        anyDigit = true;
        reader.take();
    }
    if (reader.peek() == u'.') {
        number += '.';
        reader.take();
        while (isDigit(reader.peek())) {
            const char digit = static_cast<char>(reader.peek().unicode());
            if (!seenSignificant) {
                if (digit == '0') {
                    ++leadingFractionZeros;
                } else {
                    seenSignificant = true;
                }
            }
            number += digit;
            anyDigit = true;
            reader.take();
        }
    }
    if (!anyDigit)
        return 0.0;

    long exponent = 0;
    const qsizetype beforeExponent = reader.position();
    if (reader.peek() == u'e' || reader.peek() == u'E') {
        reader.take();
        bool exponentNegative = false;
        if (reader.peek() == u'+' || reader.peek() == u'-') {
            exponentNegative = reader.peek() == u'-';
            reader.take();
        }
        if (isDigit(reader.peek())) {
            while (isDigit(reader.peek())) {
                exponent =
                    std::min(kExponentLimit, exponent * 10 + (reader.peek().unicode() - '0'));
                reader.take();
            }
            if (exponentNegative)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
        } else {
            reader.rewind(beforeExponent);  // a bare 'E' is not part of the number
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (!seenSignificant)
            return negative ? -0.0 : 0.0;
        const long magnitude =
            (significantIntegerDigits > 0 ? significantIntegerDigits : -leadingFractionZeros) +
            exponent;
        const double huge = std::numeric_limits<double>::infinity();
        if (magnitude > 0)
            return negative ? -huge : huge;
        return negative ? -0.0 : 0.0;
    }
    return value;
}

namespace {

double roundHalfToEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;  // exact for every finite double
    if (fraction > 0.5)
        return floor + 1.0;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

template <typename Integer>
std::optional<Integer> roundChecked(double value) {
    const double rounded = roundHalfToEven(value);
    // Written so that NaN and the infinities fail the test too.
    if (!(rounded >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Integer>::max()))) {
        return std::nullopt;
    }
    return static_cast<Integer>(rounded);
}

}  // namespace

std::optional<qint16> ToInt16(double value) {
    return roundChecked<qint16>(value);
}

std::optional<qint32> ToInt32(double value) {
    return roundChecked<qint32>(value);
}

QString FormatInteger(qint32 value) {
    return QString::number(value);
}

}  // namespace korvane::cipher
