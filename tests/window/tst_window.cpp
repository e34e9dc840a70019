// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The main window as a user meets it: its controls, its layout and resizing, the live
// recompute, the error report and the ways the program ends.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include "address_space_limit.h"
#include "window_fixture.h"

using korvane::runtime::MessageBoxIcon;

namespace {

// Types into a box the way a user would: one key press per character, Enter for a line break.
void type(QWidget* box, const QString& text) {
    for (const QChar character : text) {
        if (character == u'\n') {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            QTest::keyClicks(box, QString(character));
        }
    }
}

// Clicks the scroll bar's right arrow.
void clickRightArrow(QScrollBar* bar) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
}

// A dark desktop palette, as a dark theme sets it.
QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(53, 53, 53));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(35, 35, 35));
    palette.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, QColor(53, 53, 53));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    return palette;
}

// How many pixels of the two outermost rings of a control's picture, where the style draws
// frames and focus, differ between two pictures of it.
int ringDifference(const QImage& a, const QImage& b) {
    int differ = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool ring = x < 2 || y < 2 || x >= a.width() - 2 || y >= a.height() - 2;
            if (ring && a.pixel(x, y) != b.pixel(x, y))
                ++differ;
        }
    }
    return differ;
}

int runEventLoopUntilEnd() {
    // A program that fails to end would hang the suite; this bounds the wait.
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    return QApplication::exec();
}

}  // namespace

class tst_Window : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsAsStored_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");  // logical pixels, after the first resize
        QTest::newRow("Label1") << "Label1"
                                << "Enter Original text:" << QRect(8, 0, 257, 17);
        QTest::newRow("txtOriginal") << "txtOriginal"
                                     << "" << QRect(8, 24, 532, 147);
        QTest::newRow("Label2") << "Label2"
                                << "Rotate by" << QRect(8, 184, 73, 17);
        QTest::newRow("txtRotate") << "txtRotate"
                                   << "0" << QRect(64, 184, 33, 17);
        QTest::newRow("HSRotate") << "HSRotate"
                                  << "" << QRect(96, 184, 105, 17);
        QTest::newRow("Label4") << "Label4"
                                << "Multiply by:" << QRect(216, 184, 57, 17);
        QTest::newRow("txtMultiply") << "txtMultiply"
                                     << "" << QRect(272, 184, 81, 19);
        QTest::newRow("cmdExit") << "cmdExit"
                                 << "Exit" << QRect(408, 176, 73, 33);
        QTest::newRow("Label3") << "Label3"
                                << "Altered version of text" << QRect(8, 208, 249, 17);
        QTest::newRow("txtDecrypted") << "txtDecrypted"
                                      << "" << QRect(8, 224, 532, 147);
    }
    void controlsAsStored() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        WindowFixture f;
        QWidget* control = f.form().findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control))
            shown = label->text();
        if (auto* line = qobject_cast<QLineEdit*>(control))
            shown = line->text();
        for (korvane::runtime::TextBox* box : {&f.form().txtOriginal, &f.form().txtDecrypted}) {
            if (box->widget() == control)
                shown = box->text();
        }
        if (auto* button = qobject_cast<QPushButton*>(control))
            shown = button->text();
        QCOMPARE(shown, text);
    }

    void windowAsStored() {
        WindowFixture f;
        QVERIFY(f.exposed());
        QCOMPARE(f.form().windowTitle(), QStringLiteral("Korvane"));
        QCOMPARE(f.form().size(), QSize(548, 379));
        QCOMPARE(f.form().clientWidth(), 8220.0f);
        const QList<QSize> pictures = f.form().windowIcon().availableSizes();
        QVERIFY(pictures.contains(QSize(16, 16)));
        QVERIFY(pictures.contains(QSize(32, 32)));
        QCOMPARE(f.scrollBar()->minimum(), 0);
        QCOMPARE(f.scrollBar()->maximum(), 25);
        QCOMPARE(f.scrollBar()->value(), 0);
        QVERIFY(!f.exitButton()->isDefault() && !f.exitButton()->autoDefault());
        QVERIFY(!f.form().txtOriginal.isLocked());
        QVERIFY(f.form().txtDecrypted.isLocked());
        QCOMPARE(f.input()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(f.output()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(f.output()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    // Every caption can be read whole: none runs past its label or under a box.
    void captionsFitTheirLabels_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("nextControl");  // the control drawn over the label's right
        QTest::newRow("Enter Original text:") << "Label1"
                                              << "";
        QTest::newRow("Rotate by") << "Label2"
                                   << "txtRotate";
        QTest::newRow("Multiply by:") << "Label4"
                                      << "txtMultiply";
        QTest::newRow("Altered version of text") << "Label3"
                                                 << "";
    }
    void captionsFitTheirLabels() {
        QFETCH(QString, label);
        QFETCH(QString, nextControl);
        WindowFixture f;
        auto* caption = f.form().findChild<QLabel*>(label);
        int room = caption->width();
        if (!nextControl.isEmpty()) {
            room = f.form().findChild<QWidget*>(nextControl)->x() - caption->x();
        }
        QVERIFY2(caption->fontMetrics().horizontalAdvance(caption->text()) <= room,
                 qPrintable(caption->text()));
    }

    // The stored layout is drawn for the reference desktop font of 9 points; a larger desktop
    // font scales every pixel of it by the same ratio and the text with it, while the
    // properties still read and write the stored twips.
    void layoutFollowsTheDesktopFont_data() {
        QTest::addColumn<qreal>("desktopPoints");  // 0 keeps Qt's own default
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("rotationBox");
        QTest::addColumn<int>("largeBoxWidth");  // pixels
        QTest::addColumn<qreal>("formPoints");
        QTest::newRow("Qt's default")
            << 0.0 << QSize(548, 379) << QRect(64, 184, 33, 17) << 532 << 7.5;
        QTest::newRow("9 pt") << 9.0 << QSize(548, 379) << QRect(64, 184, 33, 17) << 532 << 7.5;
        QTest::newRow("12 pt") << 12.0 << QSize(731, 505) << QRect(85, 245, 44, 23) << 709 << 10.0;
        QTest::newRow("18 pt") << 18.0 << QSize(1096, 758) << QRect(128, 368, 66, 34) << 1064
                               << 15.0;
    }
    void layoutFollowsTheDesktopFont() {
        QFETCH(qreal, desktopPoints);
        QFETCH(QSize, window);
        QFETCH(QRect, rotationBox);
        QFETCH(int, largeBoxWidth);
        QFETCH(qreal, formPoints);
        const QFont desktop = QApplication::font();
        const auto restore = qScopeGuard([&] { QApplication::setFont(desktop); });
        if (desktopPoints > 0) {
            QFont font = desktop;
            font.setPointSizeF(desktopPoints);
            QApplication::setFont(font);
        }
        WindowFixture f;
        QCOMPARE(f.form().size(), window);
        QCOMPARE(f.rotation()->geometry(), rotationBox);
        QCOMPARE(f.input()->width(), largeBoxWidth);
        QCOMPARE(f.output()->width(), largeBoxWidth);
        QCOMPARE(f.rotation()->font().pointSizeF(), formPoints);
        QCOMPARE(f.output()->font().pointSizeF(), formPoints);
        QCOMPARE(f.form().clientWidth(), 8220.0f);
        QCOMPARE(f.form().txtOriginal.width(), 7980.0);
        QCOMPARE(f.form().txtDecrypted.width(), 7980.0);
        for (auto* caption : f.form().findChildren<QLabel*>()) {
            QVERIFY2(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width(),
                     qPrintable(caption->text()));
        }
        // A window the user widened reads its width back in twips, and the boxes follow it.
        f.form().resize(window.width() + 100, window.height());
        const double widened = f.form().clientWidth();
        QVERIFY(widened > 8220.0);
        QCOMPARE(f.form().txtOriginal.width(), widened - 240);
        // In pixels, to the nearest pixel the scaled twips fall on.
        QVERIFY2(qAbs(f.input()->width() - (largeBoxWidth + 100)) <= 1,
                 qPrintable(QString::number(f.input()->width())));
    }

    // Tabbing to each control shows where the keyboard is, in the frame round it, in a light
    // and a dark palette.
    void focusIsShown_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("dark");
        for (const char* name :
             {"txtOriginal", "txtRotate", "HSRotate", "txtDecrypted", "cmdExit", "txtMultiply"}) {
            QTest::addRow("%s, light", name) << QString::fromLatin1(name) << false;
            QTest::addRow("%s, dark", name) << QString::fromLatin1(name) << true;
        }
    }
    void focusIsShown() {
        QFETCH(QString, name);
        QFETCH(bool, dark);
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        if (dark)
            QApplication::setPalette(darkPalette());
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        auto* control = f.form().findChild<QWidget*>(name);
        QVERIFY(control);
        // Tab goes round until it reaches the control, then leaves it for the next.
        for (int presses = 0; presses == 0 || QApplication::focusWidget() != control; ++presses) {
            QVERIFY(presses <= 6);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const QImage focused = control->grab().toImage();
        QTest::keyClick(control, Qt::Key_Tab);
        QVERIFY(!control->hasFocus());
        const QImage unfocused = control->grab().toImage();
        const int differ = ringDifference(focused, unfocused);
        // At least half of the outer ring changes: a frame round the control, not a speck.
        QVERIFY2(differ >= control->width() + control->height(),
                 qPrintable(QStringLiteral("%1 pixels differ").arg(differ)));
        QVERIFY(f.boxes.isEmpty());
    }

    void startsWithFocusInTheInputAndNoOutput() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QCOMPARE(QApplication::focusWidget(), f.input());
        QCOMPARE(f.form().txtDecrypted.text(), QString());
        QVERIFY(f.boxes.isEmpty());
    }

    void largeBoxesFollowTheWidth_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("expectedWidth");  // of both large boxes, in pixels
        QTest::newRow("wider by 1500 twips") << QSize(648, 379) << 632;
        QTest::newRow("taller only") << QSize(548, 500) << 532;
        QTest::newRow("as narrow as allowed") << QSize(489, 379) << 473;
        QTest::newRow("narrower than allowed") << QSize(100, 100) << 473;
        QTest::newRow("much wider") << QSize(1600, 900) << 1584;
    }
    void largeBoxesFollowTheWidth() {
        QFETCH(QSize, size);
        QFETCH(int, expectedWidth);
        WindowFixture f;
        const int inputHeight = f.input()->height();
        f.form().resize(size);
        QCOMPARE(f.input()->width(), expectedWidth);
        QCOMPARE(f.output()->width(), expectedWidth);
        QCOMPARE(f.input()->height(), inputHeight);
        QCOMPARE(f.exitButton()->geometry(), QRect(408, 176, 73, 33));
        QVERIFY(f.boxes.isEmpty());
    }

    // Below the margins the boxes refuse the width; each statement is skipped on its own and
    // nothing is reported.
    void widthBelowTheMarginsLeavesTheBoxes() {
        WindowFixture f;
        f.form().setMinimumSize(0, 0);
        f.form().resize(10, 379);
        QCOMPARE(f.input()->width(), 532);
        QCOMPARE(f.output()->width(), 532);
        QVERIFY(f.boxes.isEmpty());
        f.form().resize(600, 379);
        QCOMPARE(f.input()->width(), 584);
        QCOMPARE(f.output()->width(), 584);
    }

    void minimisingKeepsTheWidths() {
        WindowFixture f;
        f.form().resize(700, 400);
        f.form().showMinimized();
        QCoreApplication::processEvents();
        f.form().showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(f.input()->width(), 684);
        QCOMPARE(f.output()->width(), 684);
    }

    void scrollBarSetsTheRotation() {
        WindowFixture f;
        type(f.multiplier(), "1");
        type(f.input(), "HELLO");
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("HELLO"));
        clickRightArrow(f.scrollBar());
        QCOMPARE(f.rotation()->text(), QStringLiteral("1"));
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("IFMMP"));
        // The bar's keys, and the output following them, are tested from the keyboard alone.
    }

    // Dragging the thumb changes nothing until it is released.
    void thumbTakesEffectWhenReleased() {
        WindowFixture f;
        type(f.multiplier(), "1");
        type(f.input(), "ABC");
        f.scrollBar()->setSliderDown(true);
        f.scrollBar()->setSliderPosition(3);
        QCOMPARE(f.rotation()->text(), QStringLiteral("0"));
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("ABC"));
        f.scrollBar()->setSliderDown(false);
        QCOMPARE(f.rotation()->text(), QStringLiteral("3"));
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("DEF"));
    }

    // A rotation typed into its box is used by the next recompute, not before.
    void rotationBoxIsReadByTheNextRecompute() {
        WindowFixture f;
        type(f.multiplier(), "1");
        type(f.input(), "abc");
        f.rotation()->setText(QStringLiteral("3"));
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("ABC"));
        type(f.input(), "d");
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("DEFG"));
    }

    void overflowIsReportedAndTheOutputKept_data() {
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QString>("multiplier");  // its last character brings the overflow
        QTest::addColumn<QString>("sentence");    // below "Overflow": what overflowed
        const QString rotationBox =
            QStringLiteral("; select it and press Delete, or type a smaller one.");
        const QString multiplierBox = QStringLiteral("; delete it or type a smaller one.");
        QTest::newRow("product of Z past 16 bits")
            << "0"
            << "365"
            << "The letter Z (code 90) times the multiplier 365 is 32850, outside −32768…32767; "
               "the output box keeps its text.";
        QTest::newRow("sum past 16 bits")
            << "8"
            << "364"
            << "The letter Z (code 90) times the multiplier 364, plus the rotation 8, is 32768, "
               "outside −32768…32767; the output box keeps its text.";
        QTest::newRow("multiplier beyond 16 bits")
            << "0"
            << "40000"
            << "The multiplier box holds 40000, outside −32768…32767" + multiplierBox;
        QTest::newRow("multiplier far beyond a double")
            << "0"
            << "1e999"
            << "The multiplier box holds 1e999, outside −32768…32767" + multiplierBox;
        QTest::newRow("multiplier of many digits, quoted short")
            << "0"
            << "123456789012345678901234567890"
            << "The multiplier box holds 12345678901234567890…, outside −32768…32767" +
                   multiplierBox;
        QTest::newRow("rotation beyond 16 bits")
            << "99999"
            << "1"
            << "The rotation box holds 99999, outside −32768…32767" + rotationBox;
    }
    void overflowIsReportedAndTheOutputKept() {
        QFETCH(QString, rotation);
        QFETCH(QString, multiplier);
        QFETCH(QString, sentence);
        WindowFixture f;
        type(f.input(), "Zebra");
        f.rotation()->setText(rotation);
        type(f.multiplier(), multiplier.chopped(1));
        const QString before = f.form().txtDecrypted.text();
        f.boxes.clear();

        type(f.multiplier(), multiplier.right(1));
        QCOMPARE(f.boxes.size(), 1);
        const korvane::runtime::MessageBoxRequest report = f.boxes.last();
        QCOMPARE(report.title, QStringLiteral("Korvane"));
        QCOMPARE(report.prompt, overflowReport(sentence));
        QCOMPARE(report.icon, MessageBoxIcon::Critical);
        QCOMPARE(f.form().txtDecrypted.text(), before);
        QCOMPARE(f.form().txtOriginal.text(), QStringLiteral("Zebra"));
        QCOMPARE(f.multiplier()->text(), multiplier);

        // The program goes on: a sound key brings the output up to date again.
        f.rotation()->setText(QStringLiteral("1"));
        f.multiplier()->selectAll();
        type(f.multiplier(), "1");
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("AFCSB"));
    }

    // The report is a modal box that takes every key typed while it is open: a letter reaches
    // no box of the window, and Space or Enter presses OK.
    void keysTypedWhileAReportIsOpenGoToIt_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void keysTypedWhileAReportIsOpenGoToIt() {
        QFETCH(int, key);
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        type(f.multiplier(), "365");
        const auto recorded =
            qScopeGuard([presenter = korvane::runtime::setMessageBoxPresenter({})]() mutable {
                korvane::runtime::setMessageBoxPresenter(std::move(presenter));
            });
        // Keys go to the window that has the focus, as the window system sends them: a letter,
        // then the key, then, if the box is still open, the box is closed by hand.
        int keysSent = 0;
        bool modal = false;
        bool closedByHand = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            QWidget* box = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<QMessageBox*>(window) && window->isVisible())
                    box = window;
            }
            if (!box)
                return;
            modal = QApplication::activeModalWidget() == box;
            if (keysSent < 2) {
                const Qt::Key next = keysSent++ == 0 ? Qt::Key_X : Qt::Key(key);
                QTest::keyClick(QGuiApplication::focusWindow(), next);
            } else {
                closedByHand = box->close();
            }
        });
        poll.start(20);
        type(f.input(), "z");  // a Z with multiplier 365 overflows: the report opens
        poll.stop();
        QCOMPARE(keysSent, 2);
        QVERIFY(modal);
        QVERIFY(!closedByHand);
        QCOMPARE(f.form().txtOriginal.text(), QStringLiteral("z"));
        QCOMPARE(f.multiplier()->text(), QStringLiteral("365"));
    }

    // An edit of the input whose recompute cannot get its memory, or that the check before it
    // finds no memory for, is refused: both boxes keep what they showed, the output the
    // transform of the input, the user is told once, and the next key is typed and followed.
    void editTheWindowCannotFollowIsRefused_data() {
        QTest::addColumn<QString>("keys");
        // Whether the input was read whole before, which closes the gap the deletion left.
        QTest::addColumn<bool>("readWhole");
        QTest::addColumn<QString>("report");
        const QString memory = QStringLiteral("Run-time error '7':\n\nOut of memory\n\n");
        const QString undoing =
            memory + QStringLiteral(
                         "Undoing needs more memory than there is; the box keeps its "
                         "text and what it can undo.");
        // The deleted half comes back into the gap it left, but its transform finds no memory.
        QTest::newRow("undo whose recompute finds no memory") << "Ctrl+Z" << false << undoing;
        // The input itself has no room for the half coming back.
        QTest::newRow("undo the input has no room for") << "Ctrl+Z" << true << undoing;
        // Refused before the memory is taken: the output's copy would not fit.
        QTest::newRow("paste of 8 million characters")
            << "Ctrl+V" << false
            << memory + "The pasted text, 8 MB, does not fit in memory; the box keeps its text.";
    }
    void editTheWindowCannotFollowIsRefused() {
        QFETCH(QString, keys);
        QFETCH(bool, readWhole);
        QFETCH(QString, report);
        WindowFixture f;
        type(f.multiplier(), "3");
        QString line = QStringLiteral("The quick brown fox jumps over the lazy dog, and again!!\n");
        line += QString(64 - line.size(), u'.');
        f.form().txtOriginal.setText(line.repeated(256 * 1024));  // 16 million characters
        QWidget* input = f.input();
        f.form().txtOriginal.setSelStart(4'000'000);
        f.form().txtOriginal.setSelLength(8'000'000);
        QTest::keyClick(input, Qt::Key_Delete);
        f.form().txtOriginal.setSelStart(100);
        QApplication::clipboard()->setText(QString(8'000'000, u'p'));
        korvane::runtime::MultiLineTextBox& original = f.form().txtOriginal;
        korvane::runtime::MultiLineTextBox& decrypted = f.form().txtDecrypted;
        const QString inputBefore =
            readWhole ? original.text() : original.mid(0, original.length());
        const QString outputBefore = decrypted.mid(0, decrypted.length());
        f.boxes.clear();
        {
            const AddressSpaceLimit limit(12 * 1024 * 1024);
            if (!limit.available())
                QSKIP("no address-space limit can be set under AddressSanitizer");
            const QKeyCombination key = QKeySequence::fromString(keys)[0];
            QTest::keyClick(input, key.key(), key.keyboardModifiers());
        }
        QCOMPARE(f.form().txtOriginal.text(), inputBefore);
        QCOMPARE(f.form().txtDecrypted.text(), outputBefore);
        QCOMPARE(f.form().txtOriginal.selStart(), 100);
        QCOMPARE(f.form().txtOriginal.selLength(), 0);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, report);
        // The next key is typed where the caret was, and the output follows it.
        type(input, "z");
        QCOMPARE(f.form().txtDecrypted.text().left(101), outputBefore.left(100) + u'X');  // 25 × 3
        QCOMPARE(f.form().txtDecrypted.text().size(), inputBefore.size() + 1);
    }

    void scrollBarChangeThatOverflowsStillSetsTheRotationBox() {
        WindowFixture f;
        type(f.input(), "Z");
        f.multiplier()->setText(QStringLiteral("364"));
        const QString before = f.form().txtDecrypted.text();
        f.boxes.clear();
        f.scrollBar()->setValue(8);
        QCOMPARE(f.rotation()->text(), QStringLiteral("8"));
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.form().txtDecrypted.text(), before);
    }

    void outputIsReadOnlyButCopies() {
        WindowFixture f;
        type(f.multiplier(), "1");
        type(f.input(), "secret");
        f.output()->setFocus(Qt::TabFocusReason);
        QVERIFY(f.output()->hasFocus());
        type(f.output(), "xyz");
        QTest::keyClick(f.output(), Qt::Key_Backspace);
        QCOMPARE(f.form().txtDecrypted.text(), QStringLiteral("SECRET"));
        QTest::keyClick(f.output(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.output(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("SECRET"));
    }

    // Rewriting the output keeps where the reader is in it.
    void outputKeepsItsScrollPosition() {
        WindowFixture f;
        type(f.multiplier(), "1");
        QString text;
        for (int line = 0; line < 200; ++line)
            text += QStringLiteral("line %1\n").arg(line);
        f.form().txtOriginal.setText(text);
        QScrollBar* vertical = f.output()->verticalScrollBar();
        vertical->setValue(vertical->maximum() / 2);
        const int position = vertical->value();
        QVERIFY(position > 0);
        f.form().txtOriginal.setSelStart(f.form().txtOriginal.length());
        type(f.input(), "more");
        QVERIFY(f.form().txtDecrypted.text().endsWith(QStringLiteral("MORE")));
        QCOMPARE(vertical->value(), position);
    }

    void exitButtonEndsTheProgram() {
        WindowFixture f;
        type(f.input(), "unsaved");
        QTimer::singleShot(0, f.exitButton(),
                           [&f] { QTest::mouseClick(f.exitButton(), Qt::LeftButton); });
        QCOMPARE(runEventLoopUntilEnd(), 0);
        QVERIFY(!f.form().isVisible());
        QVERIFY(f.boxes.isEmpty());
    }

    void closeBoxEndsTheProgram() {
        WindowFixture f;
        QTimer::singleShot(0, &f.form(), [&f] { f.form().close(); });
        QCOMPARE(runEventLoopUntilEnd(), 0);
        QVERIFY(!f.form().isVisible());
    }

    void enterAndEscapeDoNotPressExit_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("in the multiplier box") << "txtMultiply";
        QTest::newRow("in the rotation box") << "txtRotate";
        QTest::newRow("on the Exit button") << "cmdExit";
        QTest::newRow("on the scroll bar") << "HSRotate";
    }
    void enterAndEscapeDoNotPressExit() {
        QFETCH(QString, focus);
        WindowFixture f;
        bool pressed = false;
        QObject::connect(f.exitButton(), &QPushButton::clicked, &f.form(),
                         [&pressed] { pressed = true; });
        QWidget* control = f.form().findChild<QWidget*>(focus);
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(control, Qt::Key_Escape);
        QVERIFY(!pressed);
        QVERIFY(f.form().isVisible());
    }

    void spacePressesTheFocusedExitButton() {
        WindowFixture f;
        bool pressed = false;
        QObject::connect(f.exitButton(), &QPushButton::clicked, &f.form(),
                         [&pressed] { pressed = true; });
        f.exitButton()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.exitButton(), Qt::Key_Space);
        QVERIFY(pressed);
    }
};

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
