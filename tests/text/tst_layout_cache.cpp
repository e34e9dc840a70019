// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The layouts a view keeps of its lines, apart from painting them: an edit moves the layouts of
// the lines it did not touch with their lines and lays out again only the lines it changed, and
// an input method's pre-edit is laid out in the line it is shown in, and only there.
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include "text/view/layout_cache.h"

using korvane::text::LayoutCache;
using korvane::text::Preedit;
using korvane::text::TextChange;
using korvane::text::TextDocument;
using namespace Qt::StringLiterals;

namespace {

// Wide enough for every line of the rows.
constexpr LayoutCache::Span kInView{0, 1000};

// A document of ten lines, "line 0" to "line 9", laid out in a cache that follows its edits.
struct LaidOut {
    TextDocument document;
    Preedit preedit;
    QImage device{10, 10, QImage::Format_RGB32};
    LayoutCache layouts{document, preedit, &device, QFont()};

    LaidOut() {
        QString text;
        for (int line = 0; line < 10; ++line)
            text += u"line %1\n"_s.arg(line);
        text.chop(1);
        document.replace(0, 0, text);
        QObject::connect(&document, &TextDocument::contentsChanged, &document,
                         [this](const TextChange& change) { layouts.follow(change); });
    }
    QString lineText(int line) const {
        return document.mid(document.lineStart(line),
                            document.lineEnd(line) - document.lineStart(line));
    }
    // The layout of a line, laid out now if it is not kept.
    QTextLayout& layoutOf(int line) { return *layouts.layoutOf(line, kInView).layout; }
};

}  // namespace

class tst_LayoutCache : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editsMoveTheLayouts_data();
    void editsMoveTheLayouts();
    void preeditIsLaidOutInItsLine();
};

void tst_LayoutCache::editsMoveTheLayouts_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    // For each line after the edit, the line before it whose layout it keeps, or -1.
    QTest::addColumn<QList<int>>("kept");
    QTest::newRow("a character typed in line 3")
        << 23 << 0 << "x" << QList<int>{0, 1, 2, -1, 4, 5, 6, 7, 8, 9};
    QTest::newRow("a line break typed in line 3") << 23 << 0 << "\n"
                                                  << QList<int>{0, 1, 2, -1, -1, 4, 5, 6, 7, 8, 9};
    QTest::newRow("lines 2 to 4 joined") << 20 << 12 << "" << QList<int>{0, 1, -1, 5, 6, 7, 8, 9};
    QTest::newRow("the last line shortened")
        << 67 << 2 << "" << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, -1};
}

void tst_LayoutCache::editsMoveTheLayouts() {
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(QList<int>, kept);
    LaidOut laidOut;
    // Each layout is marked with its line: one laid out afresh is placed at the origin.
    for (int line = 0; line < 10; ++line)
        laidOut.layoutOf(line).setPosition(QPointF(0, line + 1));
    laidOut.document.replace(position, removed, inserted);
    QCOMPARE(laidOut.document.lineCount(), kept.size());
    for (int line = 0; line < kept.size(); ++line) {
        QTextLayout& layout = laidOut.layoutOf(line);
        QCOMPARE(layout.text(), laidOut.lineText(line));
        QCOMPARE(layout.position().y() - 1, kept[line]);
    }
}

// The pre-edit is laid out in place in the line it is shown in, is left out of the line it
// left, and the caret inside it is placed after the characters before it.
void tst_LayoutCache::preeditIsLaidOutInItsLine() {
    LaidOut laidOut;
    for (int line = 0; line < 10; ++line)
        laidOut.layoutOf(line);
    QVERIFY(!laidOut.layouts.preeditCaretX(kInView));
    const Preedit none = laidOut.preedit;
    laidOut.preedit = {u"xyz"_s, 9, 2, true, {}};  // on line 1, after "li"
    laidOut.layouts.followPreedit(none);
    QCOMPARE(laidOut.layoutOf(1).preeditAreaText(), u"xyz"_s);
    QCOMPARE(laidOut.layoutOf(1).preeditAreaPosition(), 2);
    QCOMPARE(laidOut.layouts.preeditIn(1, 0, 6), 2);
    QCOMPARE(laidOut.layouts.preeditIn(2, 0, 6), -1);
    const std::optional<qreal> caret = laidOut.layouts.preeditCaretX(kInView);
    QVERIFY(caret);
    QCOMPARE(*caret, laidOut.layoutOf(1).lineAt(0).cursorToX(4));
    const Preedit before = laidOut.preedit;
    laidOut.preedit.position = 35;  // on line 5
    laidOut.layouts.followPreedit(before);
    QCOMPARE(laidOut.layoutOf(1).preeditAreaText(), QString());
    QCOMPARE(laidOut.layoutOf(5).preeditAreaText(), u"xyz"_s);
    QCOMPARE(laidOut.layoutOf(3).preeditAreaText(), QString());
}

QTEST_MAIN(tst_LayoutCache)
#include "tst_layout_cache.moc"
