// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The letter and pair counts and the likely key: counts kept by edits must equal the counts of
// the text, and the key named for English prose enciphered under every key must be the one that
// reads it back, while random letters get no key.
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <array>
#include <optional>
#include <vector>

#include "cipher/english_pairs.h"
#include "cipher/inverse_key.h"
#include "cipher/letter_counts.h"
#include "cipher/likely_key.h"
#include "cipher/transform.h"

using namespace korvane::cipher;

namespace {

constexpr std::array<int, 12> kMultipliers = {1, 3, 5, 7, 9, 11, 15, 17, 19, 21, 23, 25};

LetterCounts countsOf(QStringView text) {
    LetterCounts counts;
    counts.add(text);
    return counts;
}

PairCounts pairsOf(QStringView text) {
    PairCounts pairs;
    pairs.add(spanWithEdges(text, 0, text.size()));
    return pairs;
}

// The letters A–Z of the engine's own upper-casing of the text, counted one by one.
std::array<qint64, 26> lettersAfterUpperCasing(const QString& text) {
    std::array<qint64, 26> counts{};
    const QString upper = TransformText(text, 0, 1).value_or(QString());
    for (QChar c : upper) {
        if (c >= u'A' && c <= u'Z')
            ++counts[size_t(c.unicode() - u'A')];
    }
    return counts;
}

bool sameCounts(const LetterCounts& counts, const std::array<qint64, 26>& expected) {
    for (int letter = 0; letter < 26; ++letter) {
        if (counts.count(letter) != expected[size_t(letter)])
            return false;
    }
    return true;
}

// Two letters side by side in the upper-cased text, at first × 26 + second.
bool samePairs(const PairCounts& pairs, const QString& text) {
    std::array<qint64, 26 * 26> expected{};
    const QString upper = TransformText(text, 0, 1).value_or(QString());
    for (qsizetype i = 1; i < upper.size(); ++i) {
        const char16_t first = upper[i - 1].unicode();
        const char16_t second = upper[i].unicode();
        if (first >= u'A' && first <= u'Z' && second >= u'A' && second <= u'Z')
            ++expected[size_t(first - u'A') * 26 + size_t(second - u'A')];
    }
    for (int pair = 0; pair < 26 * 26; ++pair) {
        if (pairs.count(pair / 26, pair % 26) != expected[size_t(pair)])
            return false;
    }
    return true;
}

const QString& englishProse() {
    static const QString text = [] {
        QFile file(QStringLiteral(KORVANE_TEST_DATA "/english_prose.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return text;
}

// Consecutive pieces of the text holding `letters` letters each, at most `most` of them.
std::vector<QString> piecesOf(const QString& text, int letters, int most) {
    std::vector<QString> pieces;
    qsizetype start = 0;
    int inPiece = 0;
    for (qsizetype i = 0; i < text.size() && int(pieces.size()) < most; ++i) {
        const QChar upper = text[i].toUpper();
        if (upper >= u'A' && upper <= u'Z' && ++inPiece == letters) {
            pieces.push_back(text.mid(start, i + 1 - start));
            start = i + 1;
            inPiece = 0;
        }
    }
    return pieces;
}

}  // namespace

class tst_LikelyKey : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void counts_data();
    void counts();
    void countsFollowEdits();
    void englishTable();
    void prose_data();
    void prose();
    void randomLetters_data();
    void randomLetters();
};

void tst_LikelyKey::counts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("pairs");

    QTest::newRow("empty") << QString() << qint64(0) << qint64(0);
    QTest::newRow("both cases alike") << QStringLiteral("aA zZ, Hello!") << qint64(9) << qint64(6);
    QTest::newRow("digits and signs are no letters")
        << QStringLiteral("0-9 @[`{ ~\n") << qint64(0) << qint64(0);
    QTest::newRow("dotless i and long s have capitals I and S")
        << QStringLiteral("\u0131\u017F") << qint64(2) << qint64(1);
    QTest::newRow("accented and other scripts stay out")
        << QStringLiteral("\u00E9\u00DF\u0434\uFF21\u212A") << qint64(0) << qint64(0);
    QTest::newRow("astral letters stay out")
        << QString::fromUcs4(U"\U0001D400\U00010428x") << qint64(1) << qint64(0);
    QTest::newRow("lone halves of pairs stay out")
        << QStringLiteral("\xD835 a \xDC00") << qint64(1) << qint64(0);
    QTest::newRow("no pair across what is no letter")
        << QStringLiteral("a\u00E9b-c") + QChar(0xD835) + u'd' << qint64(4) << qint64(0);
    QTest::newRow("a long text is tallied as a short one")
        << QStringLiteral("Hello, World! ").repeated(40) << qint64(400) << qint64(320);
}

// The counts are those of the letters and the pairs of letters the transform's upper-casing
// gives.
void tst_LikelyKey::counts() {
    QFETCH(QString, text);
    QFETCH(qint64, total);
    QFETCH(qint64, pairs);

    const LetterCounts counts = countsOf(text);
    QVERIFY(sameCounts(counts, lettersAfterUpperCasing(text)));
    QCOMPARE(counts.total(), total);
    QVERIFY(samePairs(pairsOf(text), text));
    QCOMPARE(pairsOf(text).total(), pairs);
}

// A text put through seeded random edits, with spans that start and end anywhere, also
// inside a surrogate pair: counts kept by removing each edit's old span and adding its new one,
// the pair counts with the unit either side of each span, stay the counts of the whole text.
void tst_LikelyKey::countsFollowEdits() {
    const QString pieces[] = {QStringLiteral("a"),
                              QStringLiteral("Z"),
                              QStringLiteral(" "),
                              QStringLiteral("\u0131"),
                              QStringLiteral("\u00E9"),
                              QString::fromUcs4(U"\U0001D400"),
                              QString::fromUcs4(U"\U00010428"),
                              QStringLiteral("q\n")};
    QRandomGenerator random{20261208};
    QString text;
    LetterCounts counts;
    PairCounts pairs;
    for (int edit = 0; edit < 3000; ++edit) {
        const qsizetype position = random.bounded(int(text.size()) + 1);
        const qsizetype removed =
            random.bounded(int(std::min<qsizetype>(text.size() - position, 6)) + 1);
        QString added;
        for (int i = random.bounded(5); i > 0; --i)
            added += pieces[random.bounded(int(std::size(pieces)))];
        counts.remove(QStringView(text).mid(position, removed));
        pairs.remove(spanWithEdges(text, position, removed));
        text.replace(position, removed, added);
        counts.add(added);
        pairs.add(spanWithEdges(text, position, added.size()));
        QVERIFY2(counts == countsOf(text), qPrintable(QStringLiteral("edit %1").arg(edit)));
        QVERIFY2(pairs == pairsOf(text), qPrintable(QStringLiteral("edit %1").arg(edit)));
    }
    QVERIFY(sameCounts(counts, lettersAfterUpperCasing(text)));
    QVERIFY(samePairs(pairs, text));
}

// The table of English pairs the ranking reads is what the engine's own counts give for the
// novel it cites, so the table and its source have not drifted apart.
void tst_LikelyKey::englishTable() {
    QFile file(QStringLiteral(KORVANE_ENGLISH_DATA "/pride_and_prejudice.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString novel = QString::fromUtf8(file.readAll());
    const LetterCounts letters = countsOf(novel);
    const PairCounts pairs = pairsOf(novel);
    for (int second = 0; second < 26; ++second) {
        qint64 followers = 0;
        for (int first = 0; first < 26; ++first) {
            QCOMPARE(pairs.count(first, second), kEnglishPairCounts[size_t(first * 26 + second)]);
            followers += pairs.count(first, second);
        }
        // A letter that follows no other begins a run.
        QCOMPARE(letters.count(second) - followers, kEnglishRunStarts[size_t(second)]);
    }
}

void tst_LikelyKey::prose_data() {
    QTest::addColumn<int>("letters");
    QTest::addColumn<double>("leastRight");  // share of pieces and keys named rightly

    QTest::newRow("15 letters") << 15 << 0.80;
    QTest::newRow("20 letters") << 20 << 0.80;
    QTest::newRow("30 letters") << 30 << 0.95;
    QTest::newRow("40 letters") << 40 << 0.99;
    QTest::newRow("60 letters") << 60 << 0.99;
    QTest::newRow("100 letters") << 100 << 0.99;
    QTest::newRow("200 letters") << 200 << 0.99;
    QTest::newRow("500 letters") << 500 << 0.99;
    QTest::newRow("1000 letters") << 1000 << 0.99;
    QTest::newRow("2000 letters") << 2000 << 0.99;
}

// Pieces of English prose enciphered with TransformText under every one of the 312 keys: the key
// named must be the inverse of the key used, and for a piece left as it stands no key is named.
// A key named wrongly is a worse answer than none, and stays rarer than one time in 200.
void tst_LikelyKey::prose() {
    QFETCH(int, letters);
    QFETCH(double, leastRight);
    QVERIFY2(!englishProse().isEmpty(), "the English prose could not be read");

    const std::vector<QString> pieces = piecesOf(englishProse(), letters, 100);
    QVERIFY(pieces.size() >= 7);
    qint64 trials = 0;
    qint64 right = 0;
    qint64 wrong = 0;
    // A text this long may be ranked by its single letters alone: they must name the same key.
    const bool byLettersToo = letters >= kLettersAloneMinLetters;
    for (const QString& piece : pieces) {
        for (int multiplier : kMultipliers) {
            for (int rotation = 0; rotation < 26; ++rotation) {
                const Key key{.rotation = qint16(rotation), .multiplier = qint16(multiplier)};
                const QString enciphered =
                    TransformText(piece, key.rotation, key.multiplier).value();
                const std::optional<Key> named =
                    likelyKey(countsOf(enciphered), pairsOf(enciphered));
                if (byLettersToo)
                    QCOMPARE(likelyKeyByLetters(countsOf(enciphered)), named);
                const Key readsBack = inverseOf(key).inverse;
                const bool asItStands = readsBack == Key{.rotation = 0, .multiplier = 1};
                ++trials;
                if (asItStands ? !named : named == readsBack) {
                    ++right;
                } else if (named) {
                    ++wrong;
                }
            }
        }
    }
    const double rightShare = double(right) / double(trials);
    const double wrongShare = double(wrong) / double(trials);
    qInfo("%4d letters: %5.1f %% named rightly, %4.2f %% wrongly, of %lld pieces and keys", letters,
          100 * rightShare, 100 * wrongShare, static_cast<long long>(trials));
    QVERIFY2(rightShare >= leastRight, qPrintable(QString::number(rightShare)));
    QVERIFY2(wrongShare < 0.005, qPrintable(QString::number(wrongShare)));
}

void tst_LikelyKey::randomLetters_data() {
    QTest::addColumn<int>("letters");
    for (int letters : {15, 20, 30, 40, 60, 100, 200, 500, 2000})
        QTest::addRow("%d letters", letters) << letters;
}

// Letters drawn at random, in words of three to eight, read as no English: a key is named for
// fewer than one text in a hundred.
void tst_LikelyKey::randomLetters() {
    QFETCH(int, letters);
    QRandomGenerator random{quint32(letters)};
    constexpr int kTexts = 5000;
    int named = 0;
    for (int t = 0; t < kTexts; ++t) {
        QString text;
        int word = 0;
        for (int i = 0; i < letters; ++i) {
            if (word-- == 0) {
                text += u' ';
                word = random.bounded(3, 9);
            }
            text += QChar(char16_t(u'a' + random.bounded(26)));
        }
        named += likelyKey(countsOf(text), pairsOf(text)).has_value();
        if (letters >= kLettersAloneMinLetters)
            named += likelyKeyByLetters(countsOf(text)).has_value();
    }
    const double share = double(named) / kTexts;
    qInfo("%4d random letters: a key named for %4.2f %% of %d texts", letters, 100 * share, kTexts);
    QVERIFY2(share < 0.01, qPrintable(QString::number(share)));
}

QTEST_APPLESS_MAIN(tst_LikelyKey)
#include "tst_likely_key.moc"
