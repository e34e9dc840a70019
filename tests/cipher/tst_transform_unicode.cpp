// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// TransformText over every UTF-16 code unit on its own and every supplementary code point,
// compared with the reference transform: upper-casing keeps the length, every character that is
// not a letter after upper-casing stays where it was, letters take the affine map, and an
// Overflow comes exactly when some letter's product or sum leaves the 16-bit range. The
// upper-casing alone is also set beside Unicode's own data, where Debian's unicode-data has it.
#include <QFile>
#include <QHash>
#include <QTest>
#include <optional>

#include "cipher/transform.h"
#include "engine_transform.h"
#include "reference/reference_transform.h"

namespace reference = korvane::reference;

namespace {

// Every code unit 0…FFFF, each between two blanks, so that a high surrogate is never followed
// by a low one: all 2048 surrogates stand alone.
QString everyCodeUnitAlone() {
    QString text;
    for (char32_t unit = 0; unit <= 0xffff; ++unit) {
        text += u' ';
        text += QChar(char16_t(unit));
    }
    return text + u' ';
}

// Every supplementary code point as a surrogate pair, one after the other.
QString everySupplementaryCodePoint() {
    QString text;
    for (char32_t code = 0x10000; code <= 0x10ffff; ++code) {
        text += QChar(QChar::highSurrogate(code));
        text += QChar(QChar::lowSurrogate(code));
    }
    return text;
}

// The first place where the two texts differ, for a readable failure.
QString firstDifference(const QString& actual, const QString& expected) {
    for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        if (actual[i] != expected[i]) {
            return QStringLiteral("at unit %1: got U+%2, expected U+%3")
                .arg(i)
                .arg(actual[i].unicode(), 4, 16, QLatin1Char('0'))
                .arg(expected[i].unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return QStringLiteral("lengths %1 and %2").arg(actual.size()).arg(expected.size());
}

// Field 12 of UnicodeData.txt, the simple upper-case mapping, of every code point that has one.
QHash<char32_t, char32_t> simpleCapitalsOf(QFile& unicodeData) {
    QHash<char32_t, char32_t> capitals;
    while (!unicodeData.atEnd()) {
        const QList<QByteArray> fields = unicodeData.readLine().split(';');
        if (fields.size() > 12 && !fields[12].isEmpty())
            capitals.insert(fields[0].toUInt(nullptr, 16), fields[12].toUInt(nullptr, 16));
    }
    return capitals;
}

}  // namespace

class tst_TransformUnicode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyCharacter_data();
    void everyCharacter();
};

void tst_TransformUnicode::everyCharacter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<bool>("againstUnicodeData");  // else against the reference transform

    const QString units = everyCodeUnitAlone();
    const QString pairs = everySupplementaryCodePoint();
    const struct {
        const char* key;
        int rotation, multiplier;
    } keys[] = {{"plain upper-casing", 0, 1},
                {"ROT13", 13, 1},
                {"affine 5, 3", 5, 3},
                {"multiplier 0", 0, 0},
                {"multiplier 0, rotation -25", -25, 0},
                {"multiplier -1", 0, -1},
                {"largest sum that fits", 7, 364},
                {"Z overflows its sum", 8, 364},
                {"Z overflows its product", 0, 365},
                {"A overflows too", 0, 505},
                {"negative overflow", 0, -365},
                {"rotation -32768", -32768, 1}};
    for (const auto& key : keys) {
        QTest::addRow("every code unit alone, %s", key.key)
            << units << key.rotation << key.multiplier << false;
        QTest::addRow("every supplementary code point, %s", key.key)
            << pairs << key.rotation << key.multiplier << false;
    }
    // With this key the letters stay, so what is left is the upper-casing.
    QTest::newRow("every code unit alone, UnicodeData.txt") << units << 0 << 1 << true;
    QTest::newRow("every supplementary code point, UnicodeData.txt") << pairs << 0 << 1 << true;
}

void tst_TransformUnicode::everyCharacter() {
    QFETCH(QString, text);
    QFETCH(int, rotation);
    QFETCH(int, multiplier);
    QFETCH(bool, againstUnicodeData);

    std::optional<QString> expected =
        againstUnicodeData ? std::nullopt : reference::transform(text, rotation, multiplier);
    if (againstUnicodeData) {
        QFile file(u"/usr/share/unicode/UnicodeData.txt"_qs);
        if (!file.exists())
            QSKIP("Debian's unicode-data is not installed");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QHash<char32_t, char32_t> capitals = simpleCapitalsOf(file);
        // The file may be of a newer Unicode than Qt's: a code point that Qt has unassigned is
        // new there, and Qt leaves it as it is.
        QStringList newInTheFile;
        expected = reference::mapCodePoints(text, [&](char32_t code) {
            const char32_t capital = capitals.value(code, code);
            if (capital == code || QChar::unicodeVersion(code) != QChar::Unicode_Unassigned)
                return capital;
            newInTheFile += QString::number(code, 16);
            return code;
        });
        qInfo("upper-cased by the file but unassigned in Qt's Unicode data: %lld %s",
              qlonglong(newInTheFile.size()), qPrintable(newInTheFile.join(u' ')));
    }
    const std::optional<QString> actual =
        korvane::testing::engineTransform(text, qint16(rotation), qint16(multiplier));
    QCOMPARE(actual.has_value(), expected.has_value());
    if (!expected)
        return;
    QCOMPARE(actual->size(), text.size());
    QVERIFY2(*actual == *expected, qPrintable(firstDifference(*actual, *expected)));
}

QTEST_APPLESS_MAIN(tst_TransformUnicode)
#include "tst_transform_unicode.moc"
