// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The cipher engine: numbers read from text, checked conversions, the letter transform.
#include <QTest>
#include <cmath>
#include <limits>
#include <optional>

#include "cipher/checked_int.h"
#include "cipher/number_text.h"
#include "cipher/transform.h"

using namespace korvane::cipher;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A checked result as the tests write it: its value, or nothing where it overflowed.
template <typename Integer>
std::optional<qint64> widened(std::optional<Integer> value) {
    return value ? std::optional<qint64>(*value) : std::nullopt;
}
std::optional<qint64> expectedValue(bool overflows, qint64 value) {
    return overflows ? std::nullopt : std::optional<qint64>(value);
}

}  // namespace

class tst_Cipher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("integer") << "25" << 25.0;
        QTest::newRow("digits then letters") << "7abc" << 7.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("plus sign") << "+4" << 4.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("capital exponent with sign") << "1E+2" << 100.0;
        QTest::newRow("negative exponent") << "5e-1" << 0.5;
        QTest::newRow("blank inside digits") << "1 2" << 12.0;
        QTest::newRow("leading blanks") << "  5" << 5.0;
        QTest::newRow("tab and line feed first") << "\t\n7" << 7.0;
        QTest::newRow("blank after sign") << "- 3" << -3.0;
        QTest::newRow("blanks in exponent") << "1 e 3" << 1000.0;
        QTest::newRow("leading zeros") << "007" << 7.0;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("point last") << "5." << 5.0;
        QTest::newRow("bare exponent letter") << "1e" << 1.0;
        QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
        QTest::newRow("comma is not a decimal point") << "2,5" << 2.0;
        QTest::newRow("second point stops") << "3.5.2" << 3.5;
        QTest::newRow("double sign") << "--3" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("carriage return is not a blank") << "\r5" << 0.0;
        QTest::newRow("no-break space is not a blank") << QStringLiteral("\u00a05") << 0.0;
        QTest::newRow("full-width digit is not a digit") << QStringLiteral("\uff15") << 0.0;
        QTest::newRow("hexadecimal prefix not read") << "&H10" << 0.0;
        QTest::newRow("large but finite") << "9e99" << 9e99;
        QTest::newRow("beyond a double") << "1e999" << kInfinity;
        QTest::newRow("beyond a double, negative") << "-1e999" << -kInfinity;
        QTest::newRow("many integer digits") << QString(400, u'9') << kInfinity;
        QTest::newRow("below a double") << "1e-999" << 0.0;
        QTest::newRow("zero with a huge exponent") << "0e99999999999999999999" << 0.0;
        QTest::newRow("huge exponent") << "2e99999999999999999999" << kInfinity;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(ReadNumber(text), expected);
    }

    void toInt16_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("overflows");
        QTest::addColumn<int>("expected");
        QTest::newRow("half to even, down") << 2.5 << false << 2;
        QTest::newRow("half to even, up") << 3.5 << false << 4;
        QTest::newRow("negative half to even") << -2.5 << false << -2;
        QTest::newRow("half of one") << 0.5 << false << 0;
        QTest::newRow("one and a half") << 1.5 << false << 2;
        QTest::newRow("just below half") << 2.4999 << false << 2;
        QTest::newRow("just above half") << 2.5001 << false << 3;
        QTest::newRow("largest, rounding down") << 32767.4 << false << 32767;
        QTest::newRow("rounds past the largest") << 32767.5 << true << 0;
        QTest::newRow("smallest, half to even") << -32768.5 << false << -32768;
        QTest::newRow("rounds past the smallest") << -32768.51 << true << 0;
        QTest::newRow("plus infinity") << kInfinity << true << 0;
        QTest::newRow("minus infinity") << -kInfinity << true << 0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << true << 0;
    }
    void toInt16() {
        QFETCH(double, value);
        QFETCH(bool, overflows);
        QFETCH(int, expected);
        QCOMPARE(widened(ToInt16(value)), expectedValue(overflows, expected));
    }

    void toInt32_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("overflows");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("beyond 16 bits") << 40000.0 << false << qint64(40000);
        QTest::newRow("largest, rounding down") << 2147483647.4 << false << qint64(2147483647);
        QTest::newRow("rounds past the largest") << 2147483647.5 << true << qint64(0);
        QTest::newRow("smallest, half to even") << -2147483648.5 << false << qint64(-2147483648);
        QTest::newRow("far beyond") << 9e99 << true << qint64(0);
        QTest::newRow("half to even") << 26.5 << false << qint64(26);
    }
    void toInt32() {
        QFETCH(double, value);
        QFETCH(bool, overflows);
        QFETCH(qint64, expected);
        QCOMPARE(widened(ToInt32(value)), expectedValue(overflows, expected));
    }

    void narrowing_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("overflows");
        QTest::newRow("largest") << 32767 << false;
        QTest::newRow("one past the largest") << 32768 << true;
        QTest::newRow("smallest") << -32768 << false;
        QTest::newRow("one below the smallest") << -32769 << true;
    }
    void narrowing() {
        QFETCH(int, value);
        QFETCH(bool, overflows);
        QCOMPARE(widened(narrowToInt16(value)), expectedValue(overflows, value));
    }

    void checkedSteps_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("overflows");
        QTest::newRow("up to the largest") << 32766 << 1 << false;
        QTest::newRow("up past the largest") << 32767 << 1 << true;
        QTest::newRow("down to the smallest") << -32767 << -1 << false;
        QTest::newRow("down past the smallest") << -32768 << -1 << true;
    }
    void checkedSteps() {
        QFETCH(int, start);
        QFETCH(int, step);
        QFETCH(bool, overflows);
        const auto apply = [&] {
            return step > 0 ? checkedAdd16(qint16(start), 1) : checkedSub16(qint16(start), 1);
        };
        QCOMPARE(widened(apply()), expectedValue(overflows, start + step));
    }

    void formatInteger_data() {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("two digits") << qint64(13) << "13";
        QTest::newRow("negative") << qint64(-5) << "-5";
        QTest::newRow("no grouping") << qint64(32767) << "32767";
        QTest::newRow("smallest 32-bit") << qint64(-2147483648) << "-2147483648";
    }
    void formatInteger() {
        QFETCH(qint64, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatInteger(qint32(value)), expected);
    }

    void transformText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("multiplier");
        QTest::addColumn<QString>("expected");
        QTest::newRow("shift by three") << "Hello, World!" << 3 << 1 << "KHOOR, ZRUOG!";
        QTest::newRow("rot13") << "HELLO" << 13 << 1 << "URYYB";
        QTest::newRow("rot13 undone") << "URYYB" << 13 << 1 << "HELLO";
        QTest::newRow("affine 5/3") << "Hello, World!" << 5 << 3 << "ARMMV, TVEMO!";
        QTest::newRow("affine 5/3 read back with 7/9")
            << "ARMMV, TVEMO!" << 7 << 9 << "HELLO, WORLD!";
        QTest::newRow("multiplier 0") << "HELLO" << 0 << 0 << "NNNNN";
        QTest::newRow("even multiplier") << "AZ" << 0 << 2 << "NL";
        QTest::newRow("multiplier 0, rotation -20") << "ABC" << -20 << 0 << ":::";
        QTest::newRow("multiplier 0, rotation -25") << "AB" << -25 << 0 << "55";
        QTest::newRow("multiplier -1") << "AB" << 0 << -1 << "A@";
        QTest::newRow("only letters change") << "Ab1, x!" << 0 << 1 << "AB1, X!";
        QTest::newRow("empty") << "" << 7 << 3 << "";
        QTest::newRow("largest product with rotation 3") << "Z" << 3 << 364 << "Q";
        QTest::newRow("A fits where Z overflows") << "A" << 0 << 365 << "A";
        QTest::newRow("sum exactly the largest") << "Z" << 7 << 364 << "U";
        QTest::newRow("sum exactly the smallest") << "Z" << -8 << -364 << "F";
        QTest::newRow("line breaks and tabs stay") << "a\nb\tc\r\n" << 1 << 1 << "B\nC\tD\r\n";
        QTest::newRow("NUL stays")
            << QStringLiteral("a\u0000b") << 1 << 1 << QStringLiteral("B\u0000C");
        QTest::newRow("accented letters capitalised, not shifted")
            << QStringLiteral("é ü") << 1 << 1 << QStringLiteral("É Ü");
        QTest::newRow("sharp s has no one-letter capital")
            << QStringLiteral("ß") << 1 << 1 << QStringLiteral("ß");
        QTest::newRow("dotless i becomes I, then shifts") << QStringLiteral("ı") << 1 << 1 << "J";
        QTest::newRow("long s becomes S, then shifts") << QStringLiteral("ſ") << 1 << 1 << "T";
        QTest::newRow("Greek capitalised")
            << QStringLiteral("αβγ") << 5 << 3 << QStringLiteral("ΑΒΓ");
        QTest::newRow("CJK passes") << QStringLiteral("中文a") << 1 << 1 << QStringLiteral("中文B");
        QTest::newRow("emoji pair passes whole")
            << QStringLiteral("a😀b") << 1 << 1 << QStringLiteral("B😀C");
        QTest::newRow("supplementary letter capitalised as a pair")
            << QStringLiteral("\U00010428x") << 0 << 1 << QStringLiteral("\U00010400X");
        QTest::newRow("lone high surrogate passes")
            << QString(QChar(0xD83D)) + u'a' << 1 << 1 << QString(QChar(0xD83D)) + u'B';
        QTest::newRow("lone low surrogate passes")
            << u'a' + QString(QChar(0xDE00)) << 1 << 1 << u'B' + QString(QChar(0xDE00));
        QTest::newRow("digits never overflow")
            << "0123456789 !?" << 32767 << 32767 << "0123456789 !?";
        // Past the size from which the output's pages are made present in one call.
        QTest::newRow("a text of megabytes")
            << QStringLiteral("Hello, World! ").repeated(300000) << 3 << 1
            << QStringLiteral("KHOOR, ZRUOG! ").repeated(300000);
    }
    void transformText() {
        QFETCH(QString, text);
        QFETCH(int, rotation);
        QFETCH(int, multiplier);
        QFETCH(QString, expected);
        QCOMPARE(TransformText(text, qint16(rotation), qint16(multiplier)), expected);
        QCOMPARE(firstOverflowingLetter(text, qint16(rotation), qint16(multiplier)), std::nullopt);
    }

    void transformOverflow_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("multiplier");
        QTest::addColumn<QChar>("letter");  // the first whose transform overflows
        QTest::newRow("sum past the largest") << "Z" << 8 << 364 << QChar(u'Z');
        QTest::newRow("Z product past the largest") << "Z" << 0 << 365 << QChar(u'Z');
        QTest::newRow("A product past the largest") << "A" << 0 << 505 << QChar(u'A');
        QTest::newRow("A product below the smallest") << "A" << 0 << -505 << QChar(u'A');
        QTest::newRow("sum below the smallest") << "Z" << -9 << -364 << QChar(u'Z');
        QTest::newRow("lower-case letter overflows as a capital") << "z" << 0 << 365 << QChar(u'Z');
        QTest::newRow("only the last letter overflows") << "AAAAZ" << 8 << 364 << QChar(u'Z');
        QTest::newRow("the first of two letters that overflow")
            << "b y Z" << 0 << 369 << QChar(u'Y');
        QTest::newRow("dotless i overflows as I") << QStringLiteral("ı") << 0 << 505 << QChar(u'I');
    }
    void transformOverflow() {
        QFETCH(QString, text);
        QFETCH(int, rotation);
        QFETCH(int, multiplier);
        QFETCH(QChar, letter);
        QCOMPARE(TransformText(text, qint16(rotation), qint16(multiplier)), std::nullopt);
        QCOMPARE(firstOverflowingLetter(text, qint16(rotation), qint16(multiplier)),
                 letter.unicode());
    }

    // With an odd multiplier and a non-negative sum the transform is the classical affine
    // substitution of letter positions, so each key is a permutation of the alphabet.
    void oddMultipliersAreAffineSubstitutions() {
        for (int m = 1; m < 26; m += 2) {
            for (int r = 0; r < 26; ++r) {
                for (int p = 0; p < 26; ++p) {
                    const std::optional<qint16> code =
                        TransformLetter(qint16(65 + p), qint16(r), qint16(m));
                    QCOMPARE(widened(code), 65 + (m * p + r) % 26);
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(tst_Cipher)
#include "tst_cipher.moc"
