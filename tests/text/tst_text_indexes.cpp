// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The indexes a document keeps of its text, against a plain string put through the same edits
// and looked at afresh after each: the line index (edits on the step line and around it, line
// breaks typed and taken away there, edits that jump back and forth across many lines, U+2028
// and carriage returns, breaks at every edge of the blocks the search reads, the empty text) and
// the code-point index (surrogate pairs typed, split and joined by edits, lone halves).
#include <QRandomGenerator>
#include <QTest>
#include <vector>

#include "text/model/code_point_index.h"
#include "text/model/line_index.h"

using korvane::text::CodePointIndex;
using korvane::text::LineIndex;
using namespace Qt::StringLiterals;

namespace {

struct Edit {
    qsizetype position;
    qsizetype removed;
    QString inserted;
};
using Edits = QList<Edit>;

// Where the lines of `text` start, found character by character.
std::vector<qsizetype> startsOf(const QString& text) {
    std::vector<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || text[i] == QChar(QChar::LineSeparator))
            starts.push_back(i + 1);
    }
    return starts;
}

// Compares the whole index with the lines of `text`; the failure names the line.
bool matches(const LineIndex& index, const QString& text) {
    const std::vector<qsizetype> starts = startsOf(text);
    if (index.lineCount() != int(starts.size())) {
        qWarning("%d lines, not %d", index.lineCount(), int(starts.size()));
        return false;
    }
    qsizetype longest = 0;
    for (int line = 0; line < index.lineCount(); ++line) {
        const qsizetype end =
            std::size_t(line) + 1 < starts.size() ? starts[std::size_t(line) + 1] - 1 : text.size();
        longest = std::max(longest, end - starts[std::size_t(line)]);
        if (index.lineStart(line) != starts[std::size_t(line)] ||
            index.lineEnd(line, text.size()) != end) {
            qWarning("line %d spans %lld..%lld, not %lld..%lld", line,
                     qlonglong(index.lineStart(line)), qlonglong(index.lineEnd(line, text.size())),
                     qlonglong(starts[std::size_t(line)]), qlonglong(end));
            return false;
        }
        // The first and last character of the line, its break included, and the one before.
        for (qsizetype at : {starts[std::size_t(line)], end}) {
            if (index.lineAt(at) != line) {
                qWarning("position %lld is on line %d, not %d", qlonglong(at), index.lineAt(at),
                         line);
                return false;
            }
        }
    }
    int longestCount = 0;
    for (std::size_t line = 0; line < starts.size(); ++line) {
        const qsizetype end = line + 1 < starts.size() ? starts[line + 1] - 1 : text.size();
        longestCount += end - starts[line] == longest;
    }
    const LineIndex::LongestLine found = index.longestLine(text.size());
    if (found.length != longest || found.count != longestCount) {
        qWarning("the longest line is %lld long, %d of them, not %lld, %d of them",
                 qlonglong(found.length), found.count, qlonglong(longest), longestCount);
        return false;
    }
    return true;
}

// Compares the code points counted before every position of `text` with the index, and the
// position of every offset; the failure names the position.
bool matches(const CodePointIndex& index, const QString& text) {
    qsizetype offset = 0;
    for (qsizetype position = 0; position <= text.size(); ++position) {
        const bool inPair = position > 0 && position < text.size() &&
                            text[position].isLowSurrogate() && text[position - 1].isHighSurrogate();
        if (index.offsetOf(position) != offset) {
            qWarning("%lld code points before %lld, not %lld", qlonglong(index.offsetOf(position)),
                     qlonglong(position), qlonglong(offset));
            return false;
        }
        if (!inPair && index.positionOf(offset, text.size()) != position) {
            qWarning("offset %lld at %lld, not %lld", qlonglong(offset),
                     qlonglong(index.positionOf(offset, text.size())), qlonglong(position));
            return false;
        }
        if (!inPair)
            ++offset;
    }
    return true;
}

// Makes the edit in the text and in both indexes, as the document does.
void edit(QString& text, LineIndex& lines, CodePointIndex& pairs, qsizetype position,
          qsizetype removed, const QString& inserted) {
    const LineIndex::Edit lineEdit = lines.prepare(position, removed, inserted);
    text.replace(position, removed, inserted);
    lines.apply(lineEdit);
    const qsizetype from = std::max<qsizetype>(0, position - 1);
    const qsizetype to = std::min(text.size(), position + inserted.size() + 1);
    pairs.replace(position, removed, inserted.size(), QStringView(text).sliced(from, to - from),
                  from);
}

// Lines of `count` characters after a break, "0123\n", "1234\n" and so on.
QString lines(int lines, int length) {
    QString text;
    for (int line = 0; line < lines; ++line) {
        for (int i = 0; i < length; ++i)
            text += QChar(u'0' + (line + i) % 10);
        text += u'\n';
    }
    return text;
}

// 100 characters with line feeds and U+2028 at the first and last unit of the blocks of 8, 16
// and 32 units that the search reads at a time, and two breaks in a row.
QString blockEdgeBreaks() {
    QString text(100, u'x');
    for (const qsizetype at : {0, 7, 8, 15, 31, 32, 63, 64, 65, 98})
        text[at] = u'\n';
    for (const qsizetype at : {16, 47, 48, 95, 99})
        text[at] = QChar(QChar::LineSeparator);
    return text;
}

}  // namespace

Q_DECLARE_METATYPE(Edits)

class tst_TextIndexes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editsMatchTheLines_data();
    void editsMatchTheLines();
    void randomEditsMatchTheLines_data();
    void randomEditsMatchTheLines();
};

void tst_TextIndexes::editsMatchTheLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Edits>("edits");

    const QString ten = lines(10, 4);  // lines start every 5 characters
    QTest::newRow("empty text") << QString() << Edits{};
    QTest::newRow("typed into the empty text")
        << QString() << Edits{{0, 0, u"a"_s}, {1, 0, u"\n"_s}, {2, 0, u"b"_s}, {0, 3, QString()}};
    QTest::newRow("a break alone") << u"\n"_s << Edits{{0, 1, QString()}, {0, 0, u"\x2028"_s}};
    QTest::newRow("typing on one line")
        << ten << Edits{{12, 0, u"x"_s}, {13, 0, u"y"_s}, {14, 0, u"z"_s}, {14, 1, QString()}};
    QTest::newRow("a break typed at the step, then typing after it")
        << ten << Edits{{12, 0, u"x"_s}, {13, 0, u"\n"_s}, {14, 0, u"y"_s}, {15, 0, u"\n"_s}};
    QTest::newRow("breaks typed at the step, then taken away by Backspace")
        << ten << Edits{{12, 0, u"\n"_s}, {13, 0, u"\n"_s}, {13, 1, QString()}, {12, 1, QString()}};
    QTest::newRow("the break ending the step line removed")
        << ten << Edits{{12, 0, u"x"_s}, {15, 1, QString()}, {14, 0, u"y"_s}};
    QTest::newRow("the break before the step line removed")
        << ten << Edits{{12, 0, u"x"_s}, {9, 1, QString()}, {9, 0, u"\n"_s}};
    QTest::newRow("edits going backwards line by line")
        << ten << Edits{{42, 0, u"ab"_s},   {37, 0, u"\n"_s}, {31, 2, u"c"_s}, {22, 0, u"\n\n"_s},
                        {11, 6, QString()}, {2, 0, u"d"_s},   {0, 0, u"\n"_s}};
    QTest::newRow("edits jumping to the end and back")
        << ten << Edits{{2, 0, u"ab"_s},    {52, 0, u"\nc"_s}, {3, 1, u"\n"_s},
                        {54, 1, QString()}, {0, 5, QString()}, {46, 0, u"e\nf"_s}};
    QTest::newRow("a span of lines replaced by another")
        << ten << Edits{{12, 0, u"x"_s}, {8, 20, u"1\n2\n3\n4\n5\n6"_s}, {4, 30, u"\n"_s}};
    QTest::newRow("everything removed and typed again")
        << ten << Edits{{12, 0, u"x"_s}, {0, 51, QString()}, {0, 0, u"q\nr"_s}, {3, 0, u"\n"_s}};
    QTest::newRow("the last line edited")
        << ten << Edits{{50, 0, u"abc"_s}, {51, 1, u"\n"_s}, {49, 1, QString()}, {49, 0, u"\n"_s}};
    QTest::newRow("breaks at the edges of the search's vector blocks")
        << blockEdgeBreaks() << Edits{{3, 0, blockEdgeBreaks()}, {40, 50, QString()}};
    QTest::newRow("U+2028 and line feeds")
        << u"one\x2028two\nthree\x2028"_s
        << Edits{{4, 0, u"\x2028"_s}, {9, 2, u"\n\x2028"_s}, {0, 4, QString()}};
    QTest::newRow("carriage returns end no line")
        << u"a\r\nb\rc"_s << Edits{{1, 1, QString()}, {3, 0, u"\r"_s}, {0, 0, u"\r\n\r"_s}};
    QTest::newRow("text without a break")
        << u"no break at all"_s << Edits{{3, 5, u"still none"_s}, {0, 0, u"\r"_s}};
    QTest::newRow("the longest line shortened, then another made longer")
        << u"ab\nabcdef\nabc"_s << Edits{{5, 3, QString()}, {2, 0, u"xxxxx"_s}, {0, 7, u"\n"_s}};
    QTest::newRow("a pair typed, split by an edit and joined again")
        << u"a\U0001F600b"_s
        << Edits{{4, 0, u"\U0001F600"_s}, {2, 0, u"x"_s}, {2, 1, QString()}, {0, 0, u"\n"_s}};
    QTest::newRow("halves typed one by one, and removed one by one")
        << u"ab"_s
        << Edits{{1, 0, QString(QChar(0xD83D))},
                 {2, 0, QString(QChar(0xDE00))},
                 {3, 0, QString(QChar(0xDE00))},
                 {1, 1, QString()},
                 {1, 1, QString()}};
    QTest::newRow("a pair across the edges of a replaced span")
        << u"\U0001F600\U0001F600\U0001F600"_s
        << Edits{{1, 4, u"z"_s}, {0, 1, QString(QChar(0xD83D))}, {1, 0, u"\U0001F600"_s}};
}

void tst_TextIndexes::editsMatchTheLines() {
    QFETCH(QString, text);
    QFETCH(Edits, edits);

    LineIndex index;
    CodePointIndex pairs;
    QVERIFY(matches(index, QString()));
    index.build(text);
    pairs.build(QStringView(text).first(text.size() / 2),
                QStringView(text).sliced(text.size() / 2));
    QVERIFY(matches(index, text));
    QVERIFY(matches(pairs, text));
    for (const Edit& step : edits) {
        edit(text, index, pairs, step.position, step.removed, step.inserted);
        const QString after = u"after %1 removed at %2 for \"%3\""_s.arg(step.removed)
                                  .arg(step.position)
                                  .arg(step.inserted);
        QVERIFY2(matches(index, text), qPrintable(after));
        QVERIFY2(matches(pairs, text), qPrintable(after));
    }
}

void tst_TextIndexes::randomEditsMatchTheLines_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("spread");  // how far from the last edit the next one lies, at most

    QTest::newRow("near each other") << 1u << 12;
    QTest::newRow("near each other, another seed") << 2u << 40;
    QTest::newRow("anywhere") << 3u << 0;
}

void tst_TextIndexes::randomEditsMatchTheLines() {
    QFETCH(quint32, seed);
    QFETCH(int, spread);
    QRandomGenerator random(seed);
    static const QString kPieces[] = {u"a"_s,    u"bc"_s,         u"\n"_s,       u"\x2028"_s,
                                      u"d\ne"_s, u"\U0001F600"_s, QChar(0xD83D), QChar(0xDE00)};

    // Enough lines that the starts outgrow the room they were built with.
    QString text = lines(200, 6);
    LineIndex index;
    index.build(text);
    CodePointIndex pairs;
    pairs.build(text);
    qsizetype place = text.size() / 2;
    for (int step = 0; step < 3000; ++step) {
        const qsizetype position =
            spread == 0 ? random.bounded(int(text.size()) + 1)
                        : std::clamp<qsizetype>(place + random.bounded(2 * spread + 1) - spread, 0,
                                                text.size());
        const qsizetype removed = std::min<qsizetype>(
            random.bounded(3) == 0 ? random.bounded(8) : 0, text.size() - position);
        QString inserted;
        for (int pieces = random.bounded(3); pieces > 0; --pieces)
            inserted += kPieces[random.bounded(int(std::size(kPieces)))];
        edit(text, index, pairs, position, removed, inserted);
        place = position + inserted.size();
        QVERIFY2(matches(index, text), qPrintable(u"step %1"_s.arg(step)));
        if (step % 10 == 0)
            QVERIFY2(matches(pairs, text), qPrintable(u"step %1"_s.arg(step)));
    }
}

QTEST_APPLESS_MAIN(tst_TextIndexes)
#include "tst_text_indexes.moc"
