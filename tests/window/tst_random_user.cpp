// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// A seeded random user on the real main window, headless: typing, Backspace, Enter, '&' and '(',
// pasting any Unicode (NUL, lone surrogates, 100 KB blocks), Tab and clicks between controls,
// scroll-bar moves, resizes down to zero width and huge numbers in the rotation and multiplier
// boxes. After every action the program still runs, no exception escaped, the input box holds
// exactly what the user put there, the output box shows what the reference transform gives for
// the last recompute that succeeded, and every message shown is one the program can give.
//
// KORVANE_RANDOM_USER_ACTIONS sets the number of actions per seed (default 1000).
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTest>
#include <QTextLayout>
#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "output_oracle.h"
#include "random_text.h"
#include "runtime/events.h"
#include "runtime/message_box.h"
#include "window/frm_main.h"

using korvane::runtime::MessageBoxIcon;
using korvane::runtime::MessageBoxRequest;
using korvane::testing::OutputOracle;
using korvane::testing::RandomText;
using korvane::window::frmMain;

namespace {

// Every Overflow report says below "Overflow" what overflowed.
const QString kOverflowReport = QStringLiteral("Run-time error '6':\n\nOverflow\n\n");
const QString kInvalidValueReport =
    QStringLiteral("Run-time error '380':\n\nInvalid property value");
const QString kTooLongPrompt = QStringLiteral(
    "The number you have entered for rotation is too long!\rPlease retype as a smaller version");

// The input grows with every paste; past this many UTF-16 units the user clears it.
constexpr qsizetype kInputLimit = 250'000;

// How a multi-line text box stores inserted text: every kind of line break ("\r\n" as one,
// '\r', the paragraph separator and the document's frame markers U+FDD0 and U+FDD1) becomes a
// line feed; every other character stays as it is.
QString asStoredByTextBox(const QString& text) {
    QString stored;
    stored.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;  // the '\n' that follows stands for both
        if (c == u'\r' || c == QChar::ParagraphSeparator || c == u'\ufdd0' || c == u'\ufdd1') {
            stored += u'\n';
        } else {
            stored += c;
        }
    }
    return stored;
}

QString visible(const QString& text, qsizetype limit = 40) {
    QString shown;
    for (QChar c : text.left(limit)) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            shown += c;
        } else {
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    if (text.size() > limit)
        shown += QStringLiteral("…(%1 units)").arg(text.size());
    return shown;
}

// One simulated user at the window, with the model of what the input box must hold.
class User {
public:
    User(frmMain& form, quint64 seed) : form_(form), random_(seed), text_(random_) {
        input_ = qobject_cast<QAbstractScrollArea*>(form.txtOriginal.widget());
        output_ = form.txtDecrypted.widget();
        bar_ = qobject_cast<QScrollBar*>(form.HSRotate.widget());
    }

    // Performs one random action and returns what it was, for the log.
    QString act() {
        if (model_.size() > kInputLimit)
            return clearInput();
        // A window shrunk to nothing loses activation; the user clicks it active again, as the
        // window manager lets one.
        if (QApplication::activeWindow() != &form_ && form_.width() > 0 && form_.height() > 0) {
            QApplication::setActiveWindow(&form_);
            QCoreApplication::processEvents();
            return QStringLiteral("activate the window again");
        }
        // A window shrunk below its stored minimum (489 × 379 pixels) soon gets enlarged again, or
        // little can be reached.
        if ((form_.width() < 489 || form_.height() < 379) && text_.oneIn(4))
            return Resize(489 + text_.below(1000), 379 + text_.below(500));
        const int pick = text_.below(100);
        if (pick < 47)
            maybeReturnToInput();
        if (pick < 22)
            return typeCharacters();
        if (pick < 30)
            return pressKey(Qt::Key_Backspace, QStringLiteral("Backspace"));
        if (pick < 34)
            return pressKey(Qt::Key_Return, QStringLiteral("Enter"));
        if (pick < 35)
            return pressKey(Qt::Key_Escape, QStringLiteral("Escape"));
        if (pick < 39)
            return typeCharacter(text_.oneIn(2) ? QChar(u'&') : QChar(u'('));
        if (pick < 47)
            return paste(text_.oneIn(25) ? text_.largeBlock(text_.oneIn(4)) : shortPaste());
        if (pick < 54)
            return pressKey(text_.oneIn(3) ? Qt::Key_Backtab : Qt::Key_Tab, QStringLiteral("Tab"));
        if (pick < 63)
            return clickSomewhere();
        if (pick < 67)
            return clickScrollBar();
        if (pick < 69)
            return dragScrollBar();
        if (pick < 72)
            return scrollBarKey();
        if (pick < 76)
            return Resize(
                text_.oneIn(3) ? kNarrow[text_.below(int(std::size(kNarrow)))] : text_.below(1600),
                text_.below(900));
        if (pick < 82)
            return enterNumber(form_.txtRotate.widget(), QStringLiteral("rotation"));
        if (pick < 88)
            return enterNumber(form_.txtMultiply.widget(), QStringLiteral("multiplier"));
        if (pick < 97)
            return moveCaret();
        if (pick < 99)
            return cut();
        return clearInput();
    }

    const QString& model() const { return model_; }
    bool lastActionResized() const { return resized_; }
    int widthBeforeResize(bool output) const { return output ? outputWidth_ : inputWidth_; }
    void settle() {
        resized_ = false;
        QCoreApplication::processEvents();
    }

private:
    QWidget* focus() const { return QApplication::focusWidget(); }
    bool inputHasFocus() const { return focus() == input_; }

    // Replaces the input box's selection (or inserts at its caret) in the model, when the keys
    // about to be sent go to the input box.
    void modelInsert(const QString& typed) {
        if (!inputHasFocus())
            return;
        const int start = int(form_.txtOriginal.selStart());
        const int end = int(form_.txtOriginal.selStart() + form_.txtOriginal.selLength());
        model_ = model_.left(start) + asStoredByTextBox(typed) + model_.mid(end);
    }

    // Typing and pasting mostly go to the input box: when focus is elsewhere the user often
    // clicks back into it first.
    void maybeReturnToInput() {
        if (inputHasFocus() || !text_.oneIn(2))
            return;
        QTest::mouseClick(input_->viewport(), Qt::LeftButton, {},
                          QPoint(text_.below(std::max(1, input_->viewport()->width())),
                                 text_.below(std::max(1, input_->viewport()->height()))));
        QCoreApplication::processEvents();
    }

    QString shortPaste() {
        QString clip;
        while (clip.isEmpty())
            clip = text_.pastedText(60);
        return clip;
    }

    QString typeCharacter(QChar c) {
        QWidget* target = focus();
        if (!target || target == form_.cmdExit.widget())
            return QStringLiteral("(no typing on the Exit button)");
        modelInsert(QString(c));
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(c.unicode());
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), QString(c), Qt::NoModifier);
        return QStringLiteral("type '%1' into %2").arg(visible(QString(c)), target->objectName());
    }

    QString typeCharacters() {
        const int count = 1 + text_.below(8);
        QString log;
        for (int i = 0; i < count; ++i)
            log = typeCharacter(text_.typedCharacter());
        return log + QStringLiteral(" (last of %1)").arg(count);
    }

    QString pressKey(Qt::Key key, const QString& name) {
        QWidget* target = focus();
        if (!target)
            return QStringLiteral("(no focus for %1)").arg(name);
        if (inputHasFocus()) {
            const int start = int(form_.txtOriginal.selStart());
            const int end = int(form_.txtOriginal.selStart() + form_.txtOriginal.selLength());
            if (key == Qt::Key_Return) {
                modelInsert(QStringLiteral("\n"));
            } else if (key == Qt::Key_Backspace && start != end) {
                model_.remove(start, end - start);
            } else if (key == Qt::Key_Backspace && start > 0) {
                // The grapheme before the caret goes (a line break is one), as a text layout of
                // its line steps back over it, or in a script whose syllables are typed mark by
                // mark only its last code point: which of the two is the text view's rule, tested
                // with the view; the box must hold one of them.
                const int lineStart = int(model_.lastIndexOf(u'\n', start - 1)) + 1;
                qsizetype lineEnd = model_.indexOf(u'\n', start);
                if (lineEnd < 0)
                    lineEnd = model_.size();
                int from = start - 1;
                if (lineStart < start) {
                    QTextLayout line(model_.mid(lineStart, lineEnd - lineStart), input_->font());
                    from = lineStart + line.previousCursorPosition(start - lineStart);
                }
                const bool pairLast = start >= 2 && model_[start - 1].isLowSurrogate() &&
                                      model_[start - 2].isHighSurrogate();
                const QString lastCodePointGone =
                    QString(model_).remove(start - (pairLast ? 2 : 1), pairLast ? 2 : 1);
                model_.remove(from, start - from);
                QTest::keyClick(target, key);
                if (form_.txtOriginal.text() == lastCodePointGone)
                    model_ = lastCodePointGone;
                return QStringLiteral("%1 in %2").arg(name, target->objectName());
            }
        }
        const Qt::KeyboardModifiers modifiers =
            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::keyClick(target, key, modifiers);
        return QStringLiteral("%1 in %2").arg(name, target->objectName());
    }

    QString paste(const QString& clip) {
        QWidget* target = focus();
        if (!target)
            return QStringLiteral("(no focus for paste)");
        QGuiApplication::clipboard()->setText(clip);
        if (target == input_)
            modelInsert(clip);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        return QStringLiteral("paste \"%1\" into %2").arg(visible(clip), target->objectName());
    }

    QString cut() {
        QWidget* target = focus();
        if (!target)
            return QStringLiteral("(no focus for cut)");
        if (inputHasFocus()) {
            model_.remove(form_.txtOriginal.selStart(), form_.txtOriginal.selLength());
        }
        QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
        return QStringLiteral("cut in %1").arg(target->objectName());
    }

    QString clearInput() {
        QTest::mouseClick(input_->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::processEvents();
        // In a window too narrow to show the box the user tabs there instead.
        for (int i = 0; i < 6 && !inputHasFocus() && focus(); ++i)
            QTest::keyClick(focus(), Qt::Key_Tab);
        if (!inputHasFocus())
            return QStringLiteral("(input box out of reach)");
        QTest::keyClick(input_, Qt::Key_A, Qt::ControlModifier);
        model_.clear();
        QTest::keyClick(input_, Qt::Key_Backspace);
        return QStringLiteral("select all and delete in the input box");
    }

    QString moveCaret() {
        QWidget* target = focus();
        if (!target)
            return QStringLiteral("(no focus for caret)");
        static constexpr Qt::Key kKeys[] = {Qt::Key_Home,   Qt::Key_End,     Qt::Key_Left,
                                            Qt::Key_Right,  Qt::Key_Up,      Qt::Key_Down,
                                            Qt::Key_PageUp, Qt::Key_PageDown};
        const Qt::Key key = kKeys[text_.below(int(std::size(kKeys)))];
        Qt::KeyboardModifiers modifiers;
        if (text_.oneIn(3))
            modifiers |= Qt::ShiftModifier;
        if (text_.oneIn(4))
            modifiers |= Qt::ControlModifier;
        QTest::keyClick(target, key, modifiers);
        return QStringLiteral("caret key %1 in %2").arg(int(key), 0, 16).arg(target->objectName());
    }

    // A left click at a random point of the window, on whatever lies there, except the Exit
    // button (which would end the program).
    QString clickSomewhere() {
        const QPoint point(text_.below(std::max(1, form_.width())),
                           text_.below(std::max(1, form_.height())));
        QWidget* target = form_.childAt(point);
        if (!target)
            target = &form_;
        for (QWidget* w = target; w; w = w->parentWidget()) {
            if (w == form_.cmdExit.widget())
                return QStringLiteral("(no click on Exit)");
        }
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&form_, point));
        return QStringLiteral("click at (%1, %2) on %3")
            .arg(point.x())
            .arg(point.y())
            .arg(target->objectName().isEmpty()
                     ? QString::fromLatin1(target->metaObject()->className())
                     : target->objectName());
    }

    QString clickScrollBar() {
        const QPoint point(text_.below(std::max(1, bar_->width())), bar_->height() / 2);
        QTest::mouseClick(bar_, Qt::LeftButton, {}, point);
        return QStringLiteral("click the scroll bar at x %1").arg(point.x());
    }

    QString dragScrollBar() {
        const int span = std::max(1, bar_->width());
        const QPoint from(span * (bar_->value() + 1) / (bar_->maximum() + 2), bar_->height() / 2);
        const QPoint to(text_.below(span + 40) - 20, bar_->height() / 2);
        QTest::mousePress(bar_, Qt::LeftButton, {}, from);
        QTest::mouseMove(bar_, to);
        QTest::mouseRelease(bar_, Qt::LeftButton, {}, to);
        return QStringLiteral("drag the scroll bar from x %1 to %2").arg(from.x()).arg(to.x());
    }

    QString scrollBarKey() {
        static constexpr Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Home,
                                            Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown,
                                            Qt::Key_Up,   Qt::Key_Down};
        const Qt::Key key = kKeys[text_.below(int(std::size(kKeys)))];
        if (focus() != bar_) {
            QTest::mouseClick(bar_, Qt::LeftButton, {}, QPoint(bar_->width() / 2, 1));
            QCoreApplication::processEvents();
        }
        QTest::keyClick(bar_, key);
        return QStringLiteral("scroll bar key %1").arg(int(key), 0, 16);
    }

    // Widths around the margins of the large boxes, and 0 as a minimised window has.
    static constexpr int kNarrow[] = {0, 1, 15, 16, 17, 100};

    QString Resize(int width, int height) {
        inputWidth_ = input_->width();
        outputWidth_ = output_->width();
        form_.resize(width, height);
        resized_ = true;
        return QStringLiteral("resize to %1 × %2").arg(width).arg(height);
    }

    // Clicks into a number box, selects all and types a number there, leaving the box with Tab
    // half of the time.
    QString enterNumber(QWidget* box, const QString& name) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
        QCoreApplication::processEvents();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        const QString number =
            box == form_.txtMultiply.widget() ? text_.multiplierText() : text_.numberText();
        for (QChar c : number) {
            const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(c.unicode());
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key(key), QString(c), Qt::NoModifier);
        }
        const bool leave = text_.oneIn(2);
        if (leave)
            QTest::keyClick(box, Qt::Key_Tab);
        return QStringLiteral("type %1 \"%2\"%3")
            .arg(name, number, leave ? QStringLiteral(" and Tab") : QString());
    }

    frmMain& form_;
    std::mt19937_64 random_;
    RandomText text_;
    QAbstractScrollArea* input_ = nullptr;
    QWidget* output_ = nullptr;
    QScrollBar* bar_ = nullptr;
    QString model_;
    bool resized_ = false;
    int inputWidth_ = 0;
    int outputWidth_ = 0;
};

}  // namespace

class tst_RandomUser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void randomUser_data();
    void randomUser();

private:
    std::vector<MessageBoxRequest> shown_;
    korvane::runtime::MessageBoxPresenter previous_;
};

void tst_RandomUser::initTestCase() {
    previous_ = korvane::runtime::setMessageBoxPresenter(
        [this](const MessageBoxRequest& request) { shown_.push_back(request); });
}

void tst_RandomUser::cleanupTestCase() {
    korvane::runtime::setMessageBoxPresenter(previous_);
}

void tst_RandomUser::randomUser_data() {
    QTest::addColumn<quint64>("seed");
    QTest::newRow("seed 1") << quint64(1);
    QTest::newRow("seed 20261208") << quint64(20261208);
    QTest::newRow("seed 0xC0FFEE") << quint64(0xC0FFEE);
}

void tst_RandomUser::randomUser() {
    QFETCH(quint64, seed);
    const int actions = qEnvironmentVariableIsSet("KORVANE_RANDOM_USER_ACTIONS")
                            ? qEnvironmentVariableIntValue("KORVANE_RANDOM_USER_ACTIONS")
                            : 1000;

    shown_.clear();
    auto form = std::make_unique<frmMain>();
    // The window system may give the window any client width, down to 0 when it is minimised.
    form->setMinimumSize(0, 0);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    OutputOracle oracle(*form);
    User user(*form, seed);

    std::deque<QString> log;
    int overflowReports = 0;
    qsizetype longestInput = 0;
    int totalReports = 0;
    for (int step = 1; step <= actions; ++step) {
        const int failedBefore = oracle.failedRecomputes();
        const std::size_t shownBefore = shown_.size();
        QString action;
        try {
            action = user.act();
            user.settle();
        } catch (...) {
            QFAIL(qPrintable(QStringLiteral("seed %1, action %2: an exception escaped after: %3")
                                 .arg(seed)
                                 .arg(step)
                                 .arg(QStringList(log.begin(), log.end()).join(u" | "))));
        }
        log.push_back(QStringLiteral("%1: %2").arg(step).arg(action));
        if (log.size() > 25)
            log.pop_front();
        const QString where = QStringLiteral("seed %1, action %2; last actions: %3")
                                  .arg(seed)
                                  .arg(step)
                                  .arg(QStringList(log.begin(), log.end()).join(u" | "));

        QVERIFY2(!korvane::runtime::programEnded(), qPrintable(where));
        QVERIFY2(form->isVisible(), qPrintable(where));
        const QString input = form->txtOriginal.text();
        QVERIFY2(input == user.model(),
                 qPrintable(QStringLiteral("input box holds \"%1\", the "
                                           "user put \"%2\"; %3")
                                .arg(visible(input), visible(user.model()), where)));
        longestInput = std::max(longestInput, input.size());
        const QString output = form->txtDecrypted.text();
        QVERIFY2(output == oracle.expectedOutput(),
                 qPrintable(QStringLiteral("output box shows \"%1\", expected \"%2\"; %3")
                                .arg(visible(output), visible(oracle.expectedOutput()), where)));

        int overflowsNow = 0;
        for (std::size_t i = shownBefore; i < shown_.size(); ++i) {
            const MessageBoxRequest& box = shown_[i];
            const bool known =
                (box.icon == MessageBoxIcon::Critical &&
                 (box.prompt.startsWith(kOverflowReport) || box.prompt == kInvalidValueReport)) ||
                (box.icon == MessageBoxIcon::None && box.prompt == kTooLongPrompt);
            QVERIFY2(known, qPrintable(QStringLiteral("unexpected message \"%1\"; %2")
                                           .arg(visible(box.prompt, 80), where)));
            overflowsNow += box.prompt.startsWith(kOverflowReport) ? 1 : 0;
        }
        // Each failed recompute is reported; Overflow may also come from the rotation box.
        QVERIFY2(overflowsNow >= oracle.failedRecomputes() - failedBefore, qPrintable(where));
        overflowReports += overflowsNow;
        totalReports += int(shown_.size() - shownBefore);

        if (user.lastActionResized()) {
            // Each large box keeps a margin of 8 pixels (120 twips) on both sides, or its width
            // when the window is too narrow for that.
            const int room = form->width() - 16;
            const int before[] = {user.widthBeforeResize(false), user.widthBeforeResize(true)};
            const QWidget* boxes[] = {form->txtOriginal.widget(), form->txtDecrypted.widget()};
            for (int i = 0; i < 2; ++i) {
                QVERIFY2(boxes[i]->width() == (room >= 0 ? room : before[i]),
                         qPrintable(QStringLiteral("box width %1 in a window %2 wide; %3")
                                        .arg(boxes[i]->width())
                                        .arg(form->width())
                                        .arg(where)));
            }
        }
    }
    qInfo(
        "seed %llu: %d actions, %d recomputes (%d failed), %d messages (%d Overflow), "
        "longest input %lld units",
        static_cast<unsigned long long>(seed), actions, oracle.recomputes(),
        oracle.failedRecomputes(), totalReports, overflowReports,
        static_cast<long long>(longestInput));

    // The program still ends from its Exit button after all that.
    QTest::mouseClick(form->cmdExit.widget(), Qt::LeftButton);
    QVERIFY(korvane::runtime::programEnded());
    QVERIFY(!form->isVisible());
}

QTEST_MAIN(tst_RandomUser)
#include "tst_random_user.moc"
