// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Hostile numbers through the real window: what no box can hold typed into the multiplier and
// rotation boxes. Each row names the input and says what the user sees: the boxes' texts and
// the messages shown. Hostile text pasted into the input box is tst_recompute's.
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "window_fixture.h"

using korvane::runtime::MessageBoxIcon;

namespace {

const QString kTooLong = QStringLiteral(
    "The number you have entered for rotation is too long!\rPlease retype as a smaller version");

// Replaces the whole text of a line box the way a user does: click, select all, type.
void typeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Backspace);
        return;
    }
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void pasteInto(QWidget* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

// Sets the multiplier, then clicks into the input box, ready for a paste there.
void readyForInput(WindowFixture& f, const QString& multiplier) {
    typeInto(f.multiplier(), multiplier);
    QTest::mouseClick(f.input()->viewport(), Qt::LeftButton);
    QCoreApplication::processEvents();
}

QStringList prompts(const WindowFixture& f) {
    QStringList prompts;
    for (const auto& box : f.boxes)
        prompts << box.prompt;
    return prompts;
}

}  // namespace

class tst_HostileInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::clipboard()->clear(); }

    void multiplierBeyondRange_data();
    void multiplierBeyondRange();
    void rotationBeyondRange_data();
    void rotationBeyondRange();
};

void tst_HostileInput::multiplierBeyondRange_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("multiplier");
    QTest::addColumn<QString>("output");  // after "1" was the multiplier; "" means unchanged

    QTest::newRow("40000 overflows 16 bits") << "hello z"
                                             << "40000"
                                             << "";
    QTest::newRow("1e308") << "hello z"
                           << "1e308"
                           << "";
    QTest::newRow("1e400 reads as infinity") << "hello z"
                                             << "1e400"
                                             << "";
    QTest::newRow("-1e400 reads as minus infinity") << "hello z"
                                                    << "-1e400"
                                                    << "";
    QTest::newRow("twenty digits") << "hello z"
                                   << "99999999999999999999"
                                   << "";
    QTest::newRow("365 overflows Z") << "hello z"
                                     << "365"
                                     << "";
    QTest::newRow("365 with digits only") << "12 34"
                                          << "365"
                                          << "12 34";
    QTest::newRow("inf is no number") << "abc"
                                      << "inf"
                                      << "NNN";
    QTest::newRow("hex prefix reads as 0") << "abc"
                                           << "0x10"
                                           << "NNN";
    QTest::newRow("Arabic-Indic digits read as 0")
        << "abc" << QString::fromUtf16(u"\u0661\u0662") << "NNN";
    QTest::newRow("full-width digit reads as 0") << "abc" << QString::fromUtf16(u"\uff11") << "NNN";
}

void tst_HostileInput::multiplierBeyondRange() {
    QFETCH(QString, input);
    QFETCH(QString, multiplier);
    QFETCH(QString, output);

    WindowFixture f;
    QVERIFY(f.exposed());
    readyForInput(f, QStringLiteral("1"));
    pasteInto(f.input(), input);
    const QString before = f.form().txtDecrypted.text();
    QCOMPARE(before, input.toUpper());
    f.boxes.clear();

    // Pasted over the selected old text, so that only the whole number is recomputed with.
    QTest::mouseClick(f.multiplier(), Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::keyClick(f.multiplier(), Qt::Key_A, Qt::ControlModifier);
    pasteInto(f.multiplier(), multiplier);
    QCOMPARE(f.form().txtMultiply.text(), multiplier);
    QCOMPARE(f.form().txtOriginal.text(), input);
    if (output.isEmpty()) {
        QCOMPARE(f.form().txtDecrypted.text(), before);
        QCOMPARE(prompts(f).size(), 1);
        QVERIFY(prompts(f).front().startsWith(overflowReport(QString())));
        QCOMPARE(f.boxes.back().icon, MessageBoxIcon::Critical);
    } else {
        QCOMPARE(f.form().txtDecrypted.text(), output);
        QCOMPARE(prompts(f), QStringList());
    }
    QVERIFY(f.form().isVisible());
}

void tst_HostileInput::rotationBeyondRange_data() {
    QTest::addColumn<QString>("rotation");  // pasted into the rotation box, then Tab
    QTest::addColumn<QString>("box");       // what the rotation box then holds
    QTest::addColumn<QString>("message");   // the one message shown, if any
    QTest::addColumn<QString>("output");    // of "hello" with multiplier 1

    const QString outside = QStringLiteral(
        ", outside −2147483648…2147483647; select it and press "
        "Delete, or type a smaller one.");
    QTest::newRow("9e99 overflows 32 bits")
        << "9e99"
        << "9e99" << overflowReport("The rotation box holds 9e99" + outside) << "HELLO";
    QTest::newRow("1e400 reads as infinity")
        << "1e400"
        << "1e400" << overflowReport("The rotation box holds 1e400" + outside) << "HELLO";
    QTest::newRow("seven digits") << "1234567"
                                  << "1234567" << kTooLong << "HELLO";
    QTest::newRow("minus 3 moves on by 26") << "-3"
                                            << "23" << QString() << "EBIIL";
    QTest::newRow("999999 wraps to 13") << "999999"
                                        << "13" << QString() << "URYYB";
    QTest::newRow("NUL and letters read as 0")
        << QStringLiteral("\0x") << "0" << QString() << "HELLO";
}

void tst_HostileInput::rotationBeyondRange() {
    QFETCH(QString, rotation);
    QFETCH(QString, box);
    QFETCH(QString, message);
    QFETCH(QString, output);

    WindowFixture f;
    QVERIFY(f.exposed());
    readyForInput(f, QStringLiteral("1"));
    pasteInto(f.input(), QStringLiteral("hello"));
    f.boxes.clear();

    QTest::keyClick(f.input(), Qt::Key_Tab);  // into the rotation box, its text selected
    QCOMPARE(QApplication::focusWidget(), f.rotation());
    pasteInto(f.rotation(), rotation);
    QTest::keyClick(f.rotation(), Qt::Key_Tab);

    QCOMPARE(f.form().txtRotate.text(), box);
    QCOMPARE(prompts(f), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.form().txtDecrypted.text(), output);
    QCOMPARE(f.form().txtOriginal.text(), QStringLiteral("hello"));
}

QTEST_MAIN(tst_HostileInput)
#include "tst_hostile_input.moc"
