// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The fast transform against the rule read literally, one character at a time, over many
// random texts: ASCII, other scripts, surrogate pairs and lone halves, and keys under which
// some letters overflow; through the widest vector lanes the processor has and through SSE2's.
#include <QTest>
#include <optional>
#include <random>

#include "engine_transform.h"
#include "reference/reference_transform.h"

namespace {

using korvane::reference::transform;
using korvane::testing::engineTransform;

enum class Kind { Ascii, Mixed, Surrogates };

// Characters to draw from: each kind adds to the one before.
QString characterPool(Kind kind) {
    QString pool = QStringLiteral(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789"
        ".,;:!?@[]`{}~\n\t");
    pool += QChar(u'\0');
    pool += QChar(u'\x7f');
    if (kind == Kind::Ascii)
        return pool;
    pool += QString::fromUtf8("àéîõüßÿÆøıſǅﬀΑαβγΣσςЖжяЁё日本語한글\u00a0\u2029\u2028\ufdd0\uffff");
    if (kind == Kind::Mixed)
        return pool;
    // Pairs that upper-case to other pairs, pairs that stay, and halves on their own.
    return pool + QString::fromUtf8("\U00010428\U0001044F\U0001E922😀𝐚") + QChar(u'\xd800') +
           QChar(u'\xdbff') + QChar(u'\xdc00') + QChar(u'\xdfff');
}

// A random text of `length` units from the pool, pairs kept whole where the pool has them.
QString randomText(std::mt19937& random, const QString& pool, qsizetype length) {
    std::uniform_int_distribution<qsizetype> pick(0, pool.size() - 1);
    QString text;
    while (text.size() < length) {
        const qsizetype at = pick(random);
        if (pool[at].isHighSurrogate() && at + 1 < pool.size() && pool[at + 1].isLowSurrogate()) {
            text += pool.mid(at, 2);
        } else if (pool[at].isLowSurrogate() && at > 0 && pool[at - 1].isHighSurrogate()) {
            text += pool.mid(at - 1, 2);
        } else {
            text += pool[at];
        }
    }
    return text;
}

}  // namespace

class tst_TransformReference : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomTextsMatchTheReference_data();
    void randomTextsMatchTheReference();
    void pairsAtEveryOffsetMatchTheReference_data();
    void pairsAtEveryOffsetMatchTheReference();
};

void tst_TransformReference::randomTextsMatchTheReference_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint16>("rotation");
    QTest::addColumn<qint16>("multiplier");
    // Through the widest lanes the processor has, as the program runs, or SSE2's, which a
    // processor without AVX2 takes.
    QTest::addColumn<bool>("sse2");
    const struct {
        const char* name;
        qint16 rotation, multiplier;
    } keys[] = {
        {"ROT13", 13, 1},
        {"affine 5 3", 5, 3},
        {"multiplier 0 gives N", 0, 0},
        {"multiplier 0 rotation -25 gives 5", -25, 0},
        {"multiplier -1", 0, -1},
        {"even multiplier", 0, 2},
        {"rotation below letters", -70, 1},
        {"large rotation", 30000, 1},
        {"most negative rotation", -32768, 1},
        {"Z fits, sum at the edge", 7, 364},
        {"Z overflows in the sum", 8, 364},
        {"Z overflows in the product", 0, 365},
        {"A overflows from 505", 0, 505},
        {"negative product overflows", 0, -365},
        {"negative sum overflows", -100, -364},
        {"most negative multiplier", 0, -32768},
    };
    const struct {
        const char* name;
        Kind kind;
    } kinds[] = {{"ascii", Kind::Ascii}, {"mixed", Kind::Mixed}, {"surrogates", Kind::Surrogates}};
    for (const bool sse2 : {false, true}) {
        for (const auto& kind : kinds) {
            for (const auto& key : keys) {
                QTest::addRow("%s, %s%s", kind.name, key.name, sse2 ? ", SSE2 lanes" : "")
                    << int(kind.kind) << key.rotation << key.multiplier << sse2;
            }
        }
    }
    // Keys drawn over the whole 16-bit range, where most texts overflow and some do not.
    std::mt19937 random(4);
    std::uniform_int_distribution<int> any(-32768, 32767);
    std::uniform_int_distribution<int> small(-400, 400);
    for (int k = 0; k < 12; ++k) {
        const auto rotation = qint16(any(random));
        const auto multiplier = qint16(k % 2 ? any(random) : small(random));
        QTest::addRow("surrogates, drawn key %d", k)
            << int(Kind::Surrogates) << rotation << multiplier << false;
    }
}

void tst_TransformReference::randomTextsMatchTheReference() {
    QFETCH(int, kind);
    QFETCH(qint16, rotation);
    QFETCH(qint16, multiplier);
    QFETCH(bool, sse2);
    const QString pool = characterPool(Kind(kind));
    std::mt19937 random(20261208u + unsigned(kind) * 7919u + quint16(rotation) * 31u +
                        quint16(multiplier));
    // Lengths around the widths the engine works in, then a few long texts.
    std::uniform_int_distribution<qsizetype> shortLength(0, 300);
    for (int round = 0; round < 400; ++round) {
        // Texts with few letters, so that keys under which letters overflow still succeed.
        const bool fewLetters = round % 3 == 0;
        const qsizetype length = round < 390 ? shortLength(random) : 20000;
        QString text = randomText(random, fewLetters ? pool.mid(52) : pool, length);
        const std::optional<QString> expected = transform(text, rotation, multiplier);
        const std::optional<QString> actual =
            sse2
                ? engineTransform(korvane::cipher::TransformLanes::Sse2, text, rotation, multiplier)
                : engineTransform(text, rotation, multiplier);
        if (expected != actual) {
            qWarning() << "text" << text.left(200) << "expected"
                       << expected.value_or(u"<overflow>"_qs) << "actual"
                       << actual.value_or(u"<overflow>"_qs);
        }
        QVERIFY(expected == actual);
    }
}

void tst_TransformReference::pairsAtEveryOffsetMatchTheReference_data() {
    QTest::addColumn<QString>("pair");
    // The ASCII letters between the special character and its second time.
    QTest::addColumn<int>("gap");
    QTest::newRow("pair that upper-cases to another") << QString::fromUtf8("\U00010428") << 70;
    QTest::newRow("pair that stays") << QString::fromUtf8("😀") << 70;
    QTest::newRow("high half alone") << QString(QChar(u'\xd801')) << 70;
    QTest::newRow("low half alone") << QString(QChar(u'\xdc28')) << 70;
    QTest::newRow("dotless i") << QString::fromUtf8("ı") << 70;
    // The second time across the end of the first block of text that the transform counts the
    // letters of, the first pair having moved the chunks off their even places.
    QTest::newRow("pair across the block the letters are counted by")
        << QString::fromUtf8("\U00010428") << 4030;
    QTest::newRow("dotless i across the block the letters are counted by")
        << QString::fromUtf8("ı") << 4030;
}

// One special character after every number of ASCII letters, so that it meets every border
// the engine divides a text at.
void tst_TransformReference::pairsAtEveryOffsetMatchTheReference() {
    QFETCH(QString, pair);
    QFETCH(int, gap);
    for (int offset = 0; offset < 200; ++offset) {
        const QString text = QString(offset, u'q') + pair + QString(gap, u'z') + pair;
        QCOMPARE(engineTransform(text, 3, 7), transform(text, 3, 7));
    }
}

QTEST_GUILESS_MAIN(tst_TransformReference)
#include "tst_transform_reference.moc"
