// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The layouts a view keeps of its lines, apart from painting them: a line laid out only as far
// as the view reaches shows every character where the whole line laid out does, an edit moves the
// layouts of the lines it did not touch with their lines and lays out again only the lines it
// changed, and an input method's pre-edit is laid out in the line it is shown in, and only there.
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
// Wider than any line of the rows: every line is laid out whole.
constexpr LayoutCache::Span kEverything{0, 1e7};

// Ten lines, "line 0" to "line 9".
QString tenLines() {
    QString text;
    for (int line = 0; line < 10; ++line)
        text += u"line %1\n"_s.arg(line);
    text.chop(1);
    return text;
}

// A document laid out in a cache that follows its edits.
struct LaidOut {
    TextDocument document;
    Preedit preedit;
    QImage device{10, 10, QImage::Format_RGB32};
    LayoutCache layouts{document, preedit, &device, QFont()};

    explicit LaidOut(const QString& text = tenLines()) {
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
    void lineLaidOutInPartAsWhole_data();
    void lineLaidOutInPartAsWhole();
    void editsMoveTheLayouts_data();
    void editsMoveTheLayouts();
    void preeditIsLaidOutInItsLine();
};

void tst_LayoutCache::lineLaidOutInPartAsWhole_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<qreal>("viewLeft");  // the view is 300 pixels wide
    // Whether the view lays out only the line's start, not the whole of it.
    QTest::addColumn<bool>("inPart");

    // Capitals that kern in pairs, so that a cut anywhere parts a pair.
    const QString kerned = u"AVAWATAY To Ty Yo "_s.repeated(56);
    QTest::newRow("kerned capitals, from the start") << kerned << -4.0 << true;
    QTest::newRow("kerned capitals, scrolled sideways") << kerned << 2000.0 << true;
    QTest::newRow("a combining accent on every letter")
        << u"e\u0301a\u0300o\u0302 \u0439\u0306 "_s.repeated(100) << 300.0 << true;
    QTest::newRow("tab stops") << u"ab\tcde\tf "_s.repeated(100) << 1000.0 << true;
    // Its one strong letter, at the end, makes the whole line read right to left.
    QTest::newRow("digits and a Hebrew word at the end")
        << u"12 34 56 "_s.repeated(110) + u"\u05e9\u05dc\u05d5\u05dd"_s << -4.0 << false;
}

// Every character of a line laid out only as far as a view reaches stands where the whole line
// laid out puts it, and every place in the view finds the same character; so do the characters
// beyond the view, laid out as far as they are asked for.
void tst_LayoutCache::lineLaidOutInPartAsWhole() {
    QFETCH(QString, line);
    QFETCH(qreal, viewLeft);
    QFETCH(bool, inPart);

    LaidOut part(line);
    LaidOut whole(line);
    const LayoutCache::Span view{viewLeft, viewLeft + 300};
    QCOMPARE(part.layouts.layoutOf(0, view).length < line.size(), inPart);
    QCOMPARE(whole.layouts.layoutOf(0, kEverything).length, line.size());
    for (qreal x = view.left; x < view.right; x += 7) {
        QCOMPARE(part.layouts.positionAt(0, x, view), whole.layouts.positionAt(0, x, kEverything));
    }
    for (qsizetype position = 0; position <= line.size(); ++position)
        QCOMPARE(part.layouts.xOf(position, view), whole.layouts.xOf(position, kEverything));
}

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
