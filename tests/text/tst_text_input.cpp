// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// What the user does to a text view, as its input handling turns it into the editor's commands:
// keys and the mouse move the caret and the selection as in Qt's own plain-text editor, given
// the same keys, Copy puts exactly the selection on the clipboard, the editing keys edit, the
// wheel scrolls and zooms, the context menu offers what the editor can do, and text dropped on
// the view goes in.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTest>
#include <memory>

#include "shown_view.h"
#include "text_samples.h"
#include "user_steps.h"

using korvane::text::TextEditor;
using korvane::text::TextView;
using namespace Qt::StringLiterals;

namespace {

// A text as the clipboard gets it: every line break a line feed.
QString asCopied(QString text) {
    return text.replace(QChar::LineSeparator, u'\n');
}

// Runs a row's steps (see user_steps.h) on the view, and "dclick:POSITION", which
// double-clicks the character there; the mouse and drops go to its second character.
void run(TextView* view, const QString& steps) {
    for (const QString& step : steps.split(u'|')) {
        if (step.startsWith(u"dclick:")) {
            const int position = step.mid(7).toInt();
            view->ensureVisible(position);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                               view->characterRect(position).center());
        } else {
            runUserSteps(view, step, view->characterRect(1).topLeft() + QPoint(1, 2));
        }
    }
}

}  // namespace

class tst_TextInput : public QObject, private ShownView {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keyboardSelection_data();
    void keyboardSelection();
    void pageKeysMoveByAPage();
    void keysThatWouldEditDoNothing();
    void tabMovesFocusOn();
    void wheelScrolls_data();
    void wheelScrolls();
    void ctrlWheelZooms();
    void mouseSelection_data();
    void mouseSelection();
    void dragBelowTheViewScrollsIt();
    void copyPutsTheSelection_data();
    void copyPutsTheSelection();
    void contextMenu();
    void editableContextMenu();
    void editingKeys_data();
    void editingKeys();
    void dropCopiesAsOneStep();
};

void tst_TextInput::init() {
    QVERIFY(showView(sampleText()));
}

void tst_TextInput::cleanup() {
    closeView();
}

void tst_TextInput::keyboardSelection_data() {
    QTest::addColumn<int>("from");
    // Keys as runUserSteps() takes them, after "text:TEXT|" for a text other than the sample.
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

void tst_TextInput::keyboardSelection() {
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
        runUserSteps(view_, key);
        runUserSteps(&edit, key);
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
    // What the keys selected is offered as the primary selection, where there is one.
    if (QGuiApplication::clipboard()->supportsSelection() && anchor != caret)
        QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection),
                 editor_->selectedText());
    // The caret the keys moved is in view.
    QVERIFY(view_->viewport()->rect().intersects(view_->characterRect(caret)));
}

void tst_TextInput::pageKeysMoveByAPage() {
    QString text;
    for (int i = 0; i < 200; ++i)
        text += u"line %1\n"_s.arg(i);
    view_->setText(text);
    const int page = view_->verticalScrollBar()->pageStep();
    QVERIFY(page > 2);
    runUserSteps(view_, u"Right PgDown"_s);
    QCOMPARE(editor_->document().lineAt(editor_->cursorPosition()), page);
    QCOMPARE(editor_->cursorPosition(), editor_->document().lineStart(page) + 1);
    QCOMPARE(view_->firstVisibleLine(), page);
    runUserSteps(view_, u"Shift+PgDown Shift+PgUp Shift+PgUp"_s);
    QCOMPARE(editor_->cursorPosition(), 1);
    QCOMPARE(editor_->anchorPosition(), editor_->document().lineStart(page) + 1);
    QCOMPARE(view_->firstVisibleLine(), 0);
}

void tst_TextInput::keysThatWouldEditDoNothing() {
    editor_->setSelection(0, 5);
    QGuiApplication::clipboard()->setText(u"pasted"_s);
    runUserSteps(view_,
                 u"X Backspace Delete Return Enter Escape Ctrl+V Ctrl+X Ctrl+Z Shift+Insert"_s);
    QCOMPARE(editor_->text(), sampleText());
    QCOMPARE(editor_->selectionStart(), 0);
    QCOMPARE(editor_->selectionEnd(), 5);
    QVERIFY(view_->hasFocus());
}

void tst_TextInput::tabMovesFocusOn() {
    QTest::keyClick(view_, Qt::Key_Tab);
    QVERIFY(next_->hasFocus());
    QTest::keyClick(next_, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(view_->hasFocus());
    QCOMPARE(editor_->text(), sampleText());
    next_->setFocus();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
    QVERIFY(view_->hasFocus());
}

void tst_TextInput::wheelScrolls_data() {
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("sideways");

    QTest::newRow("down") << QPoint(0, -120) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Shift turns it sideways")
        << QPoint(0, -120) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("a sideways wheel") << QPoint(-120, 0) << Qt::KeyboardModifiers() << true;
}

void tst_TextInput::wheelScrolls() {
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

void tst_TextInput::ctrlWheelZooms() {
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

void tst_TextInput::mouseSelection_data() {
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

void tst_TextInput::mouseSelection() {
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

void tst_TextInput::dragBelowTheViewScrollsIt() {
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

void tst_TextInput::copyPutsTheSelection_data() {
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

void tst_TextInput::copyPutsTheSelection() {
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QString, copied);

    QGuiApplication::clipboard()->setText(u"before"_s);
    editor_->setSelection(anchor, caret);
    runUserSteps(view_, keys);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
}

void tst_TextInput::contextMenu() {
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

void tst_TextInput::editableContextMenu() {
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

// The keys that edit, each as the view maps it to its editor's command: the view takes them
// before the window's shortcuts on the same keys, and a read-only view takes none.
void tst_TextInput::editingKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("typed at the caret") << "ab" << 1 << 1 << "type:XY"
                                        << "aXYb" << 3;
    QTest::newRow("Backspace takes an accented letter") << u"xe\u0301y"_s << 3 << 3 << "Backspace"
                                                        << "xy" << 1;
    QTest::newRow("Delete takes an accented letter") << u"xe\u0301y"_s << 1 << 1 << "Del"
                                                     << "xy" << 1;
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
    QTest::newRow("paste over the selection") << "abc" << 0 << 3 << "paste:x"
                                              << "x" << 1;
    QTest::newRow("Ctrl+Z undoes") << "" << 0 << 0 << "type:ab|Ctrl+Z"
                                   << "" << 0;
    QTest::newRow("Ctrl+Y redoes") << "" << 0 << 0 << "type:ab|Ctrl+Z|Ctrl+Y"
                                   << "ab" << 2;
    QTest::newRow("Ctrl+Shift+Z redoes") << "" << 0 << 0 << "type:ab|Ctrl+Z|Ctrl+Shift+Z"
                                         << "ab" << 2;
    QTest::newRow("a double click and Delete take a word of thousands")
        << longWords() << 0 << 0 << "dclick:4900|Del" << longWords().remove(2407, 2588) << 2407;
}

void tst_TextInput::editingKeys() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, steps);
    QFETCH(QString, edited);
    QFETCH(int, caretAfter);
    for (const QString& key : {u"Ctrl+Z"_s, u"Ctrl+Y"_s, u"Ctrl+Shift+Z"_s, u"Del"_s})
        new QShortcut(QKeySequence(key), window_);
    editor_->setReadOnly(false);
    view_->setText(text);
    editor_->document().clearUndoRedoStacks();
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

// Text dragged in from elsewhere is copied where it is dropped, as one undo step, and the view
// takes the focus.
void tst_TextInput::dropCopiesAsOneStep() {
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

QTEST_MAIN(tst_TextInput)
#include "tst_text_input.moc"
