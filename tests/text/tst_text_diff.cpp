// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The changed span between two texts: the shared start and end, compared four code units at a
// time, never overlap, never split a surrogate pair at either boundary, and turn one text into
// the other.
#include <QTest>

#include "text/model/text_diff.h"

using korvane::text::ChangedSpan;
using korvane::text::findChangedSpan;
using namespace Qt::StringLiterals;

class tst_TextDiff : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changedSpan_data();
    void changedSpan();
};

void tst_TextDiff::changedSpan_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<qsizetype>("prefix");
    QTest::addColumn<qsizetype>("suffix");

    QTest::newRow("both empty") << QString() << QString() << qsizetype(0) << qsizetype(0);
    QTest::newRow("from empty") << QString() << u"abc"_s << qsizetype(0) << qsizetype(0);
    QTest::newRow("to empty") << u"abc"_s << QString() << qsizetype(0) << qsizetype(0);
    QTest::newRow("the same") << u"abcdefghij"_s << u"abcdefghij"_s << qsizetype(10)
                              << qsizetype(0);
    QTest::newRow("a letter inserted in a run of the same letter")
        << u"aaaa"_s << u"aaaaa"_s << qsizetype(4) << qsizetype(0);
    QTest::newRow("a letter removed from a run")
        << u"aaaaa"_s << u"aaaa"_s << qsizetype(4) << qsizetype(0);
    QTest::newRow("all changed") << u"abc"_s << u"xyz"_s << qsizetype(0) << qsizetype(0);
    // One code unit differs at each place of a text longer than two blocks of four.
    const QString nine = u"abcdefghi"_s;
    for (qsizetype at = 0; at < nine.size(); ++at) {
        QString changed = nine;
        changed[at] = u'#';
        QTest::addRow("unit %lld of nine changed", qlonglong(at))
            << nine << changed << at << nine.size() - at - 1;
    }
    // U+1F600 is D83D DE00, U+1F601 is D83D DE01, U+10600 is D801 DE00: pairs that share their
    // high or their low half.
    QTest::newRow("pairs sharing the high half at the start")
        << u"a\U0001F600bc"_s << u"a\U0001F601bc"_s << qsizetype(1) << qsizetype(2);
    QTest::newRow("pairs sharing the low half at the end")
        << u"ab\U0001F600"_s << u"ab\U00010600"_s << qsizetype(2) << qsizetype(0);
    QTest::newRow("pairs sharing a half at both ends")
        << u"\U0001F600x\U0001F600"_s << u"\U0001F601y\U00010600"_s << qsizetype(0) << qsizetype(0);
    QTest::newRow("a pair inserted after a pair")
        << u"\U0001F600\U0001F600"_s << u"\U0001F600\U0001F601\U0001F600"_s << qsizetype(2)
        << qsizetype(2);
    QTest::newRow("whole pairs shared on both sides")
        << u"\U0001F600a\U0001F600"_s << u"\U0001F600bb\U0001F600"_s << qsizetype(2)
        << qsizetype(2);
    QTest::newRow("a lone high half before a changed unit")
        << u"x\xD83D"_s << u"x\xD83Dy"_s << qsizetype(1) << qsizetype(0);
}

void tst_TextDiff::changedSpan() {
    QFETCH(QString, current);
    QFETCH(QString, wanted);
    QFETCH(qsizetype, prefix);
    QFETCH(qsizetype, suffix);

    const ChangedSpan span = findChangedSpan(current, wanted);
    QCOMPARE(span.prefix, prefix);
    QCOMPARE(span.suffix, suffix);
    QVERIFY(span.prefix + span.suffix <= std::min(current.size(), wanted.size()));
    QString result = current;
    result.replace(span.prefix, current.size() - span.prefix - span.suffix,
                   wanted.mid(span.prefix, wanted.size() - span.prefix - span.suffix));
    QCOMPARE(result, wanted);
}

QTEST_APPLESS_MAIN(tst_TextDiff)
#include "tst_text_diff.moc"
