// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The segments of a line of text that a screen reader asks for, at, before and after every
// offset (and offsets past either end, which are clamped): characters are grapheme clusters,
// words are words and the runs between them, sentences are sentences, and a line, a paragraph
// or no boundary is the whole text.
#include <QTest>

#include "segment_rows.h"
#include "text/text_segments.h"

using korvane::text::segmentAfter;
using korvane::text::segmentAt;
using korvane::text::segmentBefore;
using korvane::text::TextSegment;
using Boundary = QAccessible::TextBoundaryType;

namespace {

enum class Query { Before, At, After };

// What a query must answer, from the expected segments of the text: the segment holding the
// offset (the end offset belongs to the last one, except that no character is at the end), the
// one before it or the one after it; past either edge, the empty span at that edge.
TextSegment expected(const QStringList& segments, Boundary boundary, int offset, Query query) {
    QList<int> cuts{0};
    for (const QString& segment : segments)
        cuts.append(cuts.back() + int(segment.size()));
    const int length = cuts.back();
    qsizetype index = std::upper_bound(cuts.cbegin(), cuts.cend(), offset) - cuts.cbegin() - 1;
    if (offset == length && boundary != QAccessible::CharBoundary && !segments.isEmpty())
        index = segments.size() - 1;
    index += query == Query::Before ? -1 : query == Query::After ? 1 : 0;
    if (index < 0)
        return {0, 0};
    if (index >= segments.size())
        return {length, length};
    return {cuts[index], cuts[index + 1]};
}

}  // namespace

namespace korvane::text {
char* toString(const TextSegment& segment) {
    return QTest::toString(QStringLiteral("%1..%2").arg(segment.start).arg(segment.end));
}
}  // namespace korvane::text

class tst_TextSegments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyQueryAnswers_data();
    void everyQueryAnswers();
};

void tst_TextSegments::everyQueryAnswers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Boundary>("boundary");
    QTest::addColumn<QStringList>("segments");  // the text cut as QTextBoundaryFinder cuts it

    const SegmentRow texts[] = {
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
    for (const SegmentRow& row : texts)
        addSegmentRows(row);
}

void tst_TextSegments::everyQueryAnswers() {
    QFETCH(QString, text);
    QFETCH(Boundary, boundary);
    QFETCH(QStringList, segments);
    QCOMPARE(segments.join(QString()), text);

    const int length = int(text.size());
    // Every offset, -1 for the end, and offsets before and past the text.
    QList<int> offsets{-1, -7, length + 3};
    for (int offset = 0; offset <= length; ++offset)
        offsets.append(offset);
    for (int offset : offsets) {
        const int at = offset == -1 ? length : std::clamp(offset, 0, length);
        QCOMPARE(segmentAt(text, boundary, offset), expected(segments, boundary, at, Query::At));
        QCOMPARE(segmentBefore(text, boundary, offset),
                 expected(segments, boundary, at, Query::Before));
        QCOMPARE(segmentAfter(text, boundary, offset),
                 expected(segments, boundary, at, Query::After));
    }
}

QTEST_APPLESS_MAIN(tst_TextSegments)
#include "tst_text_segments.moc"
