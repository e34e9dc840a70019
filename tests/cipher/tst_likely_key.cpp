// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The letter and triple counts and the likely reading: counts kept by edits must equal the counts
// of the text, and the key and language named for prose of every language enciphered under every
// key must be those that read it back, while random letters and plain text get no key.
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "cipher/inverse_key.h"
#include "cipher/language_tables.h"
#include "cipher/letter_counts.h"
#include "cipher/likely_key.h"
#include "cipher/transform.h"

using namespace korvane::cipher;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(korvane::cipher::Language)

namespace {

constexpr std::array<int, 12> kMultipliers = {1, 3, 5, 7, 9, 11, 15, 17, 19, 21, 23, 25};

LetterCounts countsOf(QStringView text) {
    LetterCounts counts;
    counts.add(text);
    return counts;
}

TripleCounts triplesOf(QStringView text) {
    TripleCounts triples;
    triples.add(spanWithEdges(text, 0, text.size()));
    return triples;
}

LetterScores scoresOf(QStringView text) {
    LetterScores scores;
    scores.follow(countsOf(text));
    return scores;
}

// The text's triples are added to counts kept empty between rankings and taken away after,
// which costs the text's length where a fresh count would clear every triple.
ReadingRanking rankingOf(const QString& text) {
    static TripleCounts triples;
    const SpanWithEdges whole = spanWithEdges(text, 0, text.size());
    triples.add(whole);
    const ReadingRanking ranking =
        rankReadings(scoresOf(text), triples, wholeWordsOf(text), otherLettersOf(text));
    triples.remove(whole);
    return ranking;
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

// The letters of the text counted from their alphabet positions, one byte each and worked out
// beforehand from the engine's upper-casing (255 for no letter), as the transform's lanes leave
// them.
LetterCounts countsOfPositions(const QString& text) {
    const QString upper = TransformText(text, 0, 1).value_or(QString());
    std::vector<quint8> storage(size_t(upper.size()) + 32);
    void* aligned = storage.data();
    size_t room = storage.size();
    auto* positions = static_cast<quint8*>(std::align(32, size_t(upper.size()), aligned, room));
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const QChar c = upper[i];
        positions[i] = c >= u'A' && c <= u'Z' ? quint8(c.unicode() - u'A') : quint8(255);
    }
    LetterCounts counts;
    counts.addPositions(positions, upper.size());
    return counts;
}

bool sameCounts(const LetterCounts& counts, const std::array<qint64, 26>& expected) {
    for (int letter = 0; letter < 26; ++letter) {
        if (counts.count(letter) != expected[size_t(letter)])
            return false;
    }
    return true;
}

// What a unit of the upper-cased text is beside a letter: a letter A–Z, another letter or a
// combining mark (neither half of a surrogate pair), or a boundary.
int symbolOf(QChar unit) {
    if (unit >= u'A' && unit <= u'Z')
        return int(unit.unicode() - u'A');
    return !unit.isSurrogate() && (unit.isLetter() || unit.isMark()) ? kOtherLetter : kBoundary;
}

// Each letter of the upper-cased text with what stands either side of it: a letter A–Z, another
// letter, a boundary or the text's edge.
bool sameTriples(const TripleCounts& triples, const QString& text) {
    const QString upper = TransformText(text, 0, 1).value_or(QString());
    const auto symbolAt = [&upper](qsizetype at) {
        return at < 0 || at >= upper.size() ? kTextEdge : symbolOf(upper[at]);
    };
    std::map<std::array<int, 3>, qint64> expected;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        if (symbolAt(i) < 26)
            ++expected[{symbolAt(i - 1), symbolAt(i), symbolAt(i + 1)}];
    }
    for (int before = 0; before < kNeighbours; ++before) {
        for (int letter = 0; letter < 26; ++letter) {
            for (int after = 0; after < kNeighbours; ++after) {
                const auto found = expected.find({before, letter, after});
                if (triples.count(before, letter, after) !=
                    (found == expected.end() ? 0 : found->second))
                    return false;
            }
        }
    }
    return true;
}

// The held-out prose of a language in tests/cipher/data, written for these tests: none of it is in
// the text the language's statistics were counted from, nor in that the bounds were chosen on.
const QString& proseOf(Language language) {
    static const std::array<QString, kLanguages> texts = [] {
        const char* names[] = {"english", "german", "french",    "spanish",
                               "italian", "dutch",  "portuguese"};
        std::array<QString, kLanguages> read;
        for (size_t i = 0; i < kLanguages; ++i) {
            QFile file(QStringLiteral(KORVANE_TEST_DATA "/%1_prose.txt").arg(names[i]));
            if (file.open(QIODevice::ReadOnly))
                read[i] = QString::fromUtf8(file.readAll());
        }
        return read;
    }();
    return texts[size_t(language)];
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
    QTest::addColumn<QStringList>("wholeWords");
    QTest::addColumn<QString>("otherLetters");

    QTest::newRow("empty") << QString() << qint64(0) << QStringList() << QString();
    QTest::newRow("both cases alike") << QStringLiteral("aA zZ, Hello!") << qint64(9)
                                      << QStringList{u"HELLO"_s, u"ZZ"_s} << QString();
    QTest::newRow("digits and signs are no letters")
        << QStringLiteral("0-9 @[`{ ~\n") << qint64(0) << QStringList() << QString();
    QTest::newRow("dotless i and long s have capitals I and S")
        << QStringLiteral(" \u0131\u017F ") << qint64(2) << QStringList{u"IS"_s} << QString();
    QTest::newRow("accented letters and other scripts are letters outside A-Z, in words")
        << QStringLiteral(" n\u00E3o \u00E9\u00DF\u0434\uFF21\u212A ") << qint64(2)
        << QStringList{u"N\u00C3O"_s, u"\u00C9\u00DF\u0414\uFF21\u212A"_s}
        << QStringLiteral("\u00C3\u00C9\u00DF\u0414\u212A\uFF21");
    QTest::newRow("combining marks are letters outside A-Z")
        << QStringLiteral(" na\u0303o e ") << qint64(4) << QStringList{u"E"_s, u"NA\u0303O"_s}
        << QStringLiteral("\u0303");
    QTest::newRow("astral letters stay out") << QString::fromUcs4(U"\U0001D400\U00010428x ")
                                             << qint64(1) << QStringList{u"X"_s} << QString();
    QTest::newRow("lone halves of pairs stay out")
        << QStringLiteral("\xD835 a \xDC00") << qint64(1) << QStringList{u"A"_s} << QString();
    QTest::newRow("a word at an edge of the text may be cut short")
        << QStringLiteral("meet at noon") << qint64(10) << QStringList{u"AT"_s} << QString();
    QTest::newRow("a word that comes again is counted again")
        << QStringLiteral(" to be or not to be ") << qint64(13)
        << QStringList{u"BE"_s, u"BE"_s, u"NOT"_s, u"OR"_s, u"TO"_s, u"TO"_s} << QString();
    // Texts long enough to be counted in vector lanes, with the signs next to the letters in
    // ASCII, one letter more often than a lane's byte can count, and a letter outside ASCII.
    QTest::newRow("a long text of both cases and the signs beside them")
        << u"aBz@[`{ "_s.repeated(3000) << qint64(9000) << QStringList(2999, u"ABZ"_s) << QString();
    QTest::newRow("one letter ten thousand times")
        << QString(10000, u'e') << qint64(10000) << QStringList() << QString();
    QTest::newRow("a dotless i far into a long text")
        << u"abc "_s.repeated(1000) + u"\u0131"_s + u"abc "_s.repeated(1000) << qint64(6001)
        << QStringList(1998, u"ABC"_s) + QStringList{u"IABC"_s} << QString();
}

// The counts are those of the letters, of each letter with its neighbours, of the whole words and
// of the letters outside A–Z the transform's upper-casing gives.
void tst_LikelyKey::counts() {
    QFETCH(QString, text);
    QFETCH(qint64, total);
    QFETCH(QStringList, wholeWords);
    QFETCH(QString, otherLetters);

    const LetterCounts counts = countsOf(text);
    QVERIFY(sameCounts(counts, lettersAfterUpperCasing(text)));
    QCOMPARE(counts.total(), total);
    // The same from the letters' positions, and from the transform that counts them as it reads
    // the text; and twice as many when the counts are added to themselves.
    QVERIFY(countsOfPositions(text) == counts);
    LetterCounts transformed;
    QVERIFY(TransformText(text, 0, 1, &transformed).has_value());
    QVERIFY(transformed == counts);
    transformed.add(counts);
    QCOMPARE(transformed.total(), 2 * total);
    QVERIFY(sameTriples(triplesOf(text), text));
    QStringList words;
    for (const auto& [word, count] : wholeWordsOf(text)) {
        QString spelt;
        for (char16_t letter : word)
            spelt += letter < 26 ? QChar(u'A' + letter) : QChar(letter);
        for (qint64 i = 0; i < count; ++i)
            words.append(spelt);
    }
    QCOMPARE(words, wholeWords);
    QString others;
    for (const auto& [letter, count] : otherLettersOf(text))
        others += QString(qsizetype(count), QChar(letter));
    QCOMPARE(others, otherLetters);
}

// A text put through seeded random edits, with spans that start and end anywhere, also
// inside a surrogate pair: counts kept by removing each edit's old span and adding its new one,
// the triples with the units either side of each span, stay the counts of the whole text, and
// the readings' letter scores that follow the counts stay those worked out afresh, to the bit.
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
    TripleCounts triples;
    LetterScores scores;
    for (int edit = 0; edit < 3000; ++edit) {
        const qsizetype position = random.bounded(int(text.size()) + 1);
        const qsizetype removed =
            random.bounded(int(std::min<qsizetype>(text.size() - position, 6)) + 1);
        QString added;
        for (int i = random.bounded(5); i > 0; --i)
            added += pieces[random.bounded(int(std::size(pieces)))];
        counts.remove(QStringView(text).mid(position, removed));
        triples.remove(spanWithEdges(text, position, removed));
        text.replace(position, removed, added);
        counts.add(added);
        triples.add(spanWithEdges(text, position, added.size()));
        QVERIFY2(counts == countsOf(text), qPrintable(QStringLiteral("edit %1").arg(edit)));
        QVERIFY2(triples == triplesOf(text), qPrintable(QStringLiteral("edit %1").arg(edit)));
        scores.follow(counts);
        QVERIFY2(scores.scores() == scoresOf(text).scores(),
                 qPrintable(QStringLiteral("edit %1").arg(edit)));
    }
    QVERIFY(sameCounts(counts, lettersAfterUpperCasing(text)));
    QVERIFY(sameTriples(triples, text));
}

// The English triples the ranking reads are what the engine's own counts give for the prose they
// cite, the novel and the manual, the edges of each file taken as boundaries, so that the script
// that writes the tables reads letters as the engine does.
void tst_LikelyKey::englishTable() {
    std::map<int, qint64> counted;
    const auto inFile = [](int symbol) { return symbol == kTextEdge ? kBoundary : symbol; };
    for (const char* name : {"pride_and_prejudice.txt", "handbook.txt"}) {
        QFile file(QStringLiteral(KORVANE_ENGLISH_DATA "/%1").arg(QLatin1StringView(name)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const TripleCounts prose = triplesOf(QString::fromUtf8(file.readAll()));
        for (int before = 0; before < kNeighbours; ++before) {
            for (int letter = 0; letter < 26; ++letter) {
                for (int after = 0; after < kNeighbours; ++after) {
                    if (const qint64 count = prose.count(before, letter, after); count != 0)
                        counted[(inFile(before) * 26 + letter) * 28 + inFile(after)] += count;
                }
            }
        }
    }
    const LanguageTable& english = kLanguageTables[size_t(Language::English)];
    std::map<int, qint64> tabled;
    for (size_t i = 0; i < english.tripleCount; ++i)
        tabled[english.triples[i].triple] = english.triples[i].count;
    QCOMPARE(tabled, counted);
}

void tst_LikelyKey::prose_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("letters");
    QTest::addColumn<double>("leastRight");    // share of pieces and keys named rightly
    QTest::addColumn<double>("leastInThree");  // share with the right key among three readings
    QTest::addColumn<double>(
        "mostWrongLanguage");  // share named with the right key in another language

    for (const auto& [letters, right, inThree] :
         std::initializer_list<std::tuple<int, double, double>>{{10, 0.94, 0.98},
                                                                {12, 0.99, 0.99},
                                                                {15, 1.00, 0.99},
                                                                {20, 1.00, 0.99},
                                                                {100, 1.00, 0.99},
                                                                {500, 1.00, 0.99},
                                                                {1000, 1.00, 0.99},
                                                                {2000, 1.00, 0.99}}) {
        QTest::addRow("English, %d letters", letters)
            << Language::English << letters << right << inThree << 0.003;
    }
    // Below 12 letters another language is not named. What each language reaches at 12, 15, 20
    // and 40 letters, and how often it is taken for another one; Spanish and Portuguese are taken
    // for each other most.
    constexpr std::array<int, 4> kNamedLengths = {12, 15, 20, 40};
    const std::tuple<Language, const char*, std::array<double, 4>, double> others[] = {
        {Language::German, "German", {0.95, 0.98, 0.99, 1.00}, 0.01},
        {Language::French, "French", {0.93, 1.00, 1.00, 1.00}, 0.01},
        {Language::Spanish, "Spanish", {0.80, 0.91, 0.98, 1.00}, 0.02},
        {Language::Italian, "Italian", {0.77, 0.95, 0.99, 1.00}, 0.03},
        {Language::Dutch, "Dutch", {0.92, 0.99, 0.98, 1.00}, 0.01},
        {Language::Portuguese, "Portuguese", {0.80, 0.91, 0.96, 1.00}, 0.05}};
    for (const auto& [language, name, right, wrongLanguage] : others) {
        QTest::addRow("%s, 10 letters", name) << language << 10 << 0.0 << 0.97 << wrongLanguage;
        for (size_t i = 0; i < kNamedLengths.size(); ++i) {
            QTest::addRow("%s, %d letters", name, kNamedLengths[i])
                << language << kNamedLengths[i] << right[i] << 0.99 << wrongLanguage;
        }
    }
}

// Pieces of prose enciphered with TransformText under every one of the 312 keys: the reading named
// must be the key that reads it back and the language it is written in, and for a piece left as
// it stands no key is named. A row reads up to 100 pieces, as many as its prose holds (English 100
// up to 100 letters, 31 of 500, 7 of 2000; another language 100 up to 20 letters and about 60 of
// 40), each under all 312 keys: 31,200 trials for the most. The keys of one piece score alike up
// to a renumbering, so that a share moves by whole pieces. A key named wrongly is a worse answer
// than none, and stays rarer than three times in a thousand; a language named wrongly with the
// right key is rarer than the row says.
void tst_LikelyKey::prose() {
    QFETCH(Language, language);
    QFETCH(int, letters);
    QFETCH(double, leastRight);
    QFETCH(double, leastInThree);
    QFETCH(double, mostWrongLanguage);
    QVERIFY2(!proseOf(language).isEmpty(), "the prose could not be read");

    const std::vector<QString> pieces = piecesOf(proseOf(language), letters, 100);
    QVERIFY(pieces.size() >= 7);
    qint64 trials = 0;
    qint64 right = 0;
    qint64 wrongKey = 0;
    qint64 wrongLanguage = 0;
    qint64 inThree = 0;
    qint64 plainNamed = 0;
    // A text this long may be ranked by its single letters alone: they must name the same reading.
    const bool byLettersToo = letters >= kLettersAloneMinLetters;
    for (const QString& piece : pieces) {
        for (int multiplier : kMultipliers) {
            for (int rotation = 0; rotation < 26; ++rotation) {
                const Key key{.rotation = qint16(rotation), .multiplier = qint16(multiplier)};
                const QString enciphered =
                    TransformText(piece, key.rotation, key.multiplier).value();
                const ReadingRanking ranking = rankingOf(enciphered);
                const std::optional<Reading> named = sureReading(ranking);
                if (byLettersToo)
                    QCOMPARE(sureReading(rankReadingsByLetters(countsOf(enciphered))), named);
                const Key readsBack = inverseOf(key).inverse;
                const auto readings = ranking.readings.begin();
                inThree +=
                    std::any_of(readings, readings + ptrdiff_t(ranking.readingCount),
                                [&](const Reading& reading) { return reading.key == readsBack; });
                ++trials;
                if (readsBack == Key{.rotation = 0, .multiplier = 1}) {
                    plainNamed += named.has_value();
                    right += !named;
                } else if (named && named->key != readsBack) {
                    ++wrongKey;
                } else if (named && named->language != language) {
                    ++wrongLanguage;
                } else {
                    right += named.has_value();
                }
            }
        }
    }
    const double share = 1.0 / double(trials);
    qInfo(
        "%4d letters: %5.1f %% named rightly, %4.2f %% with a wrong key, %4.2f %% in a wrong "
        "language, %5.1f %% with the key among three readings; plain text given a key %lld "
        "times of %zu",
        letters, 100 * share * double(right), 100 * share * double(wrongKey),
        100 * share * double(wrongLanguage), 100 * share * double(inThree),
        static_cast<long long>(plainNamed), pieces.size());
    QVERIFY2(share * double(right) >= leastRight,
             qPrintable(QString::number(share * double(right))));
    QVERIFY2(share * double(inThree) >= leastInThree,
             qPrintable(QString::number(share * double(inThree))));
    QVERIFY2(share * double(wrongKey) < 0.003,
             qPrintable(QString::number(share * double(wrongKey))));
    QVERIFY2(share * double(wrongLanguage) <= mostWrongLanguage,
             qPrintable(QString::number(share * double(wrongLanguage))));
    // Every piece is left as it stands once: plain text is given a key for under one in 200.
    QVERIFY2(double(plainNamed) < 0.005 * double(pieces.size()),
             qPrintable(QString::number(plainNamed)));
}

void tst_LikelyKey::randomLetters_data() {
    QTest::addColumn<int>("letters");
    for (int letters : {10, 12, 15, 20, 40, 100, 2000})
        QTest::addRow("%d letters", letters) << letters;
}

// Letters drawn at random, in words of three to eight, read as no language: a key is named for
// fewer than one text in 200.
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
        named += sureReading(rankingOf(text)).has_value();
        if (letters >= kLettersAloneMinLetters)
            named += sureReading(rankReadingsByLetters(countsOf(text))).has_value();
    }
    const double share = double(named) / kTexts;
    qInfo("%4d random letters: a key named for %4.2f %% of %d texts", letters, 100 * share, kTexts);
    QVERIFY2(share < 0.005, qPrintable(QString::number(share)));
}

QTEST_APPLESS_MAIN(tst_LikelyKey)
#include "tst_likely_key.moc"
