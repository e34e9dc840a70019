// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The inverse-key hint in words: the settings that read the output back, or why none do, for
// whatever the rotation and multiplier boxes hold, without ever raising.
#include <QSet>
#include <QTest>
#include <optional>

#include "cipher/transform.h"
#include "window/inverse_key_text.h"

using korvane::cipher::TransformText;

class tst_InverseKeyText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void inverseKeyText_data();
    void inverseKeyText();
    void oneCharacterForEveryLetter_data();
    void oneCharacterForEveryLetter();
};

void tst_InverseKeyText::inverseKeyText_data() {
    QTest::addColumn<QString>("rotationBox");
    QTest::addColumn<QString>("multiplierBox");
    QTest::addColumn<QStringList>("mentions");

    const auto list = [](std::initializer_list<const char*> words) {
        QStringList all;
        for (const char* word : words)
            all << QString::fromUtf8(word);
        return all;
    };
    QTest::newRow("rotation 5 multiplier 3") << "5"
                                             << "3" << list({"rotation 7 and multiplier 9"});
    QTest::newRow("rot13") << "13"
                           << "1" << list({"rotation 13 and multiplier 1"});
    QTest::newRow("boxes read like the recompute")
        << "  5abc"
        << "3.4" << list({"rotation 7 and multiplier 9"});
    QTest::newRow("empty multiplier box") << "0"
                                          << "" << list({"every letter becomes 'N'", "cannot"});
    QTest::newRow("2.5 rounds to even 2") << "0"
                                          << "2.5" << list({"Multiplier 2 is even"});
    QTest::newRow("3.5 rounds to 4") << "0"
                                     << "3.5" << list({"Multiplier 4 is even"});
    QTest::newRow("multiple of 26") << "1"
                                    << "26e0" << list({"every letter becomes 'O'"});
    QTest::newRow("odd multiple of 13") << "1"
                                        << "39" << list({"multiple of 13", "cannot"});
    QTest::newRow("negative multiplier")
        << "0"
        << "-1" << list({"rotation 0 and multiplier -1", "digits or signs", "cannot"});
    QTest::newRow("overflow from R")
        << "0"
        << "401" << list({"rotation 0 and multiplier 19", "from R to Z"});
    QTest::newRow("every letter overflows") << "0"
                                            << "600" << list({"every letter overflows"});
    QTest::newRow("rotation box too large") << "40000"
                                            << "3" << list({"rotation box", "Overflow"});
    QTest::newRow("multiplier box too large") << "1"
                                              << "32767.5" << list({"multiplier box", "Overflow"});
    QTest::newRow("both too large, rotation read first")
        << "1e9"
        << "99999" << list({"rotation box", "Overflow"});
}

void tst_InverseKeyText::inverseKeyText() {
    QFETCH(QString, rotationBox);
    QFETCH(QString, multiplierBox);
    QFETCH(QStringList, mentions);

    QString text;
    try {
        text = korvane::window::inverseKeyText(rotationBox, multiplierBox);
    } catch (...) {
        QFAIL("the inverse key text must never raise");
    }
    for (const QString& mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(text));
}

// A multiplier that is a multiple of 26 sends every letter to the one character the rotation
// alone decides, and the hint names the character the engine really writes.
void tst_InverseKeyText::oneCharacterForEveryLetter_data() {
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("multiplier");

    QTest::newRow("empty multiplier box") << 0 << 0;
    QTest::newRow("rotation 3") << 3 << 0;
    QTest::newRow("rotation -20 gives a sign") << -20 << 0;
    QTest::newRow("rotation -100") << -100 << 0;
    QTest::newRow("multiplier 26") << 7 << 26;
    QTest::newRow("multiplier -52, rotation -1") << -1 << -52;
}

void tst_InverseKeyText::oneCharacterForEveryLetter() {
    QFETCH(int, rotation);
    QFETCH(int, multiplier);

    const std::optional<QString> written = TransformText(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), qint16(rotation), qint16(multiplier));
    QVERIFY(written);
    QCOMPARE(QSet<QChar>(written->begin(), written->end()).size(), 1);
    const QString text = korvane::window::inverseKeyText(
        QString::number(rotation), multiplier == 0 ? QString() : QString::number(multiplier));
    QVERIFY2(text.contains(QStringLiteral("every letter becomes '%1'").arg(written->front())),
             qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("several")), qPrintable(text));
}

QTEST_APPLESS_MAIN(tst_InverseKeyText)
#include "tst_inverse_key_text.moc"
