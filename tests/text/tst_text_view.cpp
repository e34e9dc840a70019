// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The text view as its user meets it: keys and the mouse move the caret and the selection, Copy
// puts exactly the selection on the clipboard, the editing keys, undo, input methods and drops
// edit it, edits made by the program keep the reader's place, long lines scroll and repaint
// right, and assistive technology is told of every edit and move.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>
#include <memory>
#include <new>

#include "address_space_limit.h"
#include "text/view/accessibility.h"
#include "text/view/text_view.h"

using korvane::text::RefusedEdit;
using korvane::text::TextEditor;
using korvane::text::TextView;
using namespace Qt::StringLiterals;

namespace {

// A text with a short line, an empty line, a line ended by a LINE SEPARATOR, a line too long
// to be laid out whole, and a last line without a break.
QString sampleText() {
    QString longLine;
    for (int i = 0; i < 600; ++i)
        longLine += u"word "_s;
    return u"alpha beta\n\ngamma delta epsilon\x2028zeta\n"_s + longLine + u"\nlast line"_s;
}
constexpr int kLongLineStart = 37;

// A line of 5,003 characters whose two long words are longer than any window a step first reads.
QString longWords() {
    return u"start "_s + QString(2400, u'w') + u' ' + QString(2588, u'x') +
           u" end\U0001F44D\U0001F3FD"_s;
}

// A text as the clipboard gets it: every line break a line feed.
QString asCopied(QString text) {
    return text.replace(QChar::LineSeparator, u'\n');
}

// Presses the keys of a sequence such as "Ctrl+Shift+Right", each step separated by spaces.
void press(QWidget* target, const QString& steps) {
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        const QKeyCombination key = QKeySequence::fromString(step)[0];
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }
}

struct Captured {
    QAccessible::Event type;
    int position;
    int secondPosition;
    QString removed;
    QString inserted;
};
QList<Captured> gEvents;

void captureEvent(QAccessibleEvent* event) {
    Captured captured{event->type(), -1, -1, {}, {}};
    switch (event->type()) {
        case QAccessible::TextInserted: {
            auto* insert = static_cast<QAccessibleTextInsertEvent*>(event);
            captured.position = insert->changePosition();
            captured.inserted = insert->textInserted();
            break;
        }
        case QAccessible::TextRemoved: {
            auto* remove = static_cast<QAccessibleTextRemoveEvent*>(event);
            captured.position = remove->changePosition();
            captured.removed = remove->textRemoved();
            break;
        }
        case QAccessible::TextUpdated: {
            auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
            captured.position = update->changePosition();
            captured.removed = update->textRemoved();
            captured.inserted = update->textInserted();
            break;
        }
        case QAccessible::TextCaretMoved:
            captured.position = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
            break;
        case QAccessible::TextSelectionChanged: {
            auto* selection = static_cast<QAccessibleTextSelectionEvent*>(event);
            captured.position = selection->selectionStart();
            captured.secondPosition = selection->selectionEnd();
            break;
        }
        default:
            return;
    }
    gEvents.append(captured);
}

}  // namespace

class tst_TextView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keyboardSelection_data();
    void keyboardSelection();
    void pageKeysMoveByAPage();
    void keysThatWouldEditDoNothing();
    void tabMovesFocusOn();
    void caretBlinksOnlyWithFocus();
    void wheelScrolls_data();
    void wheelScrolls();
    void ctrlWheelZooms();
    void mouseSelection_data();
    void mouseSelection();
    void primarySelection_data();
    void primarySelection();
    void dragBelowTheViewScrollsIt();
    void copyPutsTheSelection_data();
    void copyPutsTheSelection();
    void contextMenu();
    void editing_data();
    void editing();
    void undoSteps_data();
    void undoSteps();
    void inputMethod_data();
    void inputMethod();
    void inputMethodQueries();
    void editableContextMenu();
    void dropCopiesAsOneStep();
    void replaceKeepsThePlace_data();
    void replaceKeepsThePlace();
    void scrollRangeFollowsTheLongestLine_data();
    void scrollRangeFollowsTheLongestLine();
    void longLineShowsTheCaret();
    void repaintsLeaveNothingStale_data();
    void repaintsLeaveNothingStale();
    void accessibleEvents_data();
    void accessibleEvents();
    void refusedEditChangesNothing_data();
    void refusedEditChangesNothing();
    void copyWithoutMemoryLeavesTheClipboard();

private:
    std::unique_ptr<QWidget> window_;
    TextView* view_ = nullptr;
    TextEditor* editor_ = nullptr;
    QLineEdit* next_ = nullptr;
};

void tst_TextView::init() {
    korvane::text::installTextAccessibility();
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    view_ = new TextView;
    editor_ = &view_->editor();
    view_->setAccessibleName(u"Altered version of text"_s);
    next_ = new QLineEdit;
    layout->addWidget(view_);
    layout->addWidget(next_);
    window_->resize(320, 240);
    view_->setText(sampleText());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // Under a bare X server no window manager makes the window active.
    window_->activateWindow();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    view_->setFocus();
    QVERIFY(view_->hasFocus());
    gEvents.clear();
}

void tst_TextView::cleanup() {
    QAccessible::installUpdateHandler(nullptr);
    window_.reset();
}

void tst_TextView::keyboardSelection_data() {
    QTest::addColumn<int>("from");
    // Keys as press() takes them, after "text:TEXT|" for a text other than the sample.
    QTest::addColumn<QString>("keys");
    // -1: where Qt's own plain-text editor, given the same keys, is after each of them.
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");

    const int length = int(sampleText().size());
    QTest::newRow("Right") << 0 << "Right" << 1 << 1;
    QTest::newRow("Shift+Right three times")
        << 0 << "Shift+Right Shift+Right Shift+Right" << 0 << 3;
    QTest::newRow("Left collapses a selection to its start")
        << 2 << "Shift+Right Shift+Right Left" << 2 << 2;
    QTest::newRow("Right collapses a selection to its end")
        << 4 << "Shift+Left Shift+Left Right" << 4 << 4;
    QTest::newRow("Right over a line break") << 10 << "Right" << 11 << 11;
    QTest::newRow("Left at the start stays") << 0 << "Left Shift+Left" << 0 << 0;
    QTest::newRow("Ctrl+Right to the next word") << 0 << "Ctrl+Right" << 6 << 6;
    QTest::newRow("Ctrl+Shift+Right to the line end, then the next line")
        << 0 << "Ctrl+Shift+Right Ctrl+Shift+Right Ctrl+Shift+Right" << 0 << 11;
    QTest::newRow("Ctrl+Left to the word start") << 8 << "Ctrl+Left" << 6 << 6;
    QTest::newRow("Ctrl+Left over the empty line") << 12 << "Ctrl+Left Ctrl+Left" << 10 << 10;
    QTest::newRow("End and Shift+Home") << 14 << "End Shift+Home" << 31 << 12;
    QTest::newRow("Home stops at a LINE SEPARATOR") << 34 << "Home" << 32 << 32;
    QTest::newRow("Down through the empty line") << 0 << "Down Down" << 12 << 12;
    QTest::newRow("Shift+Down onto the empty line") << 0 << "Shift+Down" << 0 << 11;
    QTest::newRow("Up at the top stays") << 3 << "Up" << 3 << 3;
    QTest::newRow("Down then Up through the empty line keeps the column")
        << 7 << "Down Down Up Up" << 7 << 7;
    QTest::newRow("Ctrl+End") << 5 << "Ctrl+End" << length << length;
    QTest::newRow("Ctrl+Shift+Home") << 5 << "Ctrl+Shift+Home" << 5 << 0;
    QTest::newRow("Ctrl+A") << 5 << "Ctrl+A" << 0 << length;
    QTest::newRow("End of the long line")
        << kLongLineStart + 2 << "End" << length - 10 << length - 10;
    QTest::newRow("Ctrl+Left inside the long line")
        << kLongLineStart + 1502 << "Ctrl+Left Ctrl+Shift+Left" << kLongLineStart + 1500
        << kLongLineStart + 1495;
    QTest::newRow("Up on the first line keeps the selection, Shift+Up selects to its start")
        << 3 << "Shift+Right Up Shift+Up Down Down" << -1 << -1;
    QTest::newRow("Down on the last line keeps the selection, Shift+Down selects to its end")
        << length - 4 << "Shift+Left Down Shift+Down" << -1 << -1;
    const auto in = [](const QString& text, const QString& keys) {
        return u"text:"_s + text + u'|' + keys;
    };
    // In a right-to-left line Left goes on in the text and Right back, with Ctrl by words.
    const QString arabic =
        u"\u0627\u0644\u0639\u064e\u062f\u062f 123 \u0648 \u0664\u0665\u0666\nabc"_s;
    QTest::newRow("Arabic: Left over a letter with its vowel sign")
        << 0 << in(arabic, u"Left Left Left"_s) << 4 << 4;
    QTest::newRow("Arabic, then a Latin line")
        << 0
        << in(arabic,
              u"Left Right Ctrl+Left Ctrl+Left Ctrl+Right Shift+Left Shift+Left Right End "
              u"Right Left Left Right Ctrl+Shift+Right Home"_s)
        << -1 << -1;
    QTest::newRow("Hebrew with points and digits")
        << 0
        << in(u"\u05e9\u05c1\u05b8\u05dc\u05d5\u05b9\u05dd 42 \u05e2\u05d5"_s,
              u"Left Left Ctrl+Left Shift+Left End Right Ctrl+Right Shift+Right"_s)
        << -1 << -1;
    QTest::newRow("a Hebrew word in a Latin line is stepped in order")
        << 3
        << in(u"abc \u05e9\u05dc\u05d5\u05dd def"_s, u"Right Right Right Ctrl+Right Ctrl+Left"_s)
        << -1 << -1;
    QTest::newRow("Hebrew in an isolate leaves the line left-to-right")
        << 0 << in(u"\u2067\u05d0\u2069 abc"_s, u"Right"_s) << 1 << 1;
    // Every grapheme cluster is one step, whatever its script.
    QTest::newRow("Thai, Devanagari, Hangul, CJK, accents, emoji and flags")
        << 0
        << in(u"\u0e19\u0e49\u0e33\u0e15 \u0936\u094d\u0930\u0940 \u1112\u1161\u11ab\ud55c "
              u"\u4e2d\u6587 xe\u0301 \u03b1\u0301\u0438\u0306 \U0001F468\u200D\U0001F469 "
              u"\U0001F44D\U0001F3FD \U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"_s,
              u"Right "_s.repeated(22) + u"Ctrl+Left "_s.repeated(12) +
                  u"Ctrl+Shift+Right "_s.repeated(12))
        << -1 << -1;
    QTest::newRow("5,000 characters: Ctrl+Right and Ctrl+Left over words of thousands")
        << 0
        << in(longWords(), u"Ctrl+Right "_s.repeated(5) + u"Ctrl+Left "_s.repeated(4) + u"End "_s +
                               u"Ctrl+Shift+Left "_s.repeated(3))
        << -1 << -1;
}

void tst_TextView::keyboardSelection() {
    QFETCH(int, from);
    QFETCH(QString, keys);
    QFETCH(int, anchor);
    QFETCH(int, caret);

    QString text = sampleText();
    if (keys.startsWith(u"text:")) {
        text = keys.section(u'|', 0, 0).mid(5);
        keys = keys.section(u'|', 1);
        view_->setText(text);
    }
    QPlainTextEdit edit(text);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    QTextCursor start = edit.textCursor();
    start.setPosition(from);
    edit.setTextCursor(start);
    editor_->setCursorPosition(from);
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        press(view_, key);
        press(&edit, key);
        if (anchor < 0) {
            QCOMPARE(editor_->anchorPosition(), edit.textCursor().anchor());
            QCOMPARE(editor_->cursorPosition(), edit.textCursor().position());
        }
    }
    if (anchor < 0) {
        anchor = edit.textCursor().anchor();
        caret = edit.textCursor().position();
    }
    QCOMPARE(editor_->anchorPosition(), anchor);
    QCOMPARE(editor_->cursorPosition(), caret);
    QCOMPARE(editor_->selectedText(),
             asCopied(text.mid(std::min(anchor, caret), std::abs(caret - anchor))));
    // The caret the keys moved is in view.
    QVERIFY(view_->viewport()->rect().intersects(view_->characterRect(caret)));
}

void tst_TextView::pageKeysMoveByAPage() {
    QString text;
    for (int i = 0; i < 200; ++i)
        text += u"line %1\n"_s.arg(i);
    view_->setText(text);
    const int page = view_->verticalScrollBar()->pageStep();
    QVERIFY(page > 2);
    press(view_, u"Right PgDown"_s);
    QCOMPARE(editor_->document().lineAt(editor_->cursorPosition()), page);
    QCOMPARE(editor_->cursorPosition(), editor_->document().lineStart(page) + 1);
    QCOMPARE(view_->firstVisibleLine(), page);
    press(view_, u"Shift+PgDown Shift+PgUp Shift+PgUp"_s);
    QCOMPARE(editor_->cursorPosition(), 1);
    QCOMPARE(editor_->anchorPosition(), editor_->document().lineStart(page) + 1);
    QCOMPARE(view_->firstVisibleLine(), 0);
}

void tst_TextView::keysThatWouldEditDoNothing() {
    editor_->setSelection(0, 5);
    QGuiApplication::clipboard()->setText(u"pasted"_s);
    press(view_, u"X Backspace Delete Return Enter Escape Ctrl+V Ctrl+X Ctrl+Z Shift+Insert"_s);
    QCOMPARE(editor_->text(), sampleText());
    QCOMPARE(editor_->selectionStart(), 0);
    QCOMPARE(editor_->selectionEnd(), 5);
    QVERIFY(view_->hasFocus());
}

void tst_TextView::tabMovesFocusOn() {
    QTest::keyClick(view_, Qt::Key_Tab);
    QVERIFY(next_->hasFocus());
    QTest::keyClick(next_, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(view_->hasFocus());
    QCOMPARE(editor_->text(), sampleText());
    next_->setFocus();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
    QVERIFY(view_->hasFocus());
}

// The caret blinks while the view has focus, and is not drawn without it.
void tst_TextView::caretBlinksOnlyWithFocus() {
    const int flashTime = QApplication::cursorFlashTime();
    if (flashTime < 2)
        QSKIP("The platform does not blink the caret");
    editor_->setCursorPosition(3);
    const QRect caret = view_->characterRect(3).adjusted(-1, 0, 0, 0);
    const auto caretPixels = [&] { return view_->viewport()->grab(caret).toImage(); };
    const auto blinked = [&] {
        const QImage before = caretPixels();
        return QTest::qWaitFor([&] { return caretPixels() != before; }, flashTime);
    };
    QVERIFY(blinked());
    QVERIFY(blinked());
    next_->setFocus();
    QVERIFY(!blinked());
    const QImage unfocused = caretPixels();
    editor_->setCursorPosition(4);  // the caret's old place is drawn without it
    QCOMPARE(view_->viewport()->grab(caret).toImage(), unfocused);
}

void tst_TextView::wheelScrolls_data() {
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("sideways");

    QTest::newRow("down") << QPoint(0, -120) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Shift turns it sideways")
        << QPoint(0, -120) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("a sideways wheel") << QPoint(-120, 0) << Qt::KeyboardModifiers() << true;
}

void tst_TextView::wheelScrolls() {
    QFETCH(QPoint, angle);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, sideways);

    view_->setText(sampleText().repeated(10));
    view_->repaint();  // lays out the lines in view, which sets how far the view goes sideways
    QApplication::processEvents();
    QVERIFY(view_->horizontalScrollBar()->maximum() > 0);
    QWidget* area = view_->viewport();
    const QPointF point(area->rect().center());
    QWheelEvent wheel(point, area->mapToGlobal(point), {}, angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    QCOMPARE(view_->horizontalScrollBar()->value() > 0, sideways);
    QCOMPARE(view_->verticalScrollBar()->value() > 0, !sideways);
    QCOMPARE(editor_->cursorPosition(), 0);  // the wheel scrolls, it does not move the caret
}

void tst_TextView::ctrlWheelZooms() {
    const qreal size = view_->font().pointSizeF();
    const QRect before = view_->characterRect(3);
    QWidget* area = view_->viewport();
    const QPointF point(area->rect().center());
    QWheelEvent wheel(point, area->mapToGlobal(point), {}, QPoint(0, 240), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    QCOMPARE(view_->font().pointSizeF(), size + 2);
    QVERIFY(view_->characterRect(3).height() > before.height());
    QVERIFY(view_->characterRect(3).x() > before.x());
    QCOMPARE(view_->verticalScrollBar()->value(), 0);
}

void tst_TextView::mouseSelection_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");

    QTest::newRow("click") << "click" << 8 << -1 << 8 << 8;
    QTest::newRow("click on the empty line") << "click" << 11 << -1 << 11 << 11;
    QTest::newRow("drag forward over a line break") << "drag" << 3 << 15 << 3 << 15;
    QTest::newRow("drag backward") << "drag" << 20 << 13 << 20 << 13;
    QTest::newRow("double click selects the word") << "double" << 8 << -1 << 6 << 10;
    QTest::newRow("double click at a word's end selects it") << "double" << 5 << -1 << 0 << 5;
    QTest::newRow("double click at the line's end selects its last word")
        << "double" << 10 << -1 << 6 << 10;
    QTest::newRow("double click on the empty line") << "double" << 11 << -1 << 11 << 11;
    QTest::newRow("double click then drag extends by words") << "double-drag" << 1 << 14 << 0 << 17;
    QTest::newRow("triple click selects the line") << "triple" << 14 << -1 << 12 << 32;
    QTest::newRow("click in the selection puts the caret there")
        << "click-in-selection" << 8 << -1 << 8 << 8;
    QTest::newRow("shift click extends") << "shift-click" << 4 << 20 << 4 << 20;
}

void tst_TextView::mouseSelection() {
    QFETCH(QString, gesture);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, anchor);
    QFETCH(int, caret);

    QWidget* area = view_->viewport();
    // One pixel into the character, where a click lands before it.
    const auto at = [&](int position) {
        return view_->characterRect(position).topLeft() + QPoint(1, 2);
    };
    editor_->setCursorPosition(30);
    if (gesture == u"click") {
        QTest::mouseClick(area, Qt::LeftButton, {}, at(first));
    } else if (gesture == u"drag") {
        QTest::mousePress(area, Qt::LeftButton, {}, at(first));
        QTest::mouseMove(area, at((first + second) / 2));
        QTest::mouseMove(area, at(second));
        QTest::mouseRelease(area, Qt::LeftButton, {}, at(second));
    } else if (gesture == u"double") {
        QTest::mouseDClick(area, Qt::LeftButton, {}, at(first));
    } else if (gesture == u"double-drag") {
        // The second press of a double click held down and dragged.
        const auto send = [&](QEvent::Type type, QPoint point, Qt::MouseButtons held) {
            QMouseEvent event(type, point, area->mapToGlobal(point), Qt::LeftButton, held, {});
            QApplication::sendEvent(area, &event);
        };
        send(QEvent::MouseButtonPress, at(first), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at(first), {});
        send(QEvent::MouseButtonPress, at(first), Qt::LeftButton);
        send(QEvent::MouseButtonDblClick, at(first), Qt::LeftButton);
        send(QEvent::MouseMove, at(second), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at(second), {});
    } else if (gesture == u"triple") {
        QTest::mouseDClick(area, Qt::LeftButton, {}, at(first));
        QTest::mouseClick(area, Qt::LeftButton, {}, at(first));
    } else if (gesture == u"click-in-selection") {
        editor_->setSelection(6, 10);
        QTest::mousePress(area, Qt::LeftButton, {}, at(first));
        QCOMPARE(editor_->selectedText(), u"beta"_s);  // kept, as it may be dragged away
        QTest::mouseRelease(area, Qt::LeftButton, {}, at(first));
    } else if (gesture == u"shift-click") {
        QTest::mouseClick(area, Qt::LeftButton, {}, at(first));
        QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, at(second));
    }
    QCOMPARE(editor_->anchorPosition(), anchor);
    QCOMPARE(editor_->cursorPosition(), caret);
    if (QGuiApplication::clipboard()->supportsSelection() && anchor != caret)
        QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection),
                 editor_->selectedText());
}

void tst_TextView::primarySelection_data() {
    // What happens after "beta" (6 to 10) is selected: "deselect" moves the caret, "edit" has
    // the program put `text` in at `at` in place of `removed` characters, "close" ends the view.
    QTest::addColumn<QString>("then");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << u""_s << 0 << 0 << QString();
    QTest::newRow("the selection is dropped") << u"deselect"_s << 0 << 0 << QString();
    QTest::newRow("its text is rewritten") << u"edit"_s << 6 << 4 << u"BETA"_s;
    QTest::newRow("text put in before it") << u"edit"_s << 0 << 0 << u"new "_s;
    QTest::newRow("text put in at its end") << u"edit"_s << 10 << 0 << u"s"_s;
    QTest::newRow("the view is closed") << u"close"_s << 0 << 0 << QString();
}

// The primary selection, which the middle button pastes, is the text as it was selected, also
// after the selection is dropped, its text changes or the view is gone, as with Qt's editors;
// the view hands it over only when asked for it.
void tst_TextView::primarySelection() {
    QFETCH(QString, then);
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        QSKIP("The platform has no primary selection");
    editor_->setSelection(10, 6);
    press(view_, u"Shift+Left"_s);  // selected from the keyboard: "beta" and the space before
    QCOMPARE(editor_->selectedText(), u" beta"_s);
    if (then == u"deselect")
        press(view_, u"Right"_s);
    else if (then == u"edit")
        editor_->document().replace(at, removed, text);
    else if (then == u"close")
        window_.reset();
    QCOMPARE(clipboard->text(QClipboard::Selection), u" beta"_s);
}

void tst_TextView::dragBelowTheViewScrollsIt() {
    QString text;
    for (int i = 0; i < 200; ++i)
        text += u"line %1\n"_s.arg(i);
    view_->setText(text);
    QWidget* area = view_->viewport();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, 10));
    QTest::mouseMove(area, QPoint(10, area->height() + 20));
    QTRY_VERIFY(view_->firstVisibleLine() >= 3);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(10, area->height() + 20));
    const int scrolled = view_->firstVisibleLine();
    QTest::qWait(150);
    QCOMPARE(view_->firstVisibleLine(), scrolled);  // stops with the button released
    QCOMPARE(editor_->anchorPosition(), 0);
    QVERIFY(editor_->document().lineAt(editor_->cursorPosition()) >= scrolled);
}

void tst_TextView::copyPutsTheSelection_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("copied");

    QTest::newRow("a word with Ctrl+C") << 6 << 10 << "Ctrl+C"
                                        << "beta";
    QTest::newRow("backwards over line breaks with Ctrl+Insert") << 14 << 6 << "Ctrl+Ins"
                                                                 << "beta\n\nga";
    QTest::newRow("a LINE SEPARATOR is copied as a line feed") << 24 << 35 << "Ctrl+C"
                                                               << "epsilon\nzet";
    QTest::newRow("nothing selected leaves the clipboard") << 6 << 6 << "Ctrl+C"
                                                           << "before";
}

void tst_TextView::copyPutsTheSelection() {
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QString, copied);

    QGuiApplication::clipboard()->setText(u"before"_s);
    editor_->setSelection(anchor, caret);
    press(view_, keys);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
}

void tst_TextView::contextMenu() {
    std::unique_ptr<QMenu> menu(view_->createStandardContextMenu());
    auto* copy = menu->findChild<QAction*>(u"edit-copy"_s);
    auto* selectAll = menu->findChild<QAction*>(u"select-all"_s);
    QVERIFY(copy && selectAll);
    QVERIFY(copy->text().startsWith(u"&Copy"_s));
    QVERIFY(selectAll->text().startsWith(u"Select All"_s));
    QVERIFY(!copy->isEnabled());
    selectAll->trigger();
    QCOMPARE(editor_->selectionStart(), 0);
    QCOMPARE(editor_->selectionEnd(), sampleText().size());

    menu.reset(view_->createStandardContextMenu());
    copy = menu->findChild<QAction*>(u"edit-copy"_s);
    QVERIFY(copy->isEnabled());
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), asCopied(sampleText()));
}

// Runs steps on the view: "type:TEXT" types it, "paste:TEXT" pastes it, "dclick:POSITION"
// double-clicks the character there, "drop:TEXT" drops it on the second character,
// "commit:TEXT" has an input method commit it, "middle:TEXT" pastes it as the primary selection
// with the middle button, anything else is a key sequence for press().
void run(TextView* view, const QString& steps) {
    for (const QString& step : steps.split(u'|')) {
        if (step.startsWith(u"dclick:")) {
            view->ensureVisible(step.mid(7).toInt());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                               view->characterRect(step.mid(7).toInt()).center());
        } else if (step.startsWith(u"type:")) {
            QTest::keyClicks(view, step.mid(5));
        } else if (step.startsWith(u"paste:")) {
            QGuiApplication::clipboard()->setText(step.mid(6));
            press(view, u"Ctrl+V"_s);
        } else if (step.startsWith(u"drop:")) {
            QMimeData data;
            data.setText(step.mid(5));
            const QPoint at = view->characterRect(1).topLeft() + QPoint(1, 2);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(view->viewport(), &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(view->viewport(), &drop);
        } else if (step.startsWith(u"commit:")) {
            QInputMethodEvent event;
            event.setCommitString(step.mid(7));
            QApplication::sendEvent(view, &event);
        } else if (step.startsWith(u"middle:")) {
            QGuiApplication::clipboard()->setText(step.mid(7), QClipboard::Selection);
            QTest::mouseClick(view->viewport(), Qt::MiddleButton, {},
                              view->characterRect(1).center());
        } else {
            press(view, step);
        }
    }
}

void tst_TextView::editing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("typed at the caret") << "ab" << 1 << 1 << "type:XY"
                                        << "aXYb" << 3;
    QTest::newRow("typed over the selection") << "abcd" << 1 << 3 << "type:Z"
                                              << "aZd" << 2;
    QTest::newRow("Backspace takes an accented letter") << u"xe\u0301y"_s << 3 << 3 << "Backspace"
                                                        << "xy" << 1;
    QTest::newRow("Backspace takes a pair") << u"a\U0001F600b"_s << 3 << 3 << "Backspace"
                                            << "ab" << 1;
    QTest::newRow("Backspace joins lines") << "a\nb" << 2 << 2 << "Backspace"
                                           << "ab" << 1;
    QTest::newRow("Delete takes an accented letter") << u"xe\u0301y"_s << 1 << 1 << "Del"
                                                     << "xy" << 1;
    QTest::newRow("Delete takes the selection") << "abcd" << 3 << 1 << "Del"
                                                << "ad" << 1;
    QTest::newRow("Ctrl+Backspace takes a word") << "one two" << 7 << 7 << "Ctrl+Backspace"
                                                 << "one " << 4;
    QTest::newRow("Ctrl+Delete takes a word") << "one two" << 0 << 0 << "Ctrl+Del"
                                              << "two" << 0;
    QTest::newRow("Enter puts a line feed") << "ab" << 1 << 1 << "Return"
                                            << "a\nb" << 2;
    QTest::newRow("Tab types nothing") << "ab" << 1 << 1 << "Tab"
                                       << "ab" << 1;
    QTest::newRow("cut") << "abc" << 0 << 2 << "Ctrl+X"
                         << "c" << 0;
    QTest::newRow("paste makes every line break a line feed")
        << "ab" << 1 << 1 << u"paste:P\r\nQ\rR\u2029S"_s << "aP\nQ\nR\nSb" << 8;
    QTest::newRow("paste over the selection") << "abc" << 0 << 3 << "paste:x"
                                              << "x" << 1;
    // Backspace takes a syllable typed mark by mark a mark at a time (Thai, Devanagari, Arabic,
    // Hangul jamo), a Latin, Greek or Cyrillic letter with its accents, a kana with its mark and
    // an emoji sequence whole.
    const std::pair<QString, QString> backspaced[] = {
        {u"\u0e19\u0e49\u0e33"_s, u"\u0e19\u0e49"_s},
        {u"\u0936\u094d\u0930\u0940"_s, u"\u0936\u094d\u0930"_s},
        {u"\u0639\u064e"_s, u"\u0639"_s},
        {u"\u1112\u1161\u11ab"_s, u"\u1112\u1161"_s},
        {u"\u03b1\u0301"_s, {}},
        {u"\u0438\u0306"_s, {}},
        {u"\u304b\u3099"_s, {}},
        {u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s, {}},
        {u"\U0001F44D\U0001F3FD"_s, {}},
        {u"\u2764\uFE0F"_s, {}},
        {u"\u26F9\u200D\u2640"_s, {}},
        {u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"_s, u"\U0001F1E9\U0001F1EA"_s}};
    for (const auto& [before, after] : backspaced)
        QTest::newRow(qPrintable(u"Backspace after "_s + before))
            << before << int(before.size()) << int(before.size()) << "Backspace" << after
            << int(after.size());
    QTest::newRow("Ctrl+Backspace takes a word of thousands")
        << longWords() << 4995 << 4995 << "Ctrl+Backspace" << longWords().remove(2407, 2588)
        << 2407;
    QTest::newRow("Ctrl+Delete takes a word of thousands")
        << longWords() << 6 << 6 << "Ctrl+Del" << longWords().remove(6, 2401) << 6;
    QTest::newRow("a double click and Delete take a word of thousands")
        << longWords() << 0 << 0 << "dclick:4900|Del" << longWords().remove(2407, 2588) << 2407;
}

void tst_TextView::editing() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, steps);
    QFETCH(QString, edited);
    QFETCH(int, caretAfter);
    editor_->setReadOnly(false);
    view_->setText(text);
    editor_->setSelection(anchor, caret);
    run(view_, steps);
    QCOMPARE(editor_->text(), edited);
    QCOMPARE(editor_->cursorPosition(), caretAfter);
    // A read-only view takes none of it.
    editor_->setReadOnly(true);
    view_->setText(text);
    editor_->setSelection(anchor, caret);
    view_->setFocus();
    run(view_, steps);
    QCOMPARE(editor_->text(), text);
}

// What each key and edit of the view records for the undo history: the history's own rules of
// which edits join a step are the document suite's table.
void tst_TextView::undoSteps_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("undone");  // the text after each Ctrl+Z, one by one
    QTest::newRow("a typed run is one step") << "type:abc" << QStringList{""};
    QTest::newRow("a typed line break is a step of its own")
        << "type:ab|Return|type:cd" << QStringList{"ab\n", "ab", ""};
    QTest::newRow("a run of Backspace is one step")
        << "type:abcd|Ctrl+Z|paste:abcd|Backspace|Backspace|Backspace" << QStringList{"abcd", ""};
    QTest::newRow("each paste is a step") << "paste:ab|paste:cd" << QStringList{"ab", ""};
    QTest::newRow("typing over a selection is one step with what is typed after it")
        << "paste:Korv key test|Home Right Right Right Right Right Shift+Right Shift+Right|"
           "type:one two"
        << QStringList{"Korv key test", ""};
}

void tst_TextView::undoSteps() {
    QFETCH(QString, steps);
    QFETCH(QStringList, undone);
    editor_->setReadOnly(false);
    view_->setText(QString());
    editor_->document().clearUndoRedoStacks();
    // The window's shortcuts on the same keys do not take them from the box.
    for (const QString& key : {u"Ctrl+Z"_s, u"Ctrl+Y"_s, u"Ctrl+Shift+Z"_s})
        new QShortcut(QKeySequence(key), window_.get());
    run(view_, steps);
    const QString done = editor_->text();
    for (const QString& text : undone) {
        press(view_, u"Ctrl+Z"_s);
        QCOMPARE(editor_->text(), text);
    }
    QVERIFY(!editor_->document().isUndoAvailable());
    // Redo, by either key, brings each step back.
    for (qsizetype i = undone.size() - 2; i >= -1; --i) {
        press(view_, i % 2 ? u"Ctrl+Shift+Z"_s : u"Ctrl+Y"_s);
        QCOMPARE(editor_->text(), i >= 0 ? undone[i] : done);
    }
}

void tst_TextView::inputMethod_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("preedit");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<int>("replaceFrom");  // from the caret
    QTest::addColumn<int>("replaced");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("pre-edit stays out of the text") << "ab" << 1 << "ni"
                                                    << "" << 0 << 0 << "ab" << 1;
    QTest::newRow("commit goes in at the caret")
        << "ab" << 1 << "" << u"\u4f60"_s << 0 << 0 << u"a\u4f60b"_s << 2;
    QTest::newRow("commit with a new pre-edit") << "ab" << 2 << "ha"
                                                << "x" << 0 << 0 << "abx" << 3;
    QTest::newRow("commit replaces the range before the caret") << "abc" << 3 << ""
                                                                << "X" << -2 << 1 << "aXc" << 2;
    QTest::newRow("empty commit removes the range") << "abc" << 3 << ""
                                                    << "" << -1 << 1 << "ab" << 2;
}

void tst_TextView::inputMethod() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, preedit);
    QFETCH(QString, commit);
    QFETCH(int, replaceFrom);
    QFETCH(int, replaced);
    QFETCH(QString, edited);
    QFETCH(int, caretAfter);
    editor_->setReadOnly(false);
    QVERIFY(view_->testAttribute(Qt::WA_InputMethodEnabled));
    view_->setText(text);
    editor_->setCursorPosition(caret);
    int changes = 0;
    connect(editor_, &TextEditor::contentsChanged, this, [&] { ++changes; });
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit, replaceFrom, replaced);
    QApplication::sendEvent(view_, &event);
    QCOMPARE(editor_->text(), edited);
    QCOMPARE(editor_->cursorPosition(), caretAfter);
    QCOMPARE(editor_->preedit().text, preedit);
    QCOMPARE(changes, edited == text ? 0 : 1);
    // The pre-edit is shown in place: the caret is drawn after it, not at the caret.
    const QRect atCaret = view_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QCOMPARE(
        atCaret.left() > view_->characterRect(caretAfter).left() + view_->viewport()->pos().x(),
        !preedit.isEmpty());
    // Undone as one step.
    if (edited != text) {
        editor_->undo();
        QCOMPARE(editor_->text(), text);
    }
}

void tst_TextView::inputMethodQueries() {
    view_->setText(u"first\nsecond line\nthird"_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    QVERIFY(!view_->testAttribute(Qt::WA_InputMethodEnabled));
    editor_->setReadOnly(false);
    QCOMPARE(view_->inputMethodQuery(Qt::ImEnabled).toBool(), true);
    editor_->setSelection(9, 13);  // "ond " on the second line
    QCOMPARE(view_->inputMethodQuery(Qt::ImSurroundingText).toString(), u"second line"_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImCursorPosition).toInt(), 7);
    QCOMPARE(view_->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 3);
    QCOMPARE(view_->inputMethodQuery(Qt::ImCurrentSelection).toString(), u"ond "_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImTextBeforeCursor).toString(), u"second "_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImTextAfterCursor).toString(), u"line"_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImFont).value<QFont>(), view_->font());
    QVERIFY(!view_->inputMethodQuery(Qt::ImMaximumTextLength).isValid());
    const QRect caret = view_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(view_->viewport()->geometry().contains(caret.topLeft()));
}

void tst_TextView::editableContextMenu() {
    editor_->setReadOnly(false);
    view_->setText(u"ab"_s);
    editor_->document().clearUndoRedoStacks();
    editor_->setSelection(0, 1);
    QGuiApplication::clipboard()->setText(u"x"_s);
    std::unique_ptr<QMenu> menu(view_->createStandardContextMenu());
    QStringList names;
    QStringList enabled;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        names << action->objectName();
        if (action->isEnabled())
            enabled << action->objectName();
    }
    QCOMPARE(names, (QStringList{"edit-undo", "edit-redo", "edit-cut", "edit-copy", "edit-paste",
                                 "edit-delete", "select-all"}));
    QCOMPARE(enabled,
             (QStringList{"edit-cut", "edit-copy", "edit-paste", "edit-delete", "select-all"}));
    menu->findChild<QAction*>(u"edit-delete"_s)->trigger();
    QCOMPARE(editor_->text(), u"b"_s);
    menu.reset(view_->createStandardContextMenu());
    QVERIFY(menu->findChild<QAction*>(u"edit-undo"_s)->isEnabled());
    QVERIFY(menu->findChild<QAction*>(u"edit-undo"_s)->text().startsWith(u"&Undo"_s));
    menu->findChild<QAction*>(u"edit-undo"_s)->trigger();
    QCOMPARE(editor_->text(), u"ab"_s);
    // The owner's item comes last, while it has a caption.
    view_->setExtraMenuItem(u"Read as English"_s);
    menu.reset(view_->createStandardContextMenu());
    QAction* extra = menu->actions().back();
    QCOMPARE(extra->text(), u"Read as English"_s);
    int triggered = 0;
    connect(view_, &TextView::extraMenuItemTriggered, this, [&] { ++triggered; });
    extra->trigger();
    QCOMPARE(triggered, 1);
    view_->setExtraMenuItem(QString());
    menu.reset(view_->createStandardContextMenu());
    QCOMPARE(menu->actions().back()->objectName(), u"select-all"_s);
}

// Text dragged in from elsewhere is copied where it is dropped, as one undo step, and the view
// takes the focus.
void tst_TextView::dropCopiesAsOneStep() {
    editor_->setReadOnly(false);
    view_->setText(u"ab"_s);
    next_->setFocus();
    QMimeData data;
    data.setText(u"X\r\nY"_s);
    const QPoint at = view_->characterRect(1).topLeft() + QPoint(1, 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_->viewport(), &drop);
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
    QCOMPARE(editor_->text(), u"aX\nYb"_s);
    QVERIFY(view_->hasFocus());
    editor_->undo();
    QCOMPARE(editor_->text(), u"ab"_s);
    // A read-only view takes no drop.
    editor_->setReadOnly(true);
    QDragEnterEvent refused(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_->viewport(), &refused);
    QVERIFY(!refused.isAccepted());
}

void tst_TextView::replaceKeepsThePlace_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("topLine");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");

    // Lines "line 00" to "line 99" of 8 characters each; the view starts at line 50, the
    // selection goes from 482 (line 60) to 491 (line 61).
    QTest::newRow("lines added above") << 42 << 0 << "x\ny\nz"
                                       << "line 50" << 487 << 496;
    QTest::newRow("lines removed above") << 81 << 16 << ""
                                         << "line 50" << 466 << 475;
    QTest::newRow("a change on the top line") << 403 << 2 << "LL\nMM"
                                              << "linLL" << 485 << 494;
    QTest::newRow("the top line's start removed") << 397 << 8 << ""
                                                  << "line 50" << 474 << 483;
    QTest::newRow("inside the selection") << 485 << 3 << "xx\n"
                                          << "line 50" << 482 << 491;
    QTest::newRow("over the caret") << 490 << 4 << "AB"
                                    << "line 50" << 482 << 492;
    QTest::newRow("at the caret") << 491 << 0 << "Q"
                                  << "line 50" << 482 << 492;
    QTest::newRow("below everything") << 720 << 8 << ""
                                      << "line 50" << 482 << 491;
    // As a new key rewrites the output: every line, each as long as before.
    QString rewritten;
    for (int i = 0; i < 100; ++i)
        rewritten += u"LINE %1\n"_s.arg(i, 2, 10, QChar(u'0'));
    QTest::newRow("the whole text rewritten, as long")
        << 0 << 800 << rewritten << "LINE 50" << 482 << 491;
}

void tst_TextView::replaceKeepsThePlace() {
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(QString, topLine);
    QFETCH(int, anchor);
    QFETCH(int, caret);

    QString text;
    for (int i = 0; i < 100; ++i)
        text += u"line %1\n"_s.arg(i, 2, 10, QChar(u'0'));
    view_->setText(text);
    editor_->setSelection(482, 491);
    view_->verticalScrollBar()->setValue(50);

    editor_->document().replace(position, removed, inserted);
    text.replace(position, removed, inserted);
    QCOMPARE(editor_->text(), text);
    const int top = view_->firstVisibleLine();
    QCOMPARE(text.mid(editor_->document().lineStart(top),
                      editor_->document().lineEnd(top) - editor_->document().lineStart(top)),
             topLine);
    QCOMPARE(editor_->anchorPosition(), anchor);
    QCOMPARE(editor_->cursorPosition(), caret);
    QCOMPARE(editor_->selectedText(), text.mid(anchor, caret - anchor));
}

void tst_TextView::scrollRangeFollowsTheLongestLine_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");

    // "short", a line of 5000 a's from 6, a line of 4000 b's from 5007, then "end".
    QTest::newRow("the longest line shortened below another") << 100 << 3000 << QString();
    QTest::newRow("the longest line shortened, still longest") << 100 << 500 << QString();
    QTest::newRow("another line grown past the longest") << 6000 << 0 << QString(3000, u'c');
    QTest::newRow("the longest line removed") << 6 << 5001 << QString();
    QTest::newRow("the two long lines joined") << 5006 << 1 << QString();
    QTest::newRow("the longest line split in two") << 2000 << 0 << u"\n"_s;
    QTest::newRow("an edit in a short line") << 2 << 1 << u"xyz"_s;
}

void tst_TextView::scrollRangeFollowsTheLongestLine() {
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);

    // Lines this long are not laid out whole: the scroll range comes from the longest one's
    // length, which must be the same after the edit as for the edited text shown afresh.
    QString text = u"short\n"_s + QString(5000, u'a') + u'\n' + QString(4000, u'b') + u"\nend"_s;
    view_->setText(text);
    editor_->document().replace(position, removed, inserted);
    text.replace(position, removed, inserted);
    const int edited = view_->horizontalScrollBar()->maximum();
    view_->setText(text);
    QCOMPARE(edited, view_->horizontalScrollBar()->maximum());
    QVERIFY(edited > 0);
}

void tst_TextView::longLineShowsTheCaret() {
    // A line of a megabyte: the caret at its end, and back at its start, are drawn where the
    // view shows them, and a click there finds the same place.
    QString text = u"first\n"_s + QString(1 << 20, u'm') + u"\nlast"_s;
    view_->setText(text);
    for (const QString& keys : {u"Down End"_s, u"Home"_s, u"End Ctrl+Left"_s}) {
        press(view_, keys);
        const QRect caret = view_->characterRect(editor_->cursorPosition());
        QVERIFY2(view_->viewport()->rect().contains(caret.center()), qPrintable(keys));
        view_->repaint();
        QCOMPARE(view_->positionAt(caret.topLeft() + QPoint(0, 2)), editor_->cursorPosition());
    }
}

void tst_TextView::repaintsLeaveNothingStale_data() {
    // Steps: keys as press() takes them, "type:TEXT", or "insert:POSITION:TEXT" by the program.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("typing on a line") << QStringList{u"Down"_s, u"type:abc"_s};
    QTest::newRow("a line break typed and taken back")
        << QStringList{u"End"_s, u"Return"_s, u"type:x"_s, u"Backspace"_s, u"Backspace"_s};
    QTest::newRow("the caret moved between lines")
        << QStringList{u"Down"_s, u"Down"_s, u"Up"_s, u"Ctrl+End"_s, u"Ctrl+Home"_s};
    QTest::newRow("a selection made and dropped")
        << QStringList{u"Shift+Down"_s, u"Shift+Down"_s, u"Right"_s, u"Up"_s};
    QTest::newRow("lines put in above the caret by the program")
        << QStringList{u"Down"_s, u"Down"_s, u"insert:0:new\nlines\n"_s, u"insert:3:x"_s};
}

// After each step, what the window shows, repainted only where the view asked, equals the view
// painted afresh: no line is left as it was before the step.
void tst_TextView::repaintsLeaveNothingStale() {
    QFETCH(QStringList, steps);
    QScreen* screen = window_->screen();
    if (screen->grabWindow(window_->winId()).isNull())
        QSKIP("The platform cannot show what a window holds");
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);  // a caret that does not blink is in both pictures
    editor_->setReadOnly(false);
    QWidget* viewport = view_->viewport();
    const QRect inWindow(viewport->mapTo(window_.get(), QPoint()), viewport->size());
    QCoreApplication::processEvents();
    for (const QString& step : steps) {
        if (step.startsWith(u"type:"))
            QTest::keyClicks(view_, step.section(u':', 1));
        else if (step.startsWith(u"insert:"))
            editor_->document().replace(step.section(u':', 1, 1).toInt(), 0, step.section(u':', 2));
        else
            press(view_, step);
        QCoreApplication::processEvents();
        const QImage shown = screen->grabWindow(window_->winId())
                                 .toImage()
                                 .copy(inWindow)
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage fresh = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown != fresh) {
            QApplication::setCursorFlashTime(flashTime);
            QFAIL(qPrintable(u"stale after "_s + step));
        }
    }
    QApplication::setCursorFlashTime(flashTime);
}

void tst_TextView::accessibleEvents_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("secondPosition");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("replace sends only the span")
        << "replace" << int(QAccessible::TextUpdated) << 6 << -1 << "beta"
        << "BETA!";
    QTest::newRow("insert") << "insert" << int(QAccessible::TextInserted) << 11 << -1 << ""
                            << "new\n";
    QTest::newRow("remove") << "remove" << int(QAccessible::TextRemoved) << 0 << -1 << "alpha "
                            << "";
    QTest::newRow("set text") << "setText" << int(QAccessible::TextUpdated) << 0 << -1
                              << sampleText() << "other";
    // Positions count code points: the emoji before the edit is one.
    QTest::newRow("insert after an emoji")
        << "emoji-insert" << int(QAccessible::TextInserted) << 2 << -1 << ""
        << "y";
    QTest::newRow("caret after an emoji")
        << "emoji-key" << int(QAccessible::TextCaretMoved) << 1 << -1 << ""
        << "";
    QTest::newRow("caret moved by a key")
        << "key" << int(QAccessible::TextCaretMoved) << 1 << -1 << ""
        << "";
    QTest::newRow("selection by a key")
        << "shift-key" << int(QAccessible::TextSelectionChanged) << 0 << 6 << ""
        << "";
}

void tst_TextView::accessibleEvents() {
    QFETCH(QString, action);
    QFETCH(int, type);
    QFETCH(int, position);
    QFETCH(int, secondPosition);
    QFETCH(QString, removed);
    QFETCH(QString, inserted);

    // What assistive technology is told, watched where Qt hands it to the platform. Qt tells
    // only while a screen reader's bridge is active: tst_text_view_x11 runs this on the X11
    // platform with the AT-SPI bus.
    if (!QAccessible::isActive())
        QSKIP("no accessibility bridge is active; tst_text_view_x11 runs this");
    QAccessible::installUpdateHandler(captureEvent);
    if (action.startsWith(u"emoji"))
        view_->setText(u"\U0001F600 x"_s);
    gEvents.clear();
    if (action == u"replace")
        editor_->document().replace(6, 4, u"BETA!");
    else if (action == u"insert")
        editor_->document().replace(11, 0, u"new\n");
    else if (action == u"remove")
        editor_->document().replace(0, 6, QStringView());
    else if (action == u"setText")
        view_->setText(u"other"_s);
    else if (action == u"emoji-insert")
        editor_->document().replace(3, 0, u"y");
    else if (action == u"emoji-key")
        press(view_, u"Right"_s);
    else if (action == u"key")
        press(view_, u"Right"_s);
    else if (action == u"shift-key")
        press(view_, u"Ctrl+Shift+Right"_s);
    QAccessible::installUpdateHandler(nullptr);

    const auto found = std::find_if(gEvents.begin(), gEvents.end(),
                                    [&](const Captured& event) { return event.type == type; });
    QVERIFY(found != gEvents.end());
    QCOMPARE(found->position, position);
    QCOMPARE(found->secondPosition, secondPosition);
    QCOMPARE(found->removed, removed);
    QCOMPARE(found->inserted, inserted);
}

namespace {

// How a refused edit fails: what follows the edit runs out of memory once it is made, or the
// check before it finds no memory for what following it needs.
enum class Failure { Following, NoMemoryToFollow };

// The text after each undo, until there is nothing left to undo; the undo is redone after.
QStringList undoneTexts(TextView* view) {
    QStringList texts;
    int undone = 0;
    while (view->editor().document().isUndoAvailable() && undone < 20) {
        view->editor().undo();
        texts.append(view->editor().text());
        ++undone;
    }
    while (undone-- > 0)
        view->editor().redo();
    return texts;
}

}  // namespace

Q_DECLARE_METATYPE(Failure)
Q_DECLARE_METATYPE(RefusedEdit::Kind)

void tst_TextView::refusedEditChangesNothing_data() {
    QTest::addColumn<QString>("before");  // steps on "abcd" that make the history
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("refused");  // the steps of the edit refused
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<RefusedEdit::Kind>("kind");
    QTest::addColumn<qint64>("bytes");  // what the refusal says of the text's size
    const auto following = Failure::Following;
    QTest::newRow("typing on a typed run")
        << "End|type:xy" << 6 << 6 << "type:z" << following << RefusedEdit::Typing << qint64(-1);
    QTest::newRow("Enter") << "type:x" << 1 << 1 << "Return" << following << RefusedEdit::Typing
                           << qint64(-1);
    QTest::newRow("Backspace on a Backspace run")
        << "End|Backspace" << 3 << 3 << "Backspace" << following << RefusedEdit::Deleting
        << qint64(-1);
    QTest::newRow("Delete of the selection")
        << "type:x" << 1 << 3 << "Del" << following << RefusedEdit::Deleting << qint64(-1);
    QTest::newRow("paste over the selection")
        << "type:x" << 3 << 1 << "paste:PQ" << following << RefusedEdit::Pasting << qint64(2);
    QTest::newRow("cut") << "type:x" << 0 << 2 << "Ctrl+X" << following << RefusedEdit::Cutting
                         << qint64(2);
    QTest::newRow("drop") << "type:x" << 2 << 2 << "drop:DR" << following << RefusedEdit::Dropping
                          << qint64(2);
    QTest::newRow("input method's commit") << "type:x" << 1 << 1 << u"commit:\u00e9"_s << following
                                           << RefusedEdit::Composing << qint64(-1);
    QTest::newRow("middle button") << "type:x" << 1 << 1 << "middle:MB" << following
                                   << RefusedEdit::PastingSelection << qint64(2);
    QTest::newRow("undo") << "type:x|Return|type:y" << 3 << 3 << "Ctrl+Z" << following
                          << RefusedEdit::Undoing << qint64(-1);
    QTest::newRow("redo") << "type:x|Return|Ctrl+Z" << 1 << 1 << "Ctrl+Shift+Z" << following
                          << RefusedEdit::Redoing << qint64(-1);
    // Refused before any memory is taken, the size told in bytes of UTF-8.
    const auto noMemory = Failure::NoMemoryToFollow;
    QTest::newRow("paste without memory to follow it")
        << "type:x" << 1 << 1 << u"paste:\u00e9\U0001F600!"_s << noMemory << RefusedEdit::Pasting
        << qint64(7);
    QTest::newRow("drop without memory to follow it")
        << "type:x" << 1 << 1 << "drop:DROP" << noMemory << RefusedEdit::Dropping << qint64(4);
    QTest::newRow("middle button without memory to follow it")
        << "type:x" << 1 << 1 << "middle:MB" << noMemory << RefusedEdit::PastingSelection
        << qint64(2);
}

// An edit that cannot get its memory, or that whoever follows the view cannot follow, is
// refused whole: the text, the caret, the selection, the undo history and the clipboard stay as
// they were, the view tells of it once, and the next edit is made.
void tst_TextView::refusedEditChangesNothing() {
    QFETCH(QString, before);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, refused);
    QFETCH(Failure, failure);
    QFETCH(RefusedEdit::Kind, kind);
    QFETCH(qint64, bytes);
    if (refused.startsWith(u"middle:") && !QGuiApplication::clipboard()->supportsSelection())
        QSKIP("no primary selection on this platform");
    editor_->setReadOnly(false);
    view_->setText(u"abcd"_s);
    editor_->document().clearUndoRedoStacks();
    // What follows the view hears of every change, and runs out of memory on one.
    bool failing = false;
    int changes = 0;
    connect(editor_, &TextEditor::contentsChanged, this, [&] { ++changes; });
    editor_->setFollowerScope([&](const std::function<void()>& edit) {
        const int before = changes;
        edit();
        if (failing && changes != before)
            throw std::bad_alloc();
    });
    run(view_, before);
    const QString text = editor_->text();
    const QStringList history = undoneTexts(view_);
    const bool redoable = editor_->document().isRedoAvailable();
    editor_->setSelection(anchor, caret);
    QGuiApplication::clipboard()->setText(u"on the clipboard"_s);
    QList<RefusedEdit> refusals;
    connect(editor_, &TextEditor::editRefused, this,
            [&](const RefusedEdit& refusal) { refusals.append(refusal); });
    int announced = 0;
    connect(editor_, &TextEditor::contentsAboutToChange, this, [&] { ++announced; });

    if (failure == Failure::Following)
        failing = true;
    else
        editor_->setFollowerNeed([](qsizetype) { return qint64(1) << 50; });
    run(view_, refused);
    failing = false;
    editor_->setFollowerNeed({});

    QCOMPARE(editor_->text(), text);
    QCOMPARE(editor_->anchorPosition(), anchor);
    QCOMPARE(editor_->cursorPosition(), caret);
    // Refused before the memory is taken, the edit never began.
    if (failure == Failure::NoMemoryToFollow)
        QCOMPARE(announced, 0);
    QCOMPARE(undoneTexts(view_), history);
    QCOMPARE(editor_->document().isRedoAvailable(), redoable);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             refused.startsWith(u"paste:") ? refused.mid(6) : u"on the clipboard"_s);
    QCOMPARE(refusals.size(), 1);
    QCOMPARE(refusals[0].kind, kind);
    QCOMPARE(refusals[0].bytes, bytes);
    // The next edit is made.
    editor_->setCursorPosition(0);
    QTest::keyClicks(view_, u"n"_s);
    QCOMPARE(editor_->text(), u"n"_s + text);
}

// A copy of a selection too large for the memory left is refused, and the clipboard keeps what
// it held.
void tst_TextView::copyWithoutMemoryLeavesTheClipboard() {
    // All but the first character: a copy of the whole text would share its storage.
    view_->setText(QString(16 * 1024 * 1024 + 1, u'c'));
    editor_->setSelection(1, editor_->document().length());
    QGuiApplication::clipboard()->setText(u"on the clipboard"_s);
    QList<RefusedEdit> refusals;
    connect(editor_, &TextEditor::editRefused, this,
            [&](const RefusedEdit& refusal) { refusals.append(refusal); });
    {
        const AddressSpaceLimit limit(24 * 1024 * 1024);
        if (!limit.available())
            QSKIP("no address-space limit can be set under AddressSanitizer");
        press(view_, u"Ctrl+C"_s);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), u"on the clipboard"_s);
    QCOMPARE(refusals.size(), 1);
    QCOMPARE(refusals[0].kind, RefusedEdit::Copying);
    QCOMPARE(refusals[0].bytes, 16 * 1024 * 1024);
}

QTEST_MAIN(tst_TextView)
#include "tst_text_view.moc"
