// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The form runtime's rules: control properties, events raised by writes, errors travelling
// back to the handler that wrote, focus events, key presses and program end.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <array>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

#include "message_box_capture.h"
#include "runtime/events.h"
#include "runtime/form.h"
#include "runtime/key_ascii.h"
#include "runtime/message_box.h"
#include "runtime/multi_line_text_box.h"
#include "runtime/program.h"
#include "runtime/run_time_error.h"
#include "runtime/scroll_bar.h"
#include "runtime/single_line_text_box.h"
#include "user_steps.h"

using namespace korvane::runtime;
using namespace Qt::StringLiterals;

namespace {

constexpr ControlDescription kFirst{.name = "first",
                                    .caption = "hello world",
                                    .left = 0,
                                    .top = 0,
                                    .width = 3000,
                                    .height = 300,
                                    .tabIndex = 0};
constexpr ControlDescription kSecond{.name = "second",
                                     .caption = "",
                                     .left = 0,
                                     .top = 450,
                                     .width = 3000,
                                     .height = 300,
                                     .tabIndex = 1};
constexpr ControlDescription kLines{.name = "lines",
                                    .caption = "one\ntwo",
                                    .left = 0,
                                    .top = 900,
                                    .width = 3000,
                                    .height = 1500,
                                    .tabIndex = 2};
constexpr ControlDescription kBar{.name = "bar",
                                  .caption = "",
                                  .left = 0,
                                  .top = 2550,
                                  .width = 3000,
                                  .height = 255,
                                  .tabIndex = 3,
                                  .min = 0,
                                  .max = 25,
                                  .value = 0};

constexpr FormDescription kTestForm{.caption = "Test form",
                                    .clientWidth = 3300,
                                    .clientHeight = 3000,
                                    .minClientWidth = 0,
                                    .minClientHeight = 0};

class TestForm final : public Form {
public:
    TestForm() : Form(kTestForm) {}
    SingleLineTextBox first{*this, kFirst};
    SingleLineTextBox second{*this, kSecond};
    MultiLineTextBox lines{*this, kLines};
    HScrollBar bar{*this, kBar};
};

// Connects a test's handler to a control's event, delivered as the window's handlers are.
template <typename Sender, typename Signal, typename Handler>
void onEvent(Sender& sender, Signal signal, Handler handler) {
    connectHandler(sender, signal, &sender, std::move(handler));
}

// Shows a test form and records every message box.
struct Fixture {
    Fixture() {
        useProject({QStringLiteral("Runtime test"), QStringLiteral("1.00")});
        form.show();
        form.activateWindow();
        exposed = QTest::qWaitForWindowActive(&form);
    }

    QLineEdit* firstEdit() { return static_cast<QLineEdit*>(form.first.widget()); }
    QLineEdit* secondEdit() { return static_cast<QLineEdit*>(form.second.widget()); }

    MessageBoxCapture capture;
    QList<MessageBoxRequest>& boxes = capture.boxes;
    TestForm form;
    bool exposed = false;
};

std::optional<RunTimeError> errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace

class tst_Runtime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scrollBarValue_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("changes");
        QTest::newRow("below the range") << -1 << true << 0;
        QTest::newRow("above the range") << 26 << true << 0;
        QTest::newRow("far above the range") << 32767 << true << 0;
        QTest::newRow("the current value") << 0 << false << 0;
        QTest::newRow("a new value") << 5 << false << 1;
        QTest::newRow("the top of the range") << 25 << false << 1;
    }
    void scrollBarValue() {
        QFETCH(int, value);
        QFETCH(bool, refused);
        QFETCH(int, changes);
        Fixture f;
        int changed = 0;
        int seen = -1;
        onEvent(f.form.bar, &HScrollBar::Change, [&] {
            ++changed;
            seen = f.form.bar.value();
        });
        const auto error = errorOf([&] { f.form.bar.setValue(qint16(value)); });
        QCOMPARE(error.has_value(), refused);
        if (refused)
            QCOMPARE(*error, invalidPropertyValueError());
        // Change ran inside the write, seeing the new value, and only when the value changed.
        QCOMPARE(changed, changes);
        QCOMPARE(int(f.form.bar.value()), refused ? 0 : value);
        if (changes)
            QCOMPARE(seen, value);
    }

    void width_data() {
        QTest::addColumn<double>("twips");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("pixels");
        QTest::newRow("negative") << -15.0 << true << 200;
        QTest::newRow("just below zero") << -0.5 << true << 200;
        QTest::newRow("not a number") << std::nan("") << true << 200;
        QTest::newRow("zero") << 0.0 << false << 0;
        QTest::newRow("whole pixels") << 1500.0 << false << 100;
        QTest::newRow("rounded to a pixel") << 1508.0 << false << 101;
    }
    void width() {
        QFETCH(double, twips);
        QFETCH(bool, refused);
        QFETCH(int, pixels);
        Fixture f;
        const auto error = errorOf([&] { f.form.second.setWidth(twips); });
        QCOMPARE(error.has_value(), refused);
        QCOMPARE(f.secondEdit()->width(), pixels);
        QCOMPARE(f.form.second.width(), pixels * 15.0);
    }

    void writingTheSameTextKeepsTheSelection() {
        Fixture f;
        int changes = 0;
        onEvent(f.form.first, &TextBox::Change, [&] { ++changes; });
        f.firstEdit()->setSelection(2, 3);
        f.form.first.setText(QStringLiteral("hello world"));
        QCOMPARE(changes, 0);
        QCOMPARE(f.firstEdit()->selectedText(), QStringLiteral("llo"));

        f.form.first.setText(QStringLiteral("hello"));
        QCOMPARE(changes, 1);
        QVERIFY(!f.firstEdit()->hasSelectedText());
        QCOMPARE(f.firstEdit()->cursorPosition(), 5);
    }

    void multiLineWriteIsOneChange_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("grown at the end") << "one\ntwo\nthree";
        QTest::newRow("changed in the middle") << "one\nTWO";
        QTest::newRow("emptied") << "";
        QTest::newRow("carriage returns") << "a\r\nb\rc";
        // Each break the only one, far enough in that the search meets it in its vector blocks.
        QTest::newRow("a lone carriage return, far in")
            << QString(45, u'x') + u"\r"_s + QString(80, u'y');
        QTest::newRow("a paragraph separator, far in")
            << QString(70, u'x') + u"\u2029"_s + QString(80, u'y');
        QTest::newRow("a frame mark, far in")
            << QString(100, u'x') + u"\ufdd1"_s + QString(80, u'y');
        QTest::newRow("no-break space kept") << QStringLiteral("one\u00a0two");
        QTest::newRow("pairs sharing a high surrogate") << QStringLiteral("one\ntw😀😁");
        QTest::newRow("pairs sharing a low surrogate") << QStringLiteral("one\ntw\U00010600😀");
    }
    void multiLineWriteIsOneChange() {
        QFETCH(QString, text);
        Fixture f;
        f.form.lines.setText(QStringLiteral("one\ntw😀😀"));
        int changes = 0;
        onEvent(f.form.lines, &TextBox::Change, [&] { ++changes; });
        f.form.lines.setText(text);
        QCOMPARE(changes, 1);
        QString expected = text;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        for (const char16_t otherBreak : {u'\r', u'\u2029', u'\ufdd0', u'\ufdd1'})
            expected.replace(otherBreak, u'\n');
        QCOMPARE(f.form.lines.text(), expected);
    }

    void selection_data() {
        QTest::addColumn<QString>("box");  // "first", one line of "hello world", or "lines"
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");
        QTest::newRow("from the start") << "first" << 0 << 5 << "hello";
        QTest::newRow("whole text from the start") << "first" << 0 << 11 << "hello world";
        QTest::newRow("from the caret to the end") << "first" << 6 << 11 << "world";
        QTest::newRow("nothing") << "first" << 3 << 0 << "";
        QTest::newRow("a start past the end") << "first" << 40 << 2 << "";
        QTest::newRow("over a line break to the end") << "lines" << 2 << 100 << "e\ntwo";
        QTest::newRow("nothing, several lines") << "lines" << 5 << 0 << "";
    }
    // SelStart puts the caret, SelLength selects from it as far as the text reaches, and both
    // refuse a negative value.
    void selection() {
        QFETCH(QString, box);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, selected);
        Fixture f;
        TextBox& control = box == u"first" ? static_cast<TextBox&>(f.form.first) : f.form.lines;
        control.setSelStart(start);
        control.setSelLength(length);
        const qsizetype textLength = control.text().size();
        QCOMPARE(control.selStart(), std::min<qsizetype>(start, textLength));
        QCOMPARE(control.text().mid(control.selStart(), control.selLength()), selected);
        QCOMPARE(errorOf([&] { control.setSelLength(-1); }), invalidPropertyValueError());
        QCOMPARE(errorOf([&] { control.setSelStart(-1); }), invalidPropertyValueError());
    }

    // An error in a handler raised by a property write ends the handler that wrote, too, and
    // is reported once.
    void errorTravelsBackToTheWriter() {
        Fixture f;
        bool wroteOn = false;
        onEvent(f.form.bar, &HScrollBar::Change, [] { throw OverflowError(); });
        onEvent(f.form.second, &TextBox::Change, [&] {
            f.form.bar.setValue(3);
            wroteOn = true;
        });
        QTest::keyClicks(f.secondEdit(), QStringLiteral("x"));
        QVERIFY(!wroteOn);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, QStringLiteral("Run-time error '6':\n\nOverflow"));
        QCOMPARE(f.boxes.front().title, QStringLiteral("Runtime test"));
        QCOMPARE(int(f.form.bar.value()), 3);

        // Written from outside any handler, the write itself raises the error.
        QCOMPARE(errorOf([&] { f.form.bar.setValue(4); }), OverflowError());
        QCOMPARE(f.boxes.size(), 1);
    }

    // A write that fails on its own (memory running out inside Qt) still leaves the runtime
    // able to report the errors that follow.
    void aWriteThatThrowsLeavesLaterErrorsReported() {
        Fixture f;
        bool failWrite = true;
        onEvent(f.form.second, &TextBox::Change, [&] {
            if (std::exchange(failWrite, false))
                writeRaisingEvents([] { throw std::bad_alloc(); });
            else
                throw OverflowError();
        });
        QTest::keyClicks(f.secondEdit(), QStringLiteral("xy"));
        QCOMPARE(f.boxes.size(), 2);
        QCOMPARE(f.boxes.at(0).prompt, QStringLiteral("Run-time error '7':\n\nOut of memory"));
        QCOMPARE(f.boxes.at(1).prompt, QStringLiteral("Run-time error '6':\n\nOverflow"));
    }

    // Every listener of an event hears it, whatever another listener raised.
    void severalListenersHearOneEvent() {
        Fixture f;
        QSignalSpy spy(&f.form.second, &TextBox::Change);
        int heard = 0;
        onEvent(f.form.second, &TextBox::Change, [] { throw OverflowError(); });
        onEvent(f.form.second, &TextBox::Change, [&] { ++heard; });
        QTest::keyClicks(f.secondEdit(), QStringLiteral("x"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(heard, 1);
        QCOMPARE(f.boxes.size(), 1);
    }

    // Right, Down and Page Down step the bar forward, Left, Up and Page Up back, Home and End
    // go to either end, and every step raises Change.
    void scrollBarKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("Right") << int(Qt::Key_Right) << 11;
        QTest::newRow("Down") << int(Qt::Key_Down) << 11;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 15;
        QTest::newRow("Left") << int(Qt::Key_Left) << 9;
        QTest::newRow("Up") << int(Qt::Key_Up) << 9;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 5;
        QTest::newRow("Home") << int(Qt::Key_Home) << 0;
        QTest::newRow("End") << int(Qt::Key_End) << 25;
    }
    void scrollBarKeys() {
        QFETCH(int, key);
        QFETCH(int, value);
        Fixture f;
        f.form.bar.setValue(10);
        QSignalSpy changes(&f.form.bar, &HScrollBar::Change);
        QTest::keyClick(f.form.bar.widget(), Qt::Key(key));
        QCOMPARE(int(f.form.bar.value()), value);
        QCOMPARE(changes.count(), 1);
    }

    void everyKindOfErrorIsReported_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("report");
        QTest::newRow("run-time error") << 0 << "Run-time error '380':\n\nInvalid property value";
        QTest::newRow("memory exhausted") << 1 << "Run-time error '7':\n\nOut of memory";
        QTest::newRow("any other exception") << 2 << "Run-time error '51':\n\nInternal error";
    }
    void everyKindOfErrorIsReported() {
        QFETCH(int, kind);
        QFETCH(QString, report);
        Fixture f;
        onEvent(f.form.second, &TextBox::Change, [&] {
            if (kind == 0)
                f.form.second.setWidth(-1);
            if (kind == 1)
                throw std::bad_alloc();
            throw std::runtime_error("unexpected");
        });
        QTest::keyClicks(f.secondEdit(), QStringLiteral("x"));
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, report);
        QCOMPARE(f.boxes.front().icon, MessageBoxIcon::Critical);
        QCOMPARE(f.form.second.text(), QStringLiteral("x"));
    }

    // A user's edit of a multi-line box whose Change handler runs out of memory is refused
    // whole, and reported once with what was refused; any other error of the handler is
    // reported as it is, and the edit stands. Which edits are refused, and how, is the text
    // editor's suite.
    void editAHandlerCannotFollow_data() {
        QTest::addColumn<bool>("outOfMemory");  // or Overflow
        QTest::addColumn<QString>("steps");     // as user_steps.h writes them
        QTest::addColumn<QString>("text");      // the box's text afterwards
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("next");  // the text after one more key, typed at the caret
        QTest::newRow("paste")
            << true << "paste:PASTE"
            << "one\ntwo"
            << "Run-time error '7':\n\nOut of memory\n\nThe pasted text, 5 bytes, does not fit "
               "in memory; the box keeps its text."
            << "none\ntwo";
        QTest::newRow("overflow") << false << "type:x"
                                  << "xone\ntwo"
                                  << "Run-time error '6':\n\nOverflow"
                                  << "xnone\ntwo";
    }
    void editAHandlerCannotFollow() {
        QFETCH(bool, outOfMemory);
        QFETCH(QString, steps);
        QFETCH(QString, text);
        QFETCH(QString, report);
        QFETCH(QString, next);
        Fixture f;
        auto* view = f.form.lines.widget();
        bool failing = false;
        onEvent(f.form.lines, &TextBox::Change, [&] {
            if (!failing)
                return;
            if (outOfMemory)
                throw std::bad_alloc();
            throw OverflowError();
        });
        failing = true;
        runUserSteps(view, steps);
        QCOMPARE(f.form.lines.text(), text);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, report);
        // The next key is typed, and heard.
        failing = false;
        QTest::keyClicks(view, QStringLiteral("n"));
        QCOMPARE(f.form.lines.text(), next);
        QCOMPARE(f.boxes.size(), 1);
    }

    // The report keeps the error's number and message as its first lines and adds below them
    // the error's own explanation, or else the program's explanation of that number, if any.
    void reportAddsTheProgramsExplanation_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("own");  // the explanation the raised error carries
        QTest::addColumn<QString>("report");
        QTest::newRow("explained")
            << 6 << QString() << "Run-time error '6':\n\nOverflow\n\nSums left the range.";
        QTest::newRow("explained where raised")
            << 6 << "The box holds 99999."
            << "Run-time error '6':\n\nOverflow\n\nThe box holds 99999.";
        QTest::newRow("not explained")
            << 380 << QString() << "Run-time error '380':\n\nInvalid property value";
    }
    void reportAddsTheProgramsExplanation() {
        QFETCH(int, number);
        QFETCH(QString, own);
        QFETCH(QString, report);
        Fixture f;
        useProject({.title = QStringLiteral("Runtime test"),
                    .version = QStringLiteral("1.00"),
                    .errorExplanations = {{6, QStringLiteral("Sums left the range.")},
                                          {7, QStringLiteral("Memory ran out.")}}});
        onEvent(f.form.second, &TextBox::Change, [&] {
            RunTimeError error = number == 6 ? OverflowError() : invalidPropertyValueError();
            error.explanation = own;
            throw error;
        });
        QTest::keyClicks(f.secondEdit(), QStringLiteral("x"));
        useProject({QStringLiteral("Runtime test"), QStringLiteral("1.00")});
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.front().prompt, report);
    }

    // The real modal boxes keep their text as far from the right edge as from what stands on
    // its left (the box's edge, or the icon), so that it never runs up to the edge.
    void messageBoxTextStandsClearOfTheRightEdge_data() {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("critical");
        QTest::newRow("message without icon")
            << "The number you have entered for rotation is too long!\rPlease retype as a "
               "smaller version"
            << false;
        QTest::newRow("error report")
            << "Run-time error '6':\n\nOverflow\n\nThe letter Z (code 90) times the multiplier "
               "364, plus the rotation 8, is 32768, outside −32768…32767; the output box keeps "
               "its text."
            << true;
    }
    void messageBoxTextStandsClearOfTheRightEdge() {
        QFETCH(QString, prompt);
        QFETCH(bool, critical);
        int leftGap = -1;
        int rightGap = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box)
                return;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            const auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
            if (label) {
                // Where the label may draw its text: a wrapped line can run to its end.
                const QRect area(label->mapTo(box, label->contentsRect().topLeft()),
                                 label->contentsRect().size());
                const int neighbour = icon && icon->isVisible() ? icon->geometry().right() + 1 : 0;
                leftGap = area.left() - neighbour;
                rightGap = box->width() - (area.right() + 1);
            }
            box->accept();
        });
        poll.start(10);
        showMessageBox({QStringLiteral("Korvane"), prompt,
                        critical ? MessageBoxIcon::Critical : MessageBoxIcon::None});
        QVERIFY(leftGap > 0);
        QVERIFY2(rightGap >= leftGap,
                 qPrintable(QStringLiteral("text %1 px from its left "
                                           "neighbour, %2 px from the right edge")
                                .arg(leftGap)
                                .arg(rightGap)));
    }

    void keyPressMayKeepSwallowOrReplaceTheCharacter_data() {
        QTest::addColumn<int>("replacement");  // -1 leaves the code as it is
        QTest::addColumn<bool>("throws");
        QTest::addColumn<QString>("result");
        QTest::newRow("left as it is") << -1 << false << "ab";
        QTest::newRow("swallowed") << 0 << false << "a";
        QTest::newRow("replaced") << int('X') << false << "aX";
        QTest::newRow("handler fails") << -1 << true << "ab";
    }
    void keyPressMayKeepSwallowOrReplaceTheCharacter() {
        QFETCH(int, replacement);
        QFETCH(bool, throws);
        QFETCH(QString, result);
        Fixture f;
        f.form.second.setText(QStringLiteral("a"));
        QList<int> seen;
        onEvent(f.form.second, &TextBox::KeyPress, [&](qint16& keyAscii) {
            seen << keyAscii;
            if (throws)
                throw OverflowError();
            if (replacement >= 0)
                keyAscii = qint16(replacement);
        });
        QTest::keyClicks(f.secondEdit(), QStringLiteral("b"));
        QCOMPARE(seen, QList<int>{int('b')});
        QCOMPARE(f.form.second.text(), result);
        QCOMPARE(f.boxes.size(), throws ? 1 : 0);
    }

    void keyAscii_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // -1: the key raises no key press
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 97;
        QTest::newRow("ampersand") << int(Qt::Key_Ampersand) << int(Qt::ShiftModifier) << "&" << 38;
        QTest::newRow("left parenthesis")
            << int(Qt::Key_ParenLeft) << int(Qt::ShiftModifier) << "(" << 40;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "" << 8;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << "\r" << 13;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "" << 13;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "" << 27;
        QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier) << "" << 3;
        QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << "" << 22;
        QTest::newRow("accented letter") << int(Qt::Key_Eacute) << 0 << QStringLiteral("é") << 233;
        QTest::newRow("up arrow") << int(Qt::Key_Up) << 0 << "" << -1;
        QTest::newRow("down arrow") << int(Qt::Key_Down) << 0 << "" << -1;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << "" << -1;
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << "\t" << -1;
        QTest::newRow("function key") << int(Qt::Key_F1) << 0 << "" << -1;
        QTest::newRow("ctrl+alt+letter")
            << int(Qt::Key_C) << int(Qt::ControlModifier | Qt::AltModifier) << "" << -1;
    }
    void keyAscii() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, expected);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        const std::optional<qint16> code = keyAsciiOf(event);
        QCOMPARE(code ? int(*code) : -1, expected);
    }

    void focusMovesRaiseLostThenGot() {
        Fixture f;
        QVERIFY(f.exposed);
        QStringList log;
        onEvent(f.form.first, &Control::LostFocus, [&] { log << "first lost"; });
        onEvent(f.form.second, &Control::GotFocus, [&] { log << "second got"; });
        onEvent(f.form.second, &Control::LostFocus, [&] { log << "second lost"; });
        QCOMPARE(QApplication::focusWidget(), f.firstEdit());
        QTest::keyClick(f.firstEdit(), Qt::Key_Tab);
        QTest::keyClick(f.secondEdit(), Qt::Key_Tab);
        QCOMPARE(log, (QStringList{"first lost", "second got", "second lost"}));
    }

    // A box shown while focus moves takes focus away and gives it back: that is no move
    // between the form's controls, so nothing is raised again.
    void focusLeavingTheWindowRaisesNothing() {
        Fixture f;
        QVERIFY(f.exposed);
        QWidget other;
        other.resize(100, 100);
        int lost = 0;
        int got = 0;
        onEvent(f.form.first, &Control::LostFocus, [&] {
            ++lost;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            other.hide();
            f.form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.form));
        });
        onEvent(f.form.second, &Control::GotFocus, [&] { ++got; });
        QTest::keyClick(f.firstEdit(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(lost, 1);
        QCOMPARE(got, 1);
        QCOMPARE(QApplication::focusWidget(), f.secondEdit());
    }

    // A click takes focus first and places the caret after; GotFocus sees the caret placed.
    void gotFocusByClickSeesTheClickedCaret() {
        Fixture f;
        f.form.second.setText(QStringLiteral("hello world"));
        f.secondEdit()->setCursorPosition(0);
        int caretSeen = -1;
        onEvent(f.form.second, &Control::GotFocus,
                [&] { caretSeen = f.secondEdit()->cursorPosition(); });
        QTest::mouseClick(f.secondEdit(), Qt::LeftButton, {},
                          QPoint(f.secondEdit()->width() - 3, f.secondEdit()->height() / 2));
        QTRY_COMPARE(caretSeen, 11);
    }

    void noHandlerRunsAfterEnd() {
        Fixture f;
        int changes = 0;
        onEvent(f.form.second, &TextBox::Change, [&] { ++changes; });
        end();
        QVERIFY(!f.form.isVisible());
        f.form.second.setText(QStringLiteral("late"));
        QCOMPARE(changes, 0);
    }
};

QTEST_MAIN(tst_Runtime)
#include "tst_runtime.moc"
