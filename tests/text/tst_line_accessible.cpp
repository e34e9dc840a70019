// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The single-line boxes as a screen reader reads and edits them: every text query answers with
// the segments QTextBoundaryFinder cuts (Qt's own line-edit interface never returns for a word
// at the end), the attribute run spans the whole value, points and character boxes agree, and
// an edit made by the reader changes the box as typing does.
#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QTextBoundaryFinder>

#include "text/line_edit.h"
#include "text/line_edit_accessible.h"
#include "segment_rows.h"
#include "window_fixture.h"

using korvane::text::LineEdit;
using korvane::text::LineEditAccessible;
using Boundary = QAccessible::TextBoundaryType;

namespace {

LineEditAccessible* interfaceOf(QLineEdit* line) {
    return dynamic_cast<LineEditAccessible*>(QAccessible::queryAccessibleInterface(line));
}

struct Span {
    QString text;
    int start;
    int end;
    friend bool operator==(const Span&, const Span&) = default;
};

char* toString(const Span& span) {
    return QTest::toString(
        QStringLiteral("\"%1\" %2..%3").arg(span.text).arg(span.start).arg(span.end));
}

enum class Query { Before, At, After };

// What a query must answer, from the expected segments of the value: the segment holding the
// offset (the end offset belongs to the last one, except that no character is at the end), the
// one before it or the one after it; past either edge, the empty span at that edge.
Span expected(const QStringList& segments, Boundary boundary, int offset, Query query) {
    QList<int> cuts{0};
    for (const QString& segment : segments)
        cuts.append(cuts.back() + int(segment.size()));
    const int length = cuts.back();
    qsizetype index = std::upper_bound(cuts.cbegin(), cuts.cend(), offset) - cuts.cbegin() - 1;
    if (offset == length && boundary != QAccessible::CharBoundary && !segments.isEmpty())
        index = segments.size() - 1;
    index += query == Query::Before ? -1 : query == Query::After ? 1 : 0;
    if (index < 0)
        return {QString(), 0, 0};
    if (index >= segments.size())
        return {QString(), length, length};
    return {segments[index], cuts[index], cuts[index + 1]};
}

}  // namespace

class tst_LineAccessible : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { korvane::runtime::installAccessibleInterfaces(); }
    void everyQueryAnswers_data();
    void everyQueryAnswers();
    void oneAttributeRun_data();
    void oneAttributeRun();
    void pointsAndCharacterBoxesAgree_data();
    void pointsAndCharacterBoxesAgree();
    void readerEditsChangeTheBox_data();
    void readerEditsChangeTheBox();
};

void tst_LineAccessible::everyQueryAnswers_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<Boundary>("boundary");
    QTest::addColumn<QStringList>("segments");  // the value cut as QTextBoundaryFinder cuts it

    const SegmentRow values[] = {
        // The segmentation itself is tst_text_segments' case; here the box answers with it.
        {"", "", "", ""},
        {"Go. Now!", "G|o|.| |N|o|w|!", "Go|. |Now|!", "Go. |Now!"},
    };
    for (const SegmentRow& row : values)
        addSegmentRows(row);
}

void tst_LineAccessible::everyQueryAnswers() {
    QFETCH(QString, value);
    QFETCH(Boundary, boundary);
    QFETCH(QStringList, segments);
    QCOMPARE(segments.join(QString()), value);

    LineEdit line;
    line.setText(value);
    LineEditAccessible* accessible = interfaceOf(&line);
    // Qt's own interface would never return from the word at the end: stop before asking it.
    QVERIFY2(accessible, "the box is not read through LineEditAccessible");

    const int length = int(value.size());
    for (int offset : {0, 1, length, -1}) {
        const int at = offset == -1 ? length : std::min(offset, length);
        int start = -2;
        int end = -2;
        QString text = accessible->textAtOffset(offset, boundary, &start, &end);
        QCOMPARE((Span{text, start, end}), expected(segments, boundary, at, Query::At));
        text = accessible->textBeforeOffset(offset, boundary, &start, &end);
        QCOMPARE((Span{text, start, end}), expected(segments, boundary, at, Query::Before));
        text = accessible->textAfterOffset(offset, boundary, &start, &end);
        QCOMPARE((Span{text, start, end}), expected(segments, boundary, at, Query::After));
    }
}

void tst_LineAccessible::oneAttributeRun_data() {
    QTest::addColumn<QString>("value");
    for (const char* value : {"400", "", "-12", "3.5"})
        QTest::newRow(value) << QString::fromUtf8(value);
}

void tst_LineAccessible::oneAttributeRun() {
    QFETCH(QString, value);
    WindowFixture window;
    QVERIFY(window.exposed());
    window.form().txtMultiply.setText(value);
    LineEditAccessible* accessible = interfaceOf(window.multiplier());
    QVERIFY(accessible);

    QCOMPARE(accessible->text(QAccessible::Value), value);
    for (int offset = 0; offset <= value.size(); ++offset) {
        int start = -2;
        int end = -2;
        const QString attributes = accessible->attributes(offset, &start, &end);
        QCOMPARE(start, 0);
        QCOMPARE(end, int(value.size()));
        QVERIFY2(attributes.contains(QLatin1String("font-family:")), qPrintable(attributes));
        QCOMPARE(accessible->text(start, end), value);
    }
}

void tst_LineAccessible::pointsAndCharacterBoxesAgree_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("caretAtEnd");
    QTest::newRow("short, caret at start") << "Hello, World!" << false;
    QTest::newRow("scrolled to its end") << QString(80, u'W') + QStringLiteral("xyz") << true;
}

void tst_LineAccessible::pointsAndCharacterBoxesAgree() {
    QFETCH(QString, value);
    QFETCH(bool, caretAtEnd);
    LineEdit line;
    line.resize(120, 30);
    line.setText(value);
    line.setCursorPosition(caretAtEnd ? int(value.size()) : 0);
    line.show();
    QVERIFY(QTest::qWaitForWindowExposed(&line));
    LineEditAccessible* accessible = interfaceOf(&line);
    QVERIFY(accessible);

    const QRect shown(line.mapToGlobal(QPoint(0, 0)), line.size());
    int checked = 0;
    for (int offset = 0; offset < value.size(); ++offset) {
        const QRect box = accessible->characterRect(offset);
        QVERIFY2(box.width() > 0, qPrintable(QString::number(offset)));
        const QPoint inside(box.left() + box.width() / 4, box.center().y());
        if (!shown.contains(inside))
            continue;  // scrolled out of sight
        QCOMPARE(accessible->offsetAtPoint(inside), offset);
        ++checked;
    }
    QVERIFY(checked >= 3);
    QCOMPARE(accessible->characterRect(int(value.size())), QRect());
}

void tst_LineAccessible::readerEditsChangeTheBox_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("text");

    QTest::newRow("insert into the empty box") << ""
                                               << "insert" << 0 << 0 << "1";
    QTest::newRow("replace 25") << "25"
                                << "replace" << 0 << 2 << "1";
    QTest::newRow("delete the 4 of 41") << "41"
                                        << "delete" << 0 << 1 << "";
    QTest::newRow("set the value") << "3.5"
                                   << "value" << 0 << 0 << "1";
}

// The multiplier holds 1 after each edit, so the output must become ROT13 of the input: only a
// change the program sees as the user's recomputes it.
void tst_LineAccessible::readerEditsChangeTheBox() {
    QFETCH(QString, before);
    QFETCH(QString, edit);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, text);

    WindowFixture window;
    QVERIFY(window.exposed());
    interfaceOf(window.rotation())->replaceText(0, 1, QStringLiteral("13"));
    QCOMPARE(window.rotation()->text(), QStringLiteral("13"));
    window.form().txtMultiply.setText(before);
    window.form().txtOriginal.setText(QStringLiteral("Hello, World!"));
    QCOMPARE_NE(window.output()->text(), QStringLiteral("URYYB, JBEYQ!"));

    LineEditAccessible* accessible = interfaceOf(window.multiplier());
    QVERIFY(accessible);
    QSignalSpy edited(window.multiplier(), &QLineEdit::textEdited);
    if (edit == QLatin1String("insert")) {
        accessible->insertText(start, text);
    } else if (edit == QLatin1String("replace")) {
        accessible->replaceText(start, end, text);
    } else if (edit == QLatin1String("delete")) {
        accessible->deleteText(start, end);
    } else {
        accessible->setText(QAccessible::Value, text);
    }
    QCOMPARE(window.multiplier()->text(), QStringLiteral("1"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(window.output()->text(), QStringLiteral("URYYB, JBEYQ!"));
}

QTEST_MAIN(tst_LineAccessible)
#include "tst_line_accessible.moc"
