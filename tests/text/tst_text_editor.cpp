// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The editor without a widget, as the view drives it: its commands edit the text and place the
// caret, each one a step to undo as Qt's editors make them; an input method's commit and
// pre-edit; and an edit that cannot get its memory, or that whoever follows the editor cannot
// follow, refused whole and reported once.
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <memory>
#include <new>

#include "address_space_limit.h"
#include "text/editor/text_editor.h"
#include "text_samples.h"
#include "user_steps.h"

using korvane::text::EditTransaction;
using korvane::text::RefusedEdit;
using korvane::text::TextEditor;
using namespace Qt::StringLiterals;

namespace {

// The command the view gives the editor for each key the rows press.
void press(TextEditor& editor, const QString& key) {
    using Move = TextEditor::Move;
    const std::pair<const char16_t*, std::function<void()>> commands[] = {
        {u"Backspace", [&] { editor.deleteNext(false, false); }},
        {u"Del", [&] { editor.deleteNext(true, false); }},
        {u"Ctrl+Backspace", [&] { editor.deleteNext(false, true); }},
        {u"Ctrl+Del", [&] { editor.deleteNext(true, true); }},
        {u"Return", [&] { editor.insertTyped(u"\n"_s); }},
        {u"Ctrl+X", [&] { editor.cut(); }},
        {u"Ctrl+Z", [&] { editor.undo(); }},
        {u"Ctrl+Y", [&] { editor.redo(); }},
        {u"Ctrl+Shift+Z", [&] { editor.redo(); }},
        {u"Home", [&] { editor.moveCaret(Move::LineEdge, false, false); }},
        {u"End", [&] { editor.moveCaret(Move::LineEdge, true, false); }},
        {u"Right", [&] { editor.moveCaret(Move::Character, true, false); }},
        {u"Shift+Right", [&] { editor.moveCaret(Move::Character, true, true); }},
    };
    for (const auto& [name, command] : commands) {
        if (key == QStringView(name)) {
            command();
            return;
        }
    }
    QFAIL(qPrintable(u"no command for the key "_s + key));
}

// Makes a row's steps with the editor's commands; a drop and the middle button put their text
// in at position 1.
void run(TextEditor& editor, const QString& steps) {
    for (const UserStep& step : userSteps(steps)) {
        switch (step.action) {
            case UserStep::Type:
                for (const QChar character : step.text)
                    editor.insertTyped(QString(character));
                break;
            case UserStep::Paste:
                QGuiApplication::clipboard()->setText(step.text);
                editor.paste();
                break;
            case UserStep::PasteSelection:
                QGuiApplication::clipboard()->setText(step.text, QClipboard::Selection);
                editor.pasteSelectionAt(1);
                break;
            case UserStep::Drop: {
                QMimeData data;
                data.setText(step.text);
                editor.drop(data, false, 1, {});
                break;
            }
            case UserStep::Commit: {
                QInputMethodEvent event;
                event.setCommitString(step.text);
                editor.inputMethod(event);
                break;
            }
            case UserStep::Keys:
                for (const QString& key : step.text.split(u' ', Qt::SkipEmptyParts))
                    press(editor, key);
                break;
        }
    }
}

// The text after each undo, until there is nothing left to undo; the undo is redone after.
QStringList undoneTexts(TextEditor& editor) {
    QStringList texts;
    int undone = 0;
    while (editor.document().isUndoAvailable() && undone < 20) {
        editor.undo();
        texts.append(editor.text());
        ++undone;
    }
    while (undone-- > 0)
        editor.redo();
    return texts;
}

// How a refused edit fails: what follows the edit runs out of memory once it is made, or the
// check before it finds no memory for what following it needs.
enum class Failure { Following, NoMemoryToFollow };

}  // namespace

Q_DECLARE_METATYPE(Failure)
Q_DECLARE_METATYPE(RefusedEdit::Kind)

class tst_TextEditor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editing_data();
    void editing();
    void undoSteps_data();
    void undoSteps();
    void inputMethod_data();
    void inputMethod();
    void inputMethodQueries();
    void primarySelection_data();
    void primarySelection();
    void refusedEditChangesNothing_data();
    void refusedEditChangesNothing();
    void editInsideAnotherIsRefusedWithIt();
    void copyWithoutMemoryLeavesTheClipboard();
};

void tst_TextEditor::editing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("typed over the selection") << "abcd" << 1 << 3 << "type:Z"
                                              << "aZd" << 2;
    QTest::newRow("Backspace takes a pair") << u"a\U0001F600b"_s << 3 << 3 << "Backspace"
                                            << "ab" << 1;
    QTest::newRow("Backspace joins lines") << "a\nb" << 2 << 2 << "Backspace"
                                           << "ab" << 1;
    QTest::newRow("Delete takes the selection") << "abcd" << 3 << 1 << "Del"
                                                << "ad" << 1;
    QTest::newRow("paste makes every line break a line feed")
        << "ab" << 1 << 1 << u"paste:P\r\nQ\rR\u2029S"_s << "aP\nQ\nR\nSb" << 8;
    QTest::newRow("paste over the selection") << "abc" << 0 << 3 << "paste:x"
                                              << "x" << 1;
    QTest::newRow("Ctrl+Backspace takes a word of thousands")
        << longWords() << 4995 << 4995 << "Ctrl+Backspace" << longWords().remove(2407, 2588)
        << 2407;
    QTest::newRow("Ctrl+Delete takes a word of thousands")
        << longWords() << 6 << 6 << "Ctrl+Del" << longWords().remove(6, 2401) << 6;
}

void tst_TextEditor::editing() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, steps);
    QFETCH(QString, edited);
    QFETCH(int, caretAfter);
    TextEditor editor;
    editor.setReadOnly(false);
    editor.setText(text);
    editor.setSelection(anchor, caret);
    run(editor, steps);
    QCOMPARE(editor.text(), edited);
    QCOMPARE(editor.cursorPosition(), caretAfter);
    // A read-only editor takes none of it.
    editor.setReadOnly(true);
    editor.setText(text);
    editor.setSelection(anchor, caret);
    run(editor, steps);
    QCOMPARE(editor.text(), text);
}

// What each command records for the undo history: the history's own rules of which edits join
// a step are the document suite's table.
void tst_TextEditor::undoSteps_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("undone");  // the text after each undo, one by one
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

void tst_TextEditor::undoSteps() {
    QFETCH(QString, steps);
    QFETCH(QStringList, undone);
    TextEditor editor;
    editor.setReadOnly(false);
    run(editor, steps);
    const QString done = editor.text();
    for (const QString& text : undone) {
        editor.undo();
        QCOMPARE(editor.text(), text);
    }
    QVERIFY(!editor.document().isUndoAvailable());
    // Redo brings each step back.
    for (qsizetype i = undone.size() - 2; i >= -1; --i) {
        editor.redo();
        QCOMPARE(editor.text(), i >= 0 ? undone[i] : done);
    }
}

void tst_TextEditor::inputMethod_data() {
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

void tst_TextEditor::inputMethod() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, preedit);
    QFETCH(QString, commit);
    QFETCH(int, replaceFrom);
    QFETCH(int, replaced);
    QFETCH(QString, edited);
    QFETCH(int, caretAfter);
    TextEditor editor;
    editor.setReadOnly(false);
    editor.setText(text);
    editor.setCursorPosition(caret);
    int changes = 0;
    connect(&editor, &TextEditor::contentsChanged, this, [&] { ++changes; });
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit, replaceFrom, replaced);
    QVERIFY(editor.inputMethod(event));
    QCOMPARE(editor.text(), edited);
    QCOMPARE(editor.cursorPosition(), caretAfter);
    QCOMPARE(editor.preedit().text, preedit);
    QCOMPARE(editor.preedit().position, caretAfter);
    QCOMPARE(changes, edited == text ? 0 : 1);
    // Undone as one step.
    if (edited != text) {
        editor.undo();
        QCOMPARE(editor.text(), text);
    }
}

void tst_TextEditor::inputMethodQueries() {
    TextEditor editor;
    editor.setText(u"first\nsecond line\nthird"_s);
    editor.setSelection(9, 13);  // "ond " on the second line
    const auto query = [&](Qt::InputMethodQuery asked) { return *editor.inputMethodQuery(asked); };
    QCOMPARE(query(Qt::ImSurroundingText).toString(), u"second line"_s);
    QCOMPARE(query(Qt::ImCursorPosition).toInt(), 7);
    QCOMPARE(query(Qt::ImAnchorPosition).toInt(), 3);
    QCOMPARE(query(Qt::ImCurrentSelection).toString(), u"ond "_s);
    QCOMPARE(query(Qt::ImTextBeforeCursor).toString(), u"second "_s);
    QCOMPARE(query(Qt::ImTextAfterCursor).toString(), u"line"_s);
    QVERIFY(!query(Qt::ImMaximumTextLength).isValid());
}

void tst_TextEditor::primarySelection_data() {
    // What happens after " beta" (5 to 10) is selected: "deselect" moves the caret, "edit" has
    // the program put `text` in at `at` in place of `removed` characters, "close" ends the
    // editor.
    QTest::addColumn<QString>("then");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << u""_s << 0 << 0 << QString();
    QTest::newRow("the selection is dropped") << u"deselect"_s << 0 << 0 << QString();
    QTest::newRow("its text is rewritten") << u"edit"_s << 6 << 4 << u"BETA"_s;
    QTest::newRow("text put in before it") << u"edit"_s << 0 << 0 << u"new "_s;
    QTest::newRow("text put in at its end") << u"edit"_s << 10 << 0 << u"s"_s;
    QTest::newRow("the editor is closed") << u"close"_s << 0 << 0 << QString();
}

// The primary selection, which the middle button pastes, is the text as it was selected, also
// after the selection is dropped, its text changes or the editor is gone, as with Qt's editors;
// the editor hands it over only when asked for it.
void tst_TextEditor::primarySelection() {
    QFETCH(QString, then);
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        QSKIP("no primary selection on this platform; tst_text_editor_x11 runs this");
    auto editor = std::make_unique<TextEditor>();
    editor->setText(u"alpha beta gamma"_s);
    editor->setSelection(10, 6);
    editor->moveCaret(TextEditor::Move::Character, false, true);
    editor->offerPrimarySelection();
    QCOMPARE(editor->selectedText(), u" beta"_s);
    if (then == u"deselect")
        editor->moveCaret(TextEditor::Move::Character, true, false);
    else if (then == u"edit")
        editor->document().replace(at, removed, text);
    else if (then == u"close")
        editor.reset();
    QCOMPARE(clipboard->text(QClipboard::Selection), u" beta"_s);
}

void tst_TextEditor::refusedEditChangesNothing_data() {
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

// An edit that cannot get its memory, or that whoever follows the editor cannot follow, is
// refused whole: the text, the caret, the selection, the undo history and the clipboard stay as
// they were, the editor tells of it once, and the next edit is made.
void tst_TextEditor::refusedEditChangesNothing() {
    QFETCH(QString, before);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, refused);
    QFETCH(Failure, failure);
    QFETCH(RefusedEdit::Kind, kind);
    QFETCH(qint64, bytes);
    if (refused.startsWith(u"middle:") && !QGuiApplication::clipboard()->supportsSelection())
        QSKIP("no primary selection on this platform; tst_text_editor_x11 runs this");
    TextEditor editor;
    editor.setReadOnly(false);
    editor.setText(u"abcd"_s);
    editor.document().clearUndoRedoStacks();
    // What follows the editor hears of every change, and runs out of memory on one.
    bool failing = false;
    int changes = 0;
    connect(&editor, &TextEditor::contentsChanged, this, [&] { ++changes; });
    editor.setFollowerScope([&](const std::function<void()>& edit) {
        const int before = changes;
        edit();
        if (failing && changes != before)
            throw std::bad_alloc();
    });
    run(editor, before);
    const QString text = editor.text();
    const QStringList history = undoneTexts(editor);
    const bool redoable = editor.document().isRedoAvailable();
    editor.setSelection(anchor, caret);
    QGuiApplication::clipboard()->setText(u"on the clipboard"_s);
    QList<RefusedEdit> refusals;
    connect(&editor, &TextEditor::editRefused, this,
            [&](const RefusedEdit& refusal) { refusals.append(refusal); });
    int announced = 0;
    connect(&editor, &TextEditor::contentsAboutToChange, this, [&] { ++announced; });

    if (failure == Failure::Following)
        failing = true;
    else
        editor.setFollowerNeed([](qsizetype) { return qint64(1) << 50; });
    run(editor, refused);
    failing = false;
    editor.setFollowerNeed({});

    QCOMPARE(editor.text(), text);
    QCOMPARE(editor.anchorPosition(), anchor);
    QCOMPARE(editor.cursorPosition(), caret);
    // Refused before the memory is taken, the edit never began.
    if (failure == Failure::NoMemoryToFollow)
        QCOMPARE(announced, 0);
    QCOMPARE(undoneTexts(editor), history);
    QCOMPARE(editor.document().isRedoAvailable(), redoable);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             refused.startsWith(u"paste:") ? refused.mid(6) : u"on the clipboard"_s);
    QCOMPARE(refusals.size(), 1);
    QCOMPARE(refusals[0].kind, kind);
    QCOMPARE(refusals[0].bytes, bytes);
    // The next edit is made.
    editor.setCursorPosition(0);
    editor.insertTyped(u"n"_s);
    QCOMPARE(editor.text(), u"n"_s + text);
}

// An edit made inside another one, as assistive technology writes text in place of a range by
// selecting it and inserting, is part of it: refused whole as the outer one, with the size the
// inner one found.
void tst_TextEditor::editInsideAnotherIsRefusedWithIt() {
    TextEditor editor;
    editor.setReadOnly(false);
    editor.setText(u"abcd"_s);
    editor.setCursorPosition(4);
    editor.setFollowerNeed([](qsizetype) { return qint64(1) << 50; });
    QList<RefusedEdit> refusals;
    connect(&editor, &TextEditor::editRefused, this,
            [&](const RefusedEdit& refusal) { refusals.append(refusal); });
    const bool made = editor.runUserEdit(RefusedEdit::Writing, [&](EditTransaction&) {
        editor.setSelection(1, 3);
        editor.insertText(u"\u00e9\u00e9\u00e9"_s);
    });
    QVERIFY(!made);
    QCOMPARE(editor.text(), u"abcd"_s);
    QCOMPARE(editor.anchorPosition(), 4);
    QCOMPARE(editor.cursorPosition(), 4);
    QCOMPARE(refusals.size(), 1);
    QCOMPARE(refusals[0].kind, RefusedEdit::Writing);
    QCOMPARE(refusals[0].bytes, 6);
}

// A copy of a selection too large for the memory left is refused, and the clipboard keeps what
// it held.
void tst_TextEditor::copyWithoutMemoryLeavesTheClipboard() {
    TextEditor editor;
    // All but the first character: a copy of the whole text would share its storage.
    editor.setText(QString(16 * 1024 * 1024 + 1, u'c'));
    editor.setSelection(1, editor.document().length());
    QGuiApplication::clipboard()->setText(u"on the clipboard"_s);
    QList<RefusedEdit> refusals;
    connect(&editor, &TextEditor::editRefused, this,
            [&](const RefusedEdit& refusal) { refusals.append(refusal); });
    {
        const AddressSpaceLimit limit(24 * 1024 * 1024);
        if (!limit.available())
            QSKIP("no address-space limit can be set under AddressSanitizer");
        editor.copy();
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), u"on the clipboard"_s);
    QCOMPARE(refusals.size(), 1);
    QCOMPARE(refusals[0].kind, RefusedEdit::Copying);
    QCOMPARE(refusals[0].bytes, 16 * 1024 * 1024);
}

QTEST_MAIN(tst_TextEditor)
#include "tst_text_editor.moc"
