// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The main window as assistive technology and a keyboard-only user meet it: every control has
// a name and a description through Qt's accessibility interfaces, Tab reaches every control in
// order, each control works from the keyboard, the inverse key shows as a tooltip and in the
// accessible description, and so does the key that reads a pasted enciphered text as English.
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <memory>

#include "cipher/transform.h"
#include "message_box_capture.h"
#include "runtime/accessibility.h"
#include "window/frm_main.h"

using korvane::window::frmMain;
using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface* interfaceOf(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString accessibleText(QWidget* widget) {
    QAccessibleTextInterface* text = interfaceOf(widget)->textInterface();
    return text ? text->text(0, text->characterCount()) : QString();
}

QWidget* focusedWidget() {
    return QApplication::focusWidget();
}

// One keyboard step of a row: "type:TEXT", "tab", "backtab", "ctrl:KEY" or "key:NAME".
void press(const QString& step) {
    QWidget* target = focusedWidget();
    QVERIFY2(target, "nothing has focus");
    const QString argument = step.section(u':', 1);
    if (step.startsWith(QLatin1String("type:"))) {
        QTest::keyClicks(target, argument);
    } else if (step == QLatin1String("tab")) {
        QTest::keyClick(target, Qt::Key_Tab);
    } else if (step == QLatin1String("backtab")) {
        QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (step.startsWith(QLatin1String("ctrl:"))) {
        QTest::keyClick(target, argument.at(0).toLatin1(), Qt::ControlModifier);
    } else if (step.startsWith(QLatin1String("key:"))) {
        static const QHash<QString, Qt::Key> keys{
            {QStringLiteral("Left"), Qt::Key_Left},
            {QStringLiteral("End"), Qt::Key_End},
            {QStringLiteral("Space"), Qt::Key_Space},
            {QStringLiteral("Return"), Qt::Key_Return},
        };
        QVERIFY2(keys.contains(argument), qPrintable(step));
        QTest::keyClick(target, keys.value(argument));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

}  // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void namesAndDescriptions_data();
    void namesAndDescriptions();
    void everyControlIsDescribed();
    void tabReachesEveryControl_data();
    void tabReachesEveryControl();
    // Before keyboardOnly, whose last row ends the program: no modal loop runs after that.
    void messageBoxesAreModalAlerts_data();
    void messageBoxesAreModalAlerts();
    void keyboardOnly_data();
    void keyboardOnly();
    void inverseKeyHint_data();
    void inverseKeyHint();
    void likelyKeyHint_data();
    void likelyKeyHint();

private:
    std::unique_ptr<frmMain> form_;
    std::unique_ptr<MessageBoxCapture> capture_;
};

void tst_Accessibility::init() {
    korvane::runtime::installAccessibleInterfaces();
    capture_ = std::make_unique<MessageBoxCapture>();
    form_ = std::make_unique<frmMain>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(focusedWidget(), form_->txtOriginal.widget());
}

void tst_Accessibility::cleanup() {
    QToolTip::hideText();
    form_.reset();
    capture_.reset();
}

void tst_Accessibility::namesAndDescriptions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");

    QTest::newRow("input box") << "txtOriginal"
                               << "Enter Original text:" << QAccessible::EditableText;
    QTest::newRow("rotation box") << "txtRotate"
                                  << "Rotate by" << QAccessible::EditableText;
    QTest::newRow("rotation scroll bar") << "HSRotate"
                                         << "Rotate by" << QAccessible::ScrollBar;
    QTest::newRow("multiplier box") << "txtMultiply"
                                    << "Multiply by:" << QAccessible::EditableText;
    QTest::newRow("exit button") << "cmdExit"
                                 << "Exit" << QAccessible::Button;
    QTest::newRow("output box") << "txtDecrypted"
                                << "Altered version of text" << QAccessible::EditableText;
    QTest::newRow("input label") << "Label1"
                                 << "Enter Original text:" << QAccessible::StaticText;
    QTest::newRow("rotation label") << "Label2"
                                    << "Rotate by" << QAccessible::StaticText;
    QTest::newRow("output label") << "Label3"
                                  << "Altered version of text" << QAccessible::StaticText;
    QTest::newRow("multiplier label") << "Label4"
                                      << "Multiply by:" << QAccessible::StaticText;
}

void tst_Accessibility::namesAndDescriptions() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);

    auto* widget = form_->findChild<QWidget*>(control);
    QVERIFY(widget);
    QAccessibleInterface* accessible = interfaceOf(widget);
    QVERIFY(accessible && accessible->isValid());
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QCOMPARE(accessible->role(), role);
    const QString description = accessible->text(QAccessible::Description);
    QVERIFY2(description.size() > name.size(), qPrintable(description));
}

// Walks the window's accessible children, so that a control added later without a name or a
// description is caught too.
void tst_Accessibility::everyControlIsDescribed() {
    QAccessibleInterface* window = interfaceOf(form_.get());
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Korvane"));
    QVERIFY(window->text(QAccessible::Description).contains(QLatin1String("rotation")));
    QCOMPARE(window->childCount(), 10);
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        const QByteArray which = child->object()->objectName().toUtf8();
        QVERIFY2(!child->text(QAccessible::Name).isEmpty(), which);
        QVERIFY2(!child->text(QAccessible::Description).isEmpty(), which);
    }
}

void tst_Accessibility::tabReachesEveryControl_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("order");

    const QStringList forward{u"txtRotate"_s,   u"HSRotate"_s,    u"txtDecrypted"_s, u"cmdExit"_s,
                              u"txtMultiply"_s, u"txtOriginal"_s, u"txtRotate"_s};
    QStringList backward{u"txtMultiply"_s, u"cmdExit"_s,   u"txtDecrypted"_s,
                         u"HSRotate"_s,    u"txtRotate"_s, u"txtOriginal"_s};
    QTest::newRow("Tab, and round again") << "tab" << forward;
    QTest::newRow("Shift+Tab") << "backtab" << backward;
}

void tst_Accessibility::tabReachesEveryControl() {
    QFETCH(QString, step);
    QFETCH(QStringList, order);

    for (const QString& expected : order) {
        press(step);
        QWidget* focused = focusedWidget();
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), expected);
        QVERIFY2(interfaceOf(focused)->state().focused, qPrintable(expected));
    }
    QCOMPARE(form_->txtOriginal.text(), QString());  // Tab moved on, it typed nothing
}

void tst_Accessibility::keyboardOnly_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("rotation");
    QTest::addColumn<bool>("stillOpen");

    const auto tabs = [](int count) { return QStringList(count, QStringLiteral("tab")); };
    QTest::newRow("typing with the multiplier box empty") << QStringList{u"type:hello"_s} << "NNNNN"
                                                          << "0" << true;
    QTest::newRow("multiplier typed after Tab")
        << (QStringList{u"type:Hello, World!"_s} + tabs(5) + QStringList{u"type:1"_s})
        << "HELLO, WORLD!"
        << "0" << true;
    QTest::newRow("rotation typed into its box")
        << (QStringList{u"type:Hello"_s, u"tab"_s, u"type:3"_s} + tabs(4) +
            QStringList{u"type:1"_s})
        << "KHOOR"
        << "3" << true;
    QTest::newRow("output box is read-only")
        << (QStringList{u"type:ab"_s} + tabs(3) + QStringList{u"type:xyz"_s, u"key:Return"_s})
        << "NN"
        << "0" << true;
    // Which way each key steps the bar is the scroll bar's own test; here it is reached and
    // worked from the keyboard alone, and the output follows.
    QTest::newRow("scroll bar End, then Left steps back")
        << (QStringList{u"type:HELLO"_s} + tabs(5) + QStringList{u"type:1"_s} + tabs(3) +
            QStringList{u"key:End"_s, u"key:Left"_s})
        << "FCJJM"
        << "24" << true;
    QTest::newRow("Space on Exit ends the program")
        << (QStringList{u"type:ab"_s} + tabs(4) + QStringList{u"key:Space"_s}) << "NN"
        << "0" << false;
}

void tst_Accessibility::keyboardOnly() {
    QFETCH(QStringList, steps);
    QFETCH(QString, output);
    QFETCH(QString, rotation);
    QFETCH(bool, stillOpen);

    for (const QString& step : steps) {
        press(step);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(form_->isVisible(), stillOpen);
    QCOMPARE(accessibleText(form_->txtDecrypted.widget()), output);
    QCOMPARE(accessibleText(form_->txtRotate.widget()), rotation);
    QCOMPARE(capture_->boxes.size(), 0);
}

void tst_Accessibility::messageBoxesAreModalAlerts_data() {
    QTest::addColumn<QString>("rotation");    // pasted into the rotation box, which is then left
    QTest::addColumn<QString>("multiplier");  // typed into the multiplier box
    QTest::addColumn<QString>("message");
    QTest::newRow("rotation too long") << "1234567"
                                       << ""
                                       << "The number you have entered for rotation is too long!";
    QTest::newRow("run-time error") << ""
                                    << "400"
                                    << "Overflow";
}

// The boxes a screen reader meets are alerts that say they are modal, with the box's title as
// their name and its message as their value, and only there: a reader speaks the description as
// well, so the message in it would be read twice.
void tst_Accessibility::messageBoxesAreModalAlerts() {
    QFETCH(QString, rotation);
    QFETCH(QString, multiplier);
    QFETCH(QString, message);
    capture_.reset();  // the real modal box, not a record of it
    QAccessible::Role role = QAccessible::NoRole;
    QAccessible::State state;
    QString name;
    QString value;
    QString description;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QAccessibleInterface* accessible = interfaceOf(box);
        role = accessible->role();
        state = accessible->state();
        name = accessible->text(QAccessible::Name);
        value = accessible->text(QAccessible::Value);
        description = accessible->text(QAccessible::Description);
        box->accept();
    });
    poll.start(10);
    QTest::keyClicks(form_->txtOriginal.widget(), QStringLiteral("Z"));
    if (!rotation.isEmpty()) {
        form_->txtRotate.widget()->setFocus(Qt::TabFocusReason);
        QApplication::clipboard()->setText(rotation);
        QTest::keyClick(form_->txtRotate.widget(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(form_->txtRotate.widget(), Qt::Key_Tab);
    } else {
        form_->txtMultiply.widget()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(form_->txtMultiply.widget(), multiplier);
    }
    QTRY_COMPARE(role, QAccessible::AlertMessage);
    QVERIFY(state.modal);
    QCOMPARE(name, QCoreApplication::applicationName());
    QVERIFY2(value.contains(message), qPrintable(value));
    QVERIFY2(!description.contains(message), qPrintable(description));
}

void tst_Accessibility::inverseKeyHint_data() {
    QTest::addColumn<int>("rightSteps");  // on the rotation scroll bar
    QTest::addColumn<QString>("multiplier");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("mention");

    QTest::newRow("multiplier box, rotation 5 multiplier 3") << 5 << "3"
                                                             << "txtMultiply"
                                                             << "rotation 7 and multiplier 9";
    QTest::newRow("output box, rotation 5 multiplier 3") << 5 << "3"
                                                         << "txtDecrypted"
                                                         << "rotation 7 and multiplier 9";
    QTest::newRow("output box, rot13") << 13 << "1"
                                       << "txtDecrypted"
                                       << "rotation 13 and multiplier 1";
    QTest::newRow("even multiplier") << 0 << "2"
                                     << "txtMultiply"
                                     << "cannot be read back";
    QTest::newRow("multiple of 13") << 1 << "13"
                                    << "txtDecrypted"
                                    << "cannot be read back";
    QTest::newRow("empty multiplier box") << 0 << ""
                                          << "txtDecrypted"
                                          << "every letter becomes 'N'";
    QTest::newRow("multiplier too large for its box") << 0 << "99999"
                                                      << "txtMultiply"
                                                      << "multiplier box";
}

void tst_Accessibility::inverseKeyHint() {
    QFETCH(int, rightSteps);
    QFETCH(QString, multiplier);
    QFETCH(QString, box);
    QFETCH(QString, mention);

    QTest::keyClicks(form_->txtOriginal.widget(), QStringLiteral("Hello"));
    form_->HSRotate.widget()->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < rightSteps; ++i)
        QTest::keyClick(form_->HSRotate.widget(), Qt::Key_Right);
    form_->txtMultiply.widget()->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form_->txtMultiply.widget(), multiplier);
    const QString outputBefore = accessibleText(form_->txtDecrypted.widget());

    auto* widget = form_->findChild<QWidget*>(box);
    QVERIFY(widget);
    // The mouse rests over the box: Qt asks the widget right under it, a scroll area's viewport.
    QWidget* under = widget;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        under = area->viewport();
    const QPoint where = under->rect().center();
    QHelpEvent request(QEvent::ToolTip, where, under->mapToGlobal(where));
    QApplication::sendEvent(under, &request);

    QVERIFY2(QToolTip::isVisible(), "no tooltip shown");
    QVERIFY2(QToolTip::text().contains(mention), qPrintable(QToolTip::text()));
    const QString description = interfaceOf(widget)->text(QAccessible::Description);
    QVERIFY2(description.contains(QToolTip::text()), qPrintable(description));
    // Asking for the tooltip changes nothing the user sees in the window.
    QCOMPARE(accessibleText(form_->txtDecrypted.widget()), outputBefore);
}

namespace {

const QString kParagraph = QStringLiteral(
    "The old mill stands at the bend of the river, where the water slows and widens before it "
    "runs on towards the sea. Nobody has ground corn there for forty years, but the wheel is "
    "still in place, green with moss, and on a wet evening you can hear the river pulling at it.");

// Counts the tooltip writes a widget gets.
class ToolTipWrites final : public QObject {
public:
    explicit ToolTipWrites(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::ToolTipChange;
        return false;
    }
};

}  // namespace

void tst_Accessibility::likelyKeyHint_data() {
    QTest::addColumn<QString>("pasted");
    // "^" erases the whole text (Ctrl+A, Delete); "~" all but its first 40 characters;
    // "+" pastes what follows it at the end; "\b" is Backspace.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<int>("writesWhileTyping");  // tooltip writes after the paste
    // The caption of the menu item, or of the item of the submenu of possible readings, that the
    // keyboard chooses; empty where the menu has neither. Then the output it gives.
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("output");

    const auto sentence = [](const char* language, const char* key) {
        return QStringLiteral("This text reads as %1 with %2.")
            .arg(QLatin1String(language), QLatin1String(key));
    };
    const auto encipher = [](const QString& text, qint16 rotation, qint16 multiplier) {
        return korvane::cipher::TransformText(text, rotation, multiplier).value();
    };
    const QString byFiveThree = encipher(kParagraph, 5, 3);
    const QString paragraph = kParagraph.toUpper();
    const QString readBack = u"Read as English (rotation 7, multiplier 9)"_s;
    QTest::newRow("enciphered with rotation 5, multiplier 3")
        << byFiveThree << QString() << sentence("English", "rotation 7, multiplier 9") << 0
        << readBack << paragraph;
    QTest::newRow("typing more keeps the sentence")
        << byFiveThree << encipher(u" and so it ran on"_s, 5, 3)
        << sentence("English", "rotation 7, multiplier 9") << 0 << readBack
        << paragraph + u" AND SO IT RAN ON"_s;
    QTest::newRow("rot13 in lower case")
        << encipher(kParagraph, 13, 1).toLower() << QString()
        << sentence("English", "rotation 13, multiplier 1 (ROT13)") << 0
        << u"Read as English (rotation 13, multiplier 1, ROT13)"_s << paragraph;
    QTest::newRow("shift by 3") << encipher(kParagraph, 3, 1) << QString()
                                << sentence("English", "rotation 23, multiplier 1 (a plain shift)")
                                << 0
                                << u"Read as English (rotation 23, multiplier 1, a plain shift)"_s
                                << paragraph;
    QTest::newRow("atbash") << encipher(kParagraph, 25, 25) << QString()
                            << sentence("English", "rotation 25, multiplier 25 (Atbash)") << 0
                            << u"Read as English (rotation 25, multiplier 25, Atbash)"_s
                            << paragraph;
    const QString german =
        u"Treffen wir uns morgen um acht am Bahnhof? Ich bringe die Karten mit."_s;
    QTest::newRow("German under rot13")
        << encipher(german, 13, 1) << QString()
        << sentence("German", "rotation 13, multiplier 1 (ROT13)") << 0
        << u"Read as German (rotation 13, multiplier 1, ROT13)"_s << german.toUpper();
    // Its words and letters A–Z alone name no reading; its Ã and É tell Portuguese.
    const QString portuguese = u"Actualmente n\u00E3o \u00E9 suportada."_s;
    QTest::newRow("Portuguese told by its accented letters")
        << encipher(portuguese, 13, 1) << QString()
        << sentence("Portuguese", "rotation 13, multiplier 1 (ROT13)") << 0
        << u"Read as Portuguese (rotation 13, multiplier 1, ROT13)"_s << portuguese.toUpper();
    // Everyday words hold letter runs that the language's counted prose lacks (EIJ): the line
    // reads as Portuguese all the same.
    const QString everyday = u"Plantava feij\u00E3o e milho."_s;
    QTest::newRow("Portuguese with a letter run its counts lack")
        << encipher(everyday, 13, 1) << QString()
        << sentence("Portuguese", "rotation 13, multiplier 1 (ROT13)") << 0
        << u"Read as Portuguese (rotation 13, multiplier 1, ROT13)"_s << everyday.toUpper();
    QTest::newRow("a short line under rot13")
        << u"Oruvaq n gerr."_s << QString()
        << sentence("English", "rotation 13, multiplier 1 (ROT13)") << 0
        << u"Read as English (rotation 13, multiplier 1, ROT13)"_s << u"BEHIND A TREE."_s;
    // The recompute counts the second paste's letters; the hint reads the letters either side
    // of where the two pastes meet for the letters with their neighbours.
    QTest::newRow("a short line pasted in two halves")
        << u"Oruvaq n"_s << u"+ gerr."_s << sentence("English", "rotation 13, multiplier 1 (ROT13)")
        << 1 << u"Read as English (rotation 13, multiplier 1, ROT13)"_s << u"BEHIND A TREE."_s;
    QTest::newRow("too short to be sure offers the readings")
        << u"Zrrg ng"_s << QString() << QString() << 0
        << u"rotation 13, multiplier 1 (ROT13): MEET AT"_s << u"MEET AT"_s;
    QTest::newRow("typing on until the letters are enough")
        << byFiveThree.left(4) << byFiveThree.mid(4, 100)
        << sentence("English", "rotation 7, multiplier 9") << 1 << readBack << paragraph.left(104);
    QTest::newRow("typing a short enciphered text letter by letter")
        << byFiveThree.left(1) << byFiveThree.mid(1, 27)
        << sentence("English", "rotation 7, multiplier 9") << 1 << readBack << paragraph.left(28);
    QTest::newRow("typed letters taken away again with Backspace")
        << byFiveThree.left(28) << u"vqzxjkvqzxjkvqzxjkvq"_s + QString(20, u'\b')
        << sentence("English", "rotation 7, multiplier 9") << 2 << readBack << paragraph.left(28);
    QTest::newRow("English as it stands says nothing")
        << kParagraph << QString() << QString() << 0 << QString() << paragraph;
    QTest::newRow("a long text cut down to a short one keeps the sentence")
        << byFiveThree.repeated(12) << u"~"_s << sentence("English", "rotation 7, multiplier 9")
        << 0 << readBack << paragraph.left(40);
    // The recompute reads the pair whole, from the half before the paste: the hint counts the
    // pasted letters itself.
    const QString highHalf(QChar(0xD83D));
    const QString lowHalf(QChar(0xDE00));
    QTest::newRow("pasted after the high half of a pair")
        << highHalf << u"+"_s + lowHalf + byFiveThree
        << sentence("English", "rotation 7, multiplier 9") << 1 << readBack
        << highHalf + lowHalf + paragraph;
    QTest::newRow("erasing the text takes the sentence away")
        << byFiveThree << u"^"_s << QString() << 1 << QString() << QString();
}

// A pasted text, then typed characters, in the real input box: its tooltip is the sentence and
// its accessible description ends with it, behind the box's own description; the tooltip is
// written only when the sentence changes; the boxes, the scroll bar and the output are what
// they would be without the hint. The context menu, opened and chosen from by the keyboard, sets
// the key of its item or of an item of its submenu of possible readings.
void tst_Accessibility::likelyKeyHint() {
    QFETCH(QString, pasted);
    QFETCH(QString, typed);
    QFETCH(QString, sentence);
    QFETCH(int, writesWhileTyping);
    QFETCH(QString, item);
    QFETCH(QString, output);

    form_->txtMultiply.setText(QStringLiteral("1"));
    QWidget* input = form_->txtOriginal.widget();
    // The box is empty: its description is still its own.
    const QString own = interfaceOf(input)->text(QAccessible::Description);
    QVERIFY(!own.isEmpty());
    const QString outputDescription =
        interfaceOf(form_->txtDecrypted.widget())->text(QAccessible::Description);
    QSignalSpy inputChanges(&form_->txtOriginal, &korvane::runtime::TextBox::Change);
    QSignalSpy rotationChanges(&form_->txtRotate, &korvane::runtime::TextBox::Change);
    QSignalSpy multiplierChanges(&form_->txtMultiply, &korvane::runtime::TextBox::Change);
    QSignalSpy scrollBarChanges(&form_->HSRotate, &korvane::runtime::HScrollBar::Change);

    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    const ToolTipWrites writes(input);
    QString expectedText = pasted;
    int expectedChanges = 1;
    if (typed == u'~') {
        form_->txtOriginal.setSelStart(40);
        form_->txtOriginal.setSelLength(int(pasted.size()));
        QTest::keyClick(input, Qt::Key_Delete);
        expectedText = pasted.left(40);
        ++expectedChanges;
    } else if (typed.startsWith(u'+')) {
        QApplication::clipboard()->setText(typed.mid(1));
        QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
        expectedText += typed.mid(1);
        ++expectedChanges;
    } else if (typed == u'^') {
        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input, Qt::Key_Delete);
        expectedText.clear();
        ++expectedChanges;
    } else {
        QTest::keyClicks(input, typed);
        for (QChar typedCharacter : typed) {
            if (typedCharacter == u'\b')
                expectedText.chop(1);
            else
                expectedText += typedCharacter;
        }
        expectedChanges += int(typed.size());
    }

    QCOMPARE(form_->txtOriginal.text(), expectedText);
    QCOMPARE(input->toolTip(), sentence);
    const QString description = interfaceOf(input)->text(QAccessible::Description);
    QCOMPARE(description, sentence.isEmpty() ? own : own + u' ' + sentence);
    QCOMPARE(writes.count, writesWhileTyping);

    QCOMPARE(inputChanges.count(), expectedChanges);
    QCOMPARE(rotationChanges.count(), 0);
    QCOMPARE(multiplierChanges.count(), 0);
    QCOMPARE(scrollBarChanges.count(), 0);
    QCOMPARE(form_->txtRotate.text(), QStringLiteral("0"));
    QCOMPARE(form_->txtMultiply.text(), QStringLiteral("1"));
    QCOMPARE(accessibleText(form_->txtDecrypted.widget()),
             korvane::cipher::TransformText(expectedText, 0, 1).value());
    QCOMPARE(interfaceOf(form_->txtDecrypted.widget())->text(QAccessible::Description),
             outputDescription);

    // The box's context menu, opened from the keyboard, ends with the reading's item while the
    // hint names one, and with the submenu of possible readings while it names none.
    QTest::keyClick(input, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction* last = menu->actions().back();
    QMenu* readings = last->menu();
    QCOMPARE(last->text() == item, !sentence.isEmpty());
    QCOMPARE(readings != nullptr, sentence.isEmpty() && !item.isEmpty());
    if (item.isEmpty()) {
        QTest::keyClick(menu, Qt::Key_Escape);
    } else if (readings) {
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Right);
        QTRY_COMPARE(QApplication::activePopupWidget(), readings);
        const QList<QAction*> offered = readings->actions();
        const auto chosen = std::find_if(offered.begin(), offered.end(),
                                         [&](QAction* action) { return action->text() == item; });
        QVERIFY2(chosen != offered.end(), qPrintable(offered.front()->text()));
        for (auto at = offered.begin(); at != chosen; ++at)
            QTest::keyClick(readings, Qt::Key_Down);
        QTest::keyClick(readings, Qt::Key_Return);
    } else {
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    QCOMPARE(form_->txtDecrypted.text(), output);
    QCOMPARE(QString::number(form_->HSRotate.value()), form_->txtRotate.text());
    if (item.isEmpty())
        QCOMPARE(form_->txtMultiply.text(), QStringLiteral("1"));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
