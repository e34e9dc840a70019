// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The segments of a text that a screen reader asks for. On one line, at, before and after every
// position (and past either end, which is clamped), against the line cut by hand: characters are
// grapheme clusters, words are words and the runs between them, sentences are sentences, and a
// line, a paragraph or the whole text is all of it. In a document, line breaks end segments, and
// a word or sentence is whole however long its line.
#include <QTest>

#include "text/model/text_document.h"
#include "text/model/text_segmentation.h"

using korvane::text::LineText;
using korvane::text::TextBoundary;
using korvane::text::TextDocument;
using korvane::text::TextRange;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TextBoundary)

namespace korvane::text {
char* toString(const TextRange& range) {
    return QTest::toString(u"%1..%2"_s.arg(range.start).arg(range.end));
}
}  // namespace korvane::text

namespace {

enum class Query { Before, At, After };

// What a query must answer, from the segments of the line: the segment holding the position
// (the end belongs to the last one, except that no character is at the end), the one before it
// or the one after it; past either edge, the empty span at that edge.
TextRange expected(const QStringList& segments, TextBoundary boundary, qsizetype position,
                   Query query) {
    QList<qsizetype> cuts{0};
    for (const QString& segment : segments)
        cuts.append(cuts.back() + segment.size());
    const qsizetype length = cuts.back();
    qsizetype index = std::upper_bound(cuts.cbegin(), cuts.cend(), position) - cuts.cbegin() - 1;
    if (position == length && boundary != TextBoundary::Character && !segments.isEmpty())
        index = segments.size() - 1;
    index += query == Query::Before ? -1 : query == Query::After ? 1 : 0;
    if (index < 0)
        return {0, 0};
    if (index >= segments.size())
        return {length, length};
    return {cuts[index], cuts[index + 1]};
}

}  // namespace

class tst_TextSegmentation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyQueryOnALine_data();
    void everyQueryOnALine();
    void segmentsOfADocument_data();
    void segmentsOfADocument();
};

void tst_TextSegmentation::everyQueryOnALine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextBoundary>("boundary");
    QTest::addColumn<QStringList>("segments");  // the text cut by hand, '|' between segments

    // A text with its characters, words and sentences; lines, paragraphs and the whole text
    // are the whole text.
    const char* const rows[][4] = {
        {"400", "4|0|0", "400", "400"},
        {"", "", "", ""},
        {"-12", "-|1|2", "-|12", "-12"},
        {"3.5", "3|.|5", "3.5", "3.5"},
        {"12 34", "1|2| |3|4", "12| |34", "12 34"},
        {"Go. Now!", "G|o|.| |N|o|w|!", "Go|. |Now|!", "Go. |Now!"},
        // A combining accent and a surrogate pair are one character each.
        {"e\xCC\x81t \xF0\x9F\x98\x80!", "e\xCC\x81|t| |\xF0\x9F\x98\x80|!",
         "e\xCC\x81t| \xF0\x9F\x98\x80!", "e\xCC\x81t \xF0\x9F\x98\x80!"},
    };
    for (const auto& row : rows) {
        const QString text = QString::fromUtf8(row[0]);
        const auto cut = [](const char* segments) {
            return QString::fromUtf8(segments).split(u'|', Qt::SkipEmptyParts);
        };
        const QStringList whole = text.isEmpty() ? QStringList() : QStringList{text};
        QTest::addRow("'%s' char", row[0]) << text << TextBoundary::Character << cut(row[1]);
        QTest::addRow("'%s' word", row[0]) << text << TextBoundary::Word << cut(row[2]);
        QTest::addRow("'%s' sentence", row[0]) << text << TextBoundary::Sentence << cut(row[3]);
        QTest::addRow("'%s' line", row[0]) << text << TextBoundary::Line << whole;
        QTest::addRow("'%s' whole", row[0]) << text << TextBoundary::Whole << whole;
    }
}

void tst_TextSegmentation::everyQueryOnALine() {
    QFETCH(QString, text);
    QFETCH(TextBoundary, boundary);
    QFETCH(QStringList, segments);
    QCOMPARE(segments.join(QString()), text);

    const LineText line(text);
    const qsizetype length = text.size();
    for (qsizetype position = -2; position <= length + 3; ++position) {
        const qsizetype at = std::clamp<qsizetype>(position, 0, length);
        QCOMPARE(segmentAt(line, position, boundary), expected(segments, boundary, at, Query::At));
        QCOMPARE(segmentBefore(line, position, boundary),
                 expected(segments, boundary, at, Query::Before));
        QCOMPARE(segmentAfter(line, position, boundary),
                 expected(segments, boundary, at, Query::After));
    }
}

void tst_TextSegmentation::segmentsOfADocument_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<TextBoundary>("boundary");
    QTest::addColumn<QString>("at");

    const QString text = u"Hello, world. Next one!\n\nThird  line\x2028sep\nend."_s;
    QTest::newRow("word at 0") << text << 0 << TextBoundary::Word << "Hello";
    QTest::newRow("word in the middle") << text << 9 << TextBoundary::Word << "world";
    QTest::newRow("word after a word") << text << 5 << TextBoundary::Word << ", ";
    QTest::newRow("word at a line break") << text << 23 << TextBoundary::Word << "\n";
    QTest::newRow("word on the empty line") << text << 24 << TextBoundary::Word << "\n";
    QTest::newRow("word at the end is the last one") << text << 45 << TextBoundary::Word << ".";
    QTest::newRow("char at the end") << text << 45 << TextBoundary::Character << "";
    QTest::newRow("sentence at 3") << text << 3 << TextBoundary::Sentence << "Hello, world. ";
    QTest::newRow("sentence at a LINE SEPARATOR")
        << text << 36 << TextBoundary::Sentence << u"Third  line\x2028"_s;
    QTest::newRow("sentence at a line break")
        << text << 23 << TextBoundary::Sentence << u"Next one!\n"_s;
    QTest::newRow("sentence on the empty line") << text << 24 << TextBoundary::Sentence << "\n";
    QTest::newRow("line at 3") << text << 3 << TextBoundary::Line << "Hello, world. Next one!\n";
    QTest::newRow("line on the empty line") << text << 24 << TextBoundary::Line << "\n";
    QTest::newRow("line before a LINE SEPARATOR")
        << text << 30 << TextBoundary::Line << u"Third  line\x2028"_s;
    QTest::newRow("line at the end") << text << 45 << TextBoundary::Line << "end.";
    QTest::newRow("paragraph at 0")
        << text << 0 << TextBoundary::Paragraph << "Hello, world. Next one!\n";
    QTest::newRow("the whole text") << text << 5 << TextBoundary::Whole << text;
    QTest::newRow("word in an empty text") << QString() << 0 << TextBoundary::Word << "";
    QTest::newRow("line in an empty text") << QString() << 0 << TextBoundary::Line << "";
    // A line of 5000 characters: the words are whole at any distance from the position.
    const QString longLine = u"start "_s + QString(2400, u'w') + u' ' + QString(2588, u'x') +
                             u" end\U0001F44D\U0001F3FD"_s;
    QTest::newRow("a word of 2400 in a long line, from its middle")
        << longLine << 1200 << TextBoundary::Word << QString(2400, u'w');
    QTest::newRow("a word of 2588 in a long line, from its end")
        << longLine << 4994 << TextBoundary::Word << QString(2588, u'x');
    QTest::newRow("the sentence of a long line")
        << longLine << 3000 << TextBoundary::Sentence << longLine;
}

void tst_TextSegmentation::segmentsOfADocument() {
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(TextBoundary, boundary);
    QFETCH(QString, at);

    TextDocument document;
    document.replace(0, 0, text);
    const TextRange found = segmentAt(document, position, boundary);
    QCOMPARE(document.mid(found.start, found.length()), at);
}

QTEST_APPLESS_MAIN(tst_TextSegmentation)
#include "tst_text_segmentation.moc"
