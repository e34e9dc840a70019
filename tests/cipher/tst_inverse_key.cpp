// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The inverse key: the key the engine offers must really read an enciphered text back
// through TransformText, and a key it calls final must really lose letters.
#include <QSet>
#include <QTest>
#include <vector>

#include "cipher/inverse_key.h"
#include "cipher/transform.h"
#include "engine_transform.h"

using namespace korvane::cipher;

Q_DECLARE_METATYPE(korvane::cipher::Invertibility)

namespace {

const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");

// The letters of the alphabet that the key enciphers without overflow, each on its own.
QString encipherableLetters(Key key) {
    QString letters;
    for (QChar letter : kAlphabet) {
        if (korvane::testing::engineTransform(QString(letter), key.rotation, key.multiplier))
            letters += letter;
    }
    return letters;
}

// A text with every encipherable letter, in both cases, between other characters.
QString sampleText(const QString& letters) {
    return letters + QStringLiteral(", 0-9 ") + letters.toLower() + QStringLiteral("!\n");
}

}  // namespace

class tst_InverseKey : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBack_data();
    void readsBack();
    void notInvertible_data();
    void notInvertible();
    void verdictMatchesTransform_data();
    void verdictMatchesTransform();
};

void tst_InverseKey::readsBack_data() {
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("multiplier");
    // -1 where only the round trip is checked.
    QTest::addColumn<int>("backRotation");
    QTest::addColumn<int>("backMultiplier");

    QTest::newRow("rot13") << 13 << 1 << 13 << 1;
    QTest::newRow("shift 3") << 3 << 1 << 23 << 1;
    QTest::newRow("rotation 5 multiplier 3") << 5 << 3 << 7 << 9;
    QTest::newRow("identity") << 0 << 1 << 0 << 1;
    QTest::newRow("multiplier 25 is its own inverse") << 0 << 25 << 0 << 25;
    QTest::newRow("multiplier 27 acts as 1") << 4 << 27 << 22 << 1;
    QTest::newRow("rotation 26 acts as 0") << 26 << 3 << 0 << 9;
    QTest::newRow("negative rotation -3") << -3 << 1 << 3 << 1;
    QTest::newRow("negative rotation -25 multiplier 5") << -25 << 5 << -1 << -1;
    QTest::newRow("rotation -26 multiplier 7") << -26 << 7 << -1 << -1;
    QTest::newRow("negative multiplier, large rotation") << 1000 << -1 << -1 << -1;
    QTest::newRow("multiplier -3, rotation 2000") << 2000 << -3 << -1 << -1;
    QTest::newRow("multiplier -25, rotation 32767") << 32767 << -25 << -1 << -1;
    QTest::newRow("largest rotation Z still fits") << 32677 << 1 << -1 << -1;
    QTest::newRow("multiplier 363 fits for Z") << 0 << 363 << -1 << -1;
    QTest::newRow("multiplier 401 overflows from R") << 0 << 401 << 0 << 19;
    QTest::newRow("multiplier -401 with rotation 32767") << 32767 << -401 << -1 << -1;
}

void tst_InverseKey::readsBack() {
    QFETCH(int, rotation);
    QFETCH(int, multiplier);
    QFETCH(int, backRotation);
    QFETCH(int, backMultiplier);
    const Key key{.rotation = qint16(rotation), .multiplier = qint16(multiplier)};

    const InverseKey back = inverseOf(key);
    QCOMPARE(back.invertibility, Invertibility::Invertible);
    if (backRotation >= 0) {
        QCOMPARE(back.inverse.rotation, backRotation);
        QCOMPARE(back.inverse.multiplier, backMultiplier);
    }
    // The scroll bar can take the rotation, and the multiplier box a plain small number.
    QVERIFY(back.inverse.rotation >= 0 && back.inverse.rotation <= 25);
    QVERIFY(back.inverse.multiplier >= 1 && back.inverse.multiplier <= 25);

    const QString letters = encipherableLetters(key);
    QVERIFY(!letters.isEmpty());
    const QString plain = sampleText(letters);
    const QString enciphered = TransformText(plain, key.rotation, key.multiplier).value();
    QCOMPARE(TransformText(enciphered, back.inverse.rotation, back.inverse.multiplier).value(),
             plain.toUpper());
}

void tst_InverseKey::notInvertible_data() {
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<Invertibility>("invertibility");

    QTest::newRow("empty multiplier box") << 0 << 0 << Invertibility::EvenMultiplier;
    QTest::newRow("multiplier 2") << 0 << 2 << Invertibility::EvenMultiplier;
    QTest::newRow("multiplier 2, rotation 5") << 5 << 2 << Invertibility::EvenMultiplier;
    QTest::newRow("multiplier -4") << 100 << -4 << Invertibility::EvenMultiplier;
    QTest::newRow("multiplier 13") << 0 << 13 << Invertibility::MultipleOf13;
    QTest::newRow("multiplier 39") << 3 << 39 << Invertibility::MultipleOf13;
    QTest::newRow("multiplier -13") << 2000 << -13 << Invertibility::MultipleOf13;
    QTest::newRow("multiplier -1") << 0 << -1 << Invertibility::NotLetters;
    QTest::newRow("multiplier -3, rotation 7") << 7 << -3 << Invertibility::NotLetters;
    QTest::newRow("rotation -1000") << -1000 << 1 << Invertibility::NotLetters;
    QTest::newRow("rotation -32768") << -32768 << 1 << Invertibility::NotLetters;
    QTest::newRow("multiplier 505") << 0 << 505 << Invertibility::AllOverflow;
    QTest::newRow("multiplier -999") << 0 << -999 << Invertibility::AllOverflow;
    QTest::newRow("multiplier 600, even and all overflowing")
        << 0 << 600 << Invertibility::AllOverflow;
}

void tst_InverseKey::notInvertible() {
    QFETCH(int, rotation);
    QFETCH(int, multiplier);
    QFETCH(Invertibility, invertibility);
    const Key key{.rotation = qint16(rotation), .multiplier = qint16(multiplier)};

    QCOMPARE(inverseOf(key).invertibility, invertibility);

    // What the transform does to the letters it enciphers: some fall together or leave the
    // alphabet, or there are none.
    const QString letters = encipherableLetters(key);
    if (invertibility == Invertibility::AllOverflow) {
        QVERIFY(letters.isEmpty());
        return;
    }
    const QString out = TransformText(letters, key.rotation, key.multiplier).value();
    const QSet<QChar> distinct(out.begin(), out.end());
    bool allLetters = true;
    for (QChar c : out)
        allLetters = allLetters && c >= u'A' && c <= u'Z';
    QVERIFY(distinct.size() < letters.size() || !allLetters);
}

void tst_InverseKey::verdictMatchesTransform_data() {
    QTest::addColumn<int>("rotation");
    for (int rotation : {-32768, -5000, -1000, -100, -26, -25, -13, -1, 0, 1, 5, 13, 25, 26, 100,
                         1000, 5000, 32767}) {
        QTest::addRow("rotation %d", rotation) << rotation;
    }
}

// Over a wide range of multipliers: where an inverse key is offered it reads back every letter the
// key enciphers, and the letters that overflow are the ones from the letter the engine names up
// to Z; where none is offered, no key the window can take (rotation 0…25, multiplier 0…25, which
// between them give every letter map a window key can) reads two or more enciphered letters back.
void tst_InverseKey::verdictMatchesTransform() {
    QFETCH(int, rotation);
    std::vector<QString> keyMaps;  // index rotation·26 + multiplier: the alphabet's image
    for (int r = 0; r < 26; ++r) {
        for (int m = 0; m < 26; ++m)
            keyMaps.push_back(TransformText(kAlphabet, qint16(r), qint16(m)).value());
    }
    const auto someKeyReadsBack = [&](const QString& out, const QString& letters) {
        for (const QString& map : keyMaps) {
            bool readsBack = true;
            for (qsizetype i = 0; readsBack && i < out.size(); ++i) {
                readsBack =
                    out[i] >= u'A' && out[i] <= u'Z' && map[out[i].unicode() - u'A'] == letters[i];
            }
            if (readsBack)
                return true;
        }
        return false;
    };

    for (int multiplier = -600; multiplier <= 600; ++multiplier) {
        const Key key{.rotation = qint16(rotation), .multiplier = qint16(multiplier)};
        const InverseKey back = inverseOf(key);
        const QString letters = encipherableLetters(key);
        const QByteArray where = "multiplier " + QByteArray::number(multiplier);
        QVERIFY2((back.invertibility == Invertibility::AllOverflow) == letters.isEmpty(), where);
        if (letters.isEmpty())
            continue;
        const QString out = TransformText(letters, key.rotation, key.multiplier).value();
        if (back.invertibility != Invertibility::Invertible) {
            QVERIFY2(letters.size() < 2 || !someKeyReadsBack(out, letters), where);
            continue;
        }
        QCOMPARE(TransformText(out, back.inverse.rotation, back.inverse.multiplier).value(),
                 letters);
        const QString expectedLetters = back.firstOverflowingLetter == 0
                                            ? kAlphabet
                                            : kAlphabet.left(back.firstOverflowingLetter - u'A');
        QVERIFY2(letters == expectedLetters, where);
    }
}

QTEST_APPLESS_MAIN(tst_InverseKey)
#include "tst_inverse_key.moc"
