// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The rotation box as a user meets it: entering selects, each typed character first tidies
// the box ('&' and '(' step it), leaving wraps the value and moves the scroll bar.
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "window_fixture.h"

using korvane::runtime::MessageBoxIcon;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTooLong = QStringLiteral(
    "The number you have entered for rotation is too long!\rPlease retype as a smaller version");

// The report of a number the rotation box holds that its type cannot take.
QString rotationBoxReport(const QString& held, const QString& range = u"−32768…32767"_s) {
    return overflowReport(u"The rotation box holds "_s + held + u", outside "_s + range +
                          u"; select it and press Delete, or type a smaller one."_s);
}

// Counts how often the output box is rewritten, that is how often a recompute succeeded in
// changing it.
struct OutputWrites {
    explicit OutputWrites(korvane::runtime::TextBox& output) {
        QObject::connect(&output, &korvane::runtime::TextBox::Change, &output, [this] { ++count; });
    }
    int count = 0;
};

// Tabs from the input box into the rotation box, which selects its text.
void tabIntoRotation(WindowFixture& f) {
    f.input()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.input(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.rotation());
}

// Puts a text into the rotation box as a paste over its whole selected text.
void pasteIntoRotation(WindowFixture& f, const QString& text) {
    tabIntoRotation(f);
    QApplication::clipboard()->setText(text);
    QTest::keyClick(f.rotation(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.rotation()->text(), text);
}

void leaveRotation(WindowFixture& f) {
    QTest::keyClick(f.rotation(), Qt::Key_Tab);
}

}  // namespace

class tst_RotationEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::clipboard()->clear(); }

    void leavingWrapsTheRotation_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("output");  // of "HELLO" with multiplier 1
        QTest::newRow("27") << "27"
                            << "1" << 1 << "IFMMP";
        QTest::newRow("26") << "26"
                            << "0" << 0 << "HELLO";
        QTest::newRow("100") << "100"
                             << "22" << 22 << "DAHHK";
        QTest::newRow("six nines") << "999999"
                                   << "13" << 13 << "URYYB";
        QTest::newRow("letters") << "abc"
                                 << "0" << 0 << "HELLO";
        QTest::newRow("3.5 rounds to even") << "3.5"
                                            << "4" << 4 << "LIPPS";
        QTest::newRow("leading blanks") << "  5"
                                        << "5" << 5 << "MJQQT";
        QTest::newRow("negative") << "-3"
                                  << "23" << 23 << "EBIIL";
        QTest::newRow("negative past a round") << "-29"
                                               << "23" << 23 << "EBIIL";
        QTest::newRow("minus 26") << "-26"
                                  << "0" << 0 << "HELLO";
        QTest::newRow("in range") << "25"
                                  << "25" << 25 << "GDKKN";
        QTest::newRow("exponent") << "1e2"
                                  << "22" << 22 << "DAHHK";
    }
    void leavingWrapsTheRotation() {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(int, bar);
        QFETCH(QString, output);
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClicks(f.multiplier(), QStringLiteral("1"));
        QTest::keyClicks(f.input(), QStringLiteral("hello"));
        pasteIntoRotation(f, typed);
        leaveRotation(f);
        QCOMPARE(QApplication::focusWidget(), f.scrollBar());
        QCOMPARE(f.rotation()->text(), box);
        QCOMPARE(f.scrollBar()->value(), bar);
        QCOMPARE(f.form().txtDecrypted.text(), output);
        QVERIFY(f.boxes.isEmpty());
    }

    // Leaving with the bar's own value moves nothing. The output is recomputed only where it
    // does not show the rotation the box now holds: a rotation refused as too long was still
    // read by the key typed into the input after it.
    void leavingWithTheBarsValue_data() {
        QTest::addColumn<QString>("refused");  // pasted into the rotation box and left before
        QTest::addColumn<QString>("typed");    // after Delete, in place of the box's text
        QTest::addColumn<int>("writes");       // of the output box, on leaving
        QTest::addColumn<int>("messages");     // in all
        QTest::newRow("output already under rotation 0") << ""
                                                         << "26" << 0 << 0;
        QTest::newRow("output under a rotation too long to take") << "0000005"
                                                                  << "0" << 1 << 1;
        // Every key typed into the input reports the number; Delete takes it out unreported.
        QTest::newRow("recomputes failed on a number beyond 16 bits") << "1234567"
                                                                      << "0" << 1 << 2;
    }
    void leavingWithTheBarsValue() {
        QFETCH(QString, refused);
        QFETCH(QString, typed);
        QFETCH(int, writes);
        QFETCH(int, messages);
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClicks(f.multiplier(), QStringLiteral("1"));
        QTest::keyClicks(f.input(), QStringLiteral("hell"));
        if (!refused.isEmpty()) {
            pasteIntoRotation(f, refused);
            leaveRotation(f);
        }
        QTest::keyClicks(f.input(), QStringLiteral("o"));
        OutputWrites written(f.form().txtDecrypted);
        tabIntoRotation(f);
        QTest::keyClick(f.rotation(), Qt::Key_Delete);
        QTest::keyClicks(f.rotation(), typed);
        leaveRotation(f);
        QCOMPARE(f.rotation()->text(), QStringLiteral("0"));
        QCOMPARE(f.scrollBar()->value(), 0);
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("HELLO"));
        QCOMPARE(written.count, writes);
        QCOMPARE(f.boxes.size(), messages);
    }

    void tooLongATextIsRefusedWithAMessage_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("seven digits") << "1234567";
        QTest::newRow("seven blanks") << "       ";
        QTest::newRow("small number, long text") << "   0003";
    }
    void tooLongATextIsRefusedWithAMessage() {
        QFETCH(QString, typed);
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClicks(f.multiplier(), QStringLiteral("1"));
        QTest::keyClicks(f.input(), QStringLiteral("abc"));
        OutputWrites writes(f.form().txtDecrypted);
        pasteIntoRotation(f, typed);
        leaveRotation(f);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, kTooLong);
        QCOMPARE(f.boxes.front().title, QStringLiteral("Korvane"));
        QCOMPARE(f.boxes.front().icon, MessageBoxIcon::None);
        QCOMPARE(f.rotation()->text(), typed);
        QCOMPARE(f.scrollBar()->value(), 0);
        QCOMPARE(writes.count, 0);
        QCOMPARE(QApplication::focusWidget(), f.scrollBar());  // where the user sent it

        // Moving on from the scroll bar says nothing more; leaving the box again does.
        QTest::keyClick(f.scrollBar(), Qt::Key_Tab);
        QCOMPARE(f.boxes.size(), 1);
        f.rotation()->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        f.output()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f.boxes.size(), 2);
    }

    // The message leaves a rotation beyond 16 bits in the box; the next recompute reports it,
    // until the scroll bar writes its own value over it.
    void tooLongARotationOverflowsTheNextRecompute() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClicks(f.multiplier(), QStringLiteral("1"));
        QTest::keyClicks(f.input(), QStringLiteral("abc"));
        pasteIntoRotation(f, QStringLiteral("1234567"));
        leaveRotation(f);
        QTest::keyClicks(f.input(), QStringLiteral("d"));
        QCOMPARE(f.boxes.size(), 2);
        QCOMPARE(f.boxes.last().prompt, rotationBoxReport(u"1234567"_s));
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("ABC"));
        QCOMPARE(f.form().txtOriginal.text(), QStringLiteral("abcd"));
        QTest::keyClick(f.scrollBar(), Qt::Key_Right);
        QCOMPARE(f.rotation()->text(), QStringLiteral("1"));
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("BCDE"));
        QCOMPARE(f.boxes.size(), 2);
    }

    void leavingWithAValueBeyond32BitsIsReported() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        pasteIntoRotation(f, QStringLiteral("9e99"));
        leaveRotation(f);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, rotationBoxReport(u"9e99"_s, u"−2147483648…2147483647"_s));
        QCOMPARE(f.rotation()->text(), QStringLiteral("9e99"));
        QCOMPARE(f.scrollBar()->value(), 0);
        QCOMPARE(QApplication::focusWidget(), f.scrollBar());
    }

    // The scroll bar's Change runs inside the leave: the box, the bar and the output agree
    // before the focus has settled, and an overflow there is reported once.
    void leavingRecomputesThroughTheScrollBar() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClicks(f.input(), QStringLiteral("Zz"));
        QTest::keyClicks(f.multiplier(), QStringLiteral("364"));
        const QString before = f.form().txtDecrypted.text();
        pasteIntoRotation(f, QStringLiteral("8"));
        leaveRotation(f);
        QCOMPARE(f.rotation()->text(), QStringLiteral("8"));
        QCOMPARE(f.scrollBar()->value(), 8);
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxes.front().prompt.startsWith(overflowReport(u"The letter Z"_s)));
        QCOMPARE(f.form().txtDecrypted.text(), before);
    }

    void typedCharacterFirstTidiesTheBox_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("report");  // of the Overflow the first key meets, if any
        QTest::newRow("& steps up") << "5"
                                    << "&"
                                    << "6&" << QString();
        QTest::newRow("( steps down") << "5"
                                      << "("
                                      << "4(" << QString();
        QTest::newRow("( below zero") << "0"
                                      << "("
                                      << "-1(" << QString();
        QTest::newRow("( three times from zero") << "0"
                                                 << "((("
                                                 << "-3(" << QString();
        QTest::newRow("( on a negative") << "-5"
                                         << "("
                                         << "-6(" << QString();
        QTest::newRow("leading zeros dropped") << "007"
                                               << "1"
                                               << "71" << QString();
        QTest::newRow("fraction dropped") << "2.5"
                                          << "x"
                                          << "2x" << QString();
        QTest::newRow("fraction rounded") << "3.7"
                                          << "1"
                                          << "41" << QString();
        QTest::newRow("2.5 typed key by key") << ""
                                              << "2.5"
                                              << "25" << QString();
        QTest::newRow("no number becomes 0") << "abc"
                                             << "1"
                                             << "01" << QString();
        QTest::newRow("a minus sign alone becomes 0") << ""
                                                      << "-3"
                                                      << "03" << QString();
        QTest::newRow("empty becomes 0") << ""
                                         << "7"
                                         << "07" << QString();
        QTest::newRow("blank inside") << "1 2"
                                      << "3"
                                      << "123" << QString();
        QTest::newRow("& on the largest")
            << "32767"
            << "&"
            << "32767&"
            << overflowReport(
                   u"The rotation box holds 32767, and & would step it past 32767, "
                   u"the largest number it can take."_s);
        QTest::newRow("( on the smallest")
            << "-32768"
            << "("
            << "-32768("
            << overflowReport(
                   u"The rotation box holds −32768, and ( would step it past "
                   u"−32768, the smallest number it can take."_s);
        QTest::newRow("beyond 16 bits") << "99999"
                                        << "1"
                                        << "999991" << rotationBoxReport(u"99999"_s);
        QTest::newRow("& just below the largest") << "32766"
                                                  << "&"
                                                  << "32767&" << QString();
    }
    void typedCharacterFirstTidiesTheBox() {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QFETCH(QString, report);
        WindowFixture f;
        f.rotation()->setText(start);  // the caret stands at the end
        QTest::keyClicks(f.rotation(), typed);
        QCOMPARE(f.rotation()->text(), result);
        QCOMPARE(f.boxes.size(), report.isEmpty() ? 0 : 1);
        if (!report.isEmpty()) {
            QCOMPARE(f.boxes.front().prompt, report);
        }
    }

    void typingAfterTabReplacesTheSelectedText() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        tabIntoRotation(f);
        QCOMPARE(f.rotation()->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(f.rotation(), QStringLiteral("12"));
        QCOMPARE(f.rotation()->text(), QStringLiteral("12"));
        QTest::keyClick(f.rotation(), Qt::Key_Backspace);
        QCOMPARE(f.rotation()->text(), QStringLiteral("1"));
    }

    void backspaceAfterTheTidyingStillErases() {
        WindowFixture f;
        f.rotation()->setText(QStringLiteral("007"));
        QTest::keyClick(f.rotation(), Qt::Key_Backspace);
        QCOMPARE(f.rotation()->text(), QString());
        f.rotation()->setText(QStringLiteral("99999"));
        QTest::keyClick(f.rotation(), Qt::Key_Backspace);  // tidying fails, the key still erases
        QCOMPARE(f.rotation()->text(), QStringLiteral("9999"));
        QCOMPARE(f.boxes.size(), 1);
    }

    void copyKeepsTheSelection() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        pasteIntoRotation(f, QStringLiteral("17"));
        f.rotation()->selectAll();
        QTest::keyClick(f.rotation(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("17"));
        QCOMPARE(f.rotation()->selectedText(), QStringLiteral("17"));
    }

    void clickSelectsFromTheClickToTheEnd_data() {
        QTest::addColumn<double>("where");  // across the box, 0 left edge … 1 right edge
        QTest::newRow("at the start") << 0.02;
        QTest::newRow("in the middle") << 0.5;
        QTest::newRow("past the end") << 0.98;
    }
    void clickSelectsFromTheClickToTheEnd() {
        QFETCH(double, where);
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        f.rotation()->setText(QStringLiteral("-1234"));
        const QPoint point(int(f.rotation()->width() * where), f.rotation()->height() / 2);
        const int clicked = f.rotation()->cursorPositionAt(point);
        QTest::mouseClick(f.rotation(), Qt::LeftButton, {}, point);
        QTRY_COMPARE(f.rotation()->selectedText(), QStringLiteral("-1234").mid(clicked));
        QCOMPARE(f.rotation()->hasSelectedText(), clicked < 5);
    }

    void scrollBarAndBoxAgreeAfterEveryLeave() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClicks(f.multiplier(), QStringLiteral("1"));
        QTest::keyClicks(f.input(), QStringLiteral("a"));
        for (const QString& typed : {QStringLiteral("-1"), QStringLiteral("-1"),
                                     QStringLiteral("-27"), QStringLiteral("51")}) {
            pasteIntoRotation(f, typed);
            leaveRotation(f);
            QCOMPARE(f.rotation()->text(), QStringLiteral("25"));
            QCOMPARE(f.scrollBar()->value(), 25);
            QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("Z"));
        }
        QVERIFY(f.boxes.isEmpty());
    }
};

QTEST_MAIN(tst_RotationEntry)
#include "tst_rotation_entry.moc"
