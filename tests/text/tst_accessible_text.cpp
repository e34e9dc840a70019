// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// What a screen reader gets from the text library's two widgets, the multi-line view and the
// single-line field, through the one accessible text interface: offsets in code points (an
// emoji is one character) in both, answers at every offset that hold together and never loop,
// the role and states, the caret and the selection, character boxes that lead back to their
// characters, one attribute run, and edits made by the reader as the user's.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <optional>

#include "address_space_limit.h"
#include "text/view/accessibility.h"
#include "text/view/line_edit.h"
#include "text/view/text_view.h"

using korvane::text::LineEdit;
using korvane::text::TextView;
using Boundary = QAccessible::TextBoundaryType;
using namespace Qt::StringLiterals;

namespace {

// A shown widget of either kind holding `text`, and its accessible interface.
struct Box {
    std::unique_ptr<QWidget> widget;
    QAccessibleInterface* accessible = nullptr;

    Box(const QString& kind, const QString& text) {
        if (kind == u"view") {
            auto* view = new TextView;
            view->setText(text);
            widget.reset(view);
        } else {
            auto* line = new LineEdit;
            line->setText(text);
            line->setCursorPosition(0);
            if (kind == u"password")
                line->setEchoMode(QLineEdit::Password);
            widget.reset(line);
        }
        widget->resize(kind == u"view" ? 320 : 120, kind == u"view" ? 200 : 30);
        widget->show();
        accessible = QAccessible::queryAccessibleInterface(widget.get());
    }
    QAccessibleTextInterface* text() const { return accessible->textInterface(); }
    QAccessibleEditableTextInterface* editable() const {
        return accessible->editableTextInterface();
    }
    TextView* view() const { return qobject_cast<TextView*>(widget.get()); }
    QLineEdit* line() const { return qobject_cast<QLineEdit*>(widget.get()); }
    QString value() const { return view() ? view()->editor().text() : line()->text(); }
};

struct Answer {
    QString text;
    int start;
    int end;
};

}  // namespace

class tst_AccessibleText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { korvane::text::installTextAccessibility(); }
    void countsCodePoints_data();
    void countsCodePoints();
    void answersHoldTogether_data();
    void answersHoldTogether();
    void roleAndStates_data();
    void roleAndStates();
    void caretAndSelection_data();
    void caretAndSelection();
    void pointsAndCharacterBoxesAgree_data();
    void pointsAndCharacterBoxesAgree();
    void oneAttributeRun_data();
    void oneAttributeRun();
    void readerEditsAsTheUser_data();
    void readerEditsAsTheUser();
    void answersNothingItCannotCopy();
};

void tst_AccessibleText::countsCodePoints_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<Boundary>("boundary");
    QTest::addColumn<QString>("at");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    // Pasted into a small box, an emoji and a letter are two characters, the second the letter.
    for (const char* kind : {"field", "view"}) {
        const QString k = QString::fromLatin1(kind);
        QTest::addRow("%s: the letter after an emoji", kind)
            << k << u"\U0001F600x"_s << 1 << QAccessible::CharBoundary << u"x"_s << 1 << 2;
        QTest::addRow("%s: the emoji", kind)
            << k << u"\U0001F600x"_s << 0 << QAccessible::CharBoundary << u"\U0001F600"_s << 0 << 1;
        QTest::addRow("%s: the second of two emoji", kind)
            << k << u"ab \U0001F600\U0001F600 cd"_s << 4 << QAccessible::CharBoundary
            << u"\U0001F600"_s << 4 << 5;
        QTest::addRow("%s: a word after an emoji", kind)
            << k << u"\U0001F600 two words"_s << 6 << QAccessible::WordBoundary << u"words"_s << 6
            << 11;
        QTest::addRow("%s: the word at the end is the last one", kind)
            << k << u"go now"_s << 6 << QAccessible::WordBoundary << u"now"_s << 3 << 6;
        QTest::addRow("%s: no character at the end", kind)
            << k << u"go"_s << 2 << QAccessible::CharBoundary << QString() << 2 << 2;
    }
    QTest::newRow("view: a line break is a word of its own")
        << u"view"_s << u"ab\ncd"_s << 2 << QAccessible::WordBoundary << u"\n"_s << 2 << 3;
    QTest::newRow("view: a line with its break")
        << u"view"_s << u"ab\n\U0001F600d"_s << 4 << QAccessible::LineBoundary << u"\U0001F600d"_s
        << 3 << 5;
}

void tst_AccessibleText::countsCodePoints() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(Boundary, boundary);
    QFETCH(QString, at);
    QFETCH(int, start);
    QFETCH(int, end);

    const Box box(kind, text);
    QVERIFY(box.text());
    QCOMPARE(box.text()->characterCount(), int(text.toUcs4().size()));
    int foundStart = -1;
    int foundEnd = -1;
    QCOMPARE(box.text()->textAtOffset(offset, boundary, &foundStart, &foundEnd), at);
    QCOMPARE(foundStart, start);
    QCOMPARE(foundEnd, end);
    QCOMPARE(box.text()->text(foundStart, foundEnd), at);
    // The caret at the end is after the last character.
    if (box.view())
        box.view()->editor().setCursorPosition(text.size());
    else
        box.line()->setCursorPosition(int(text.size()));
    QCOMPARE(box.text()->cursorPosition(), int(text.toUcs4().size()));
}

void tst_AccessibleText::answersHoldTogether_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    // The one UTF-16 unit at this index is typed in last, so that a view's gap follows it.
    QTest::addColumn<int>("typedLast");
    QTest::newRow("view: lines, blanks and punctuation")
        << u"view"_s << u"Hello, world. Next one!\n\nThird  line\x2028sep\nend.\n"_s << -1;
    QTest::newRow("view: only line breaks") << u"view"_s << u"\n\n\x2028\n"_s << -1;
    QTest::newRow("view: other scripts")
        << u"view"_s << u"Ça va? Да. 日本語の文。\U0001F600 e\u0301!"_s << -1;
    QTest::newRow("view: a pair across the gap") << u"view"_s << u"a\U0001F600b\U0001F600"_s << 1;
    QTest::newRow("field: blanks at both ends") << u"field"_s << u"  two  words  "_s << -1;
    QTest::newRow("field: a number") << u"field"_s << u"-12.5e3"_s << -1;
    QTest::newRow("field: empty") << u"field"_s << QString() << -1;
}

// For every boundary at every offset, the answers at, before and after it are spans of the text
// in order, each one the text it names, the one at the offset holding it; asked again at their
// own start, they answer themselves.
void tst_AccessibleText::answersHoldTogether() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(int, typedLast);

    const Box box(kind, typedLast < 0 ? text : QString(text).remove(typedLast, 1));
    if (typedLast >= 0)
        box.view()->editor().document().replace(typedLast, 0,
                                                QStringView(text).sliced(typedLast, 1));
    QAccessibleTextInterface* accessible = box.text();
    const int length = accessible->characterCount();
    QCOMPARE(length, int(text.toUcs4().size()));
    for (auto boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary}) {
        for (int offset = 0; offset <= length; ++offset) {
            const QByteArray where =
                QByteArray::number(int(boundary)) + " at " + QByteArray::number(offset);
            const auto ask = [&](auto query, int from) {
                Answer answer;
                answer.text = (accessible->*query)(from, boundary, &answer.start, &answer.end);
                return answer;
            };
            const auto holds = [&](const Answer& answer) {
                return 0 <= answer.start && answer.start <= answer.end && answer.end <= length &&
                       answer.text == accessible->text(answer.start, answer.end);
            };
            const Answer at = ask(&QAccessibleTextInterface::textAtOffset, offset);
            const Answer before = ask(&QAccessibleTextInterface::textBeforeOffset, offset);
            const Answer after = ask(&QAccessibleTextInterface::textAfterOffset, offset);
            QVERIFY2(holds(at) && holds(before) && holds(after), where);
            QVERIFY2(at.start <= offset && (offset < at.end || at.end == length), where);
            QVERIFY2(before.end <= at.start && at.end <= after.start, where);
            if (at.start < at.end) {
                const Answer again = ask(&QAccessibleTextInterface::textAtOffset, at.start);
                QVERIFY2(again.start == at.start && again.end == at.end, where);
            }
        }
    }
}

void tst_AccessibleText::roleAndStates_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only view") << u"view"_s << true;
    QTest::newRow("editable view") << u"view"_s << false;
    QTest::newRow("field") << u"field"_s << false;
    QTest::newRow("read-only field") << u"field"_s << true;
    QTest::newRow("password field") << u"password"_s << false;
}

void tst_AccessibleText::roleAndStates() {
    QFETCH(QString, kind);
    QFETCH(bool, readOnly);
    const Box box(kind, u"secret"_s);
    if (box.view())
        box.view()->editor().setReadOnly(readOnly);
    else
        box.line()->setReadOnly(readOnly);
    box.widget->setAccessibleName(u"A box"_s);
    QCOMPARE(box.accessible->role(), QAccessible::EditableText);
    QCOMPARE(box.accessible->text(QAccessible::Name), u"A box"_s);
    const QAccessible::State state = box.accessible->state();
    QCOMPARE(bool(state.readOnly), readOnly);
    QCOMPARE(bool(state.editable), !readOnly);
    QCOMPARE(bool(state.multiLine), kind == u"view");
    QCOMPARE(bool(state.passwordEdit), kind == u"password");
    QVERIFY(state.selectableText && state.focusable);
    // A password field shows and tells bullets.
    QCOMPARE(box.accessible->text(QAccessible::Value) == u"secret"_s, kind != u"password");
}

void tst_AccessibleText::caretAndSelection_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("view") << u"view"_s;
    QTest::newRow("field") << u"field"_s;
}

void tst_AccessibleText::caretAndSelection() {
    QFETCH(QString, kind);
    const Box box(kind, u"\U0001F600 alpha beta"_s);
    QAccessibleTextInterface* text = box.text();
    text->setSelection(0, 2, 7);
    QCOMPARE(text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 2);
    QCOMPARE(end, 7);
    QCOMPARE(text->text(start, end), u"alpha"_s);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
    text->setCursorPosition(8);
    QCOMPARE(text->cursorPosition(), 8);
    QCOMPARE(box.view() ? box.view()->editor().cursorPosition() : box.line()->cursorPosition(), 9);
}

void tst_AccessibleText::pointsAndCharacterBoxesAgree_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("caretAtEnd");
    QTest::newRow("field, caret at start") << u"field"_s << u"Hello, \U0001F600 World!"_s << false;
    QTest::newRow("field scrolled to its end")
        << u"field"_s << QString(80, u'W') + u"xyz"_s << true;
    QTest::newRow("view") << u"view"_s << u"alpha beta\ngamma \U0001F600 delta"_s << false;
}

void tst_AccessibleText::pointsAndCharacterBoxesAgree() {
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(bool, caretAtEnd);
    const Box box(kind, value);
    if (caretAtEnd)
        box.line()->setCursorPosition(int(value.size()));
    QVERIFY(QTest::qWaitForWindowExposed(box.widget.get()));
    QAccessibleTextInterface* text = box.text();
    const QRect shown(box.widget->mapToGlobal(QPoint(0, 0)), box.widget->size());
    int checked = 0;
    for (int offset = 0; offset < text->characterCount(); ++offset) {
        if (text->text(offset, offset + 1) == u"\n")
            continue;
        const QRect character = text->characterRect(offset);
        QVERIFY2(character.width() > 0, qPrintable(QString::number(offset)));
        // The boxes of a line lie side by side: an emoji's box is as wide as the emoji.
        const QRect next = text->characterRect(offset + 1);
        if (offset + 1 < text->characterCount() && next.top() == character.top())
            QVERIFY2(qAbs(next.left() - character.right() - 1) <= 1,
                     qPrintable(QString::number(offset)));
        const QPoint inside(character.left() + character.width() / 4, character.center().y());
        if (!shown.contains(inside))
            continue;  // scrolled out of sight
        QCOMPARE(text->offsetAtPoint(inside), offset);
        ++checked;
    }
    QVERIFY(checked >= 3);
    QCOMPARE(text->offsetAtPoint(box.widget->mapToGlobal(QPoint(-5, -5))), -1);
}

void tst_AccessibleText::oneAttributeRun_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    for (const char* value : {"400", "", "-12"})
        QTest::addRow("field '%s'", value) << u"field"_s << QString::fromUtf8(value);
    QTest::newRow("view") << u"view"_s << u"one\ntwo"_s;
}

// The box draws its text in one font and colour: one run, over the whole value of a field and
// over the line of a view.
void tst_AccessibleText::oneAttributeRun() {
    QFETCH(QString, kind);
    QFETCH(QString, value);
    const Box box(kind, value);
    QAccessibleTextInterface* text = box.text();
    for (int offset = 0; offset <= text->characterCount(); ++offset) {
        int start = -2;
        int end = -2;
        const QString attributes = text->attributes(offset, &start, &end);
        QVERIFY2(attributes.contains(u"font-family:"_s), qPrintable(attributes));
        const QString run = text->text(start, end);
        QCOMPARE(run, kind == u"field" ? value : offset < 4 ? u"one\n"_s : u"two"_s);
    }
}

void tst_AccessibleText::readerEditsAsTheUser_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");

    for (const char* kind : {"field", "view"}) {
        const QString k = QString::fromLatin1(kind);
        QTest::addRow("%s: insert into the empty box", kind)
            << k << u""_s << u"insert"_s << 0 << 0 << u"1"_s << u"1"_s;
        QTest::addRow("%s: replace after an emoji", kind)
            << k << u"\U0001F60025"_s << u"replace"_s << 1 << 3 << u"1"_s << u"\U0001F6001"_s;
        QTest::addRow("%s: delete", kind)
            << k << u"41"_s << u"delete"_s << 0 << 1 << QString() << u"1"_s;
        QTest::addRow("%s: set the value", kind)
            << k << u"3.5"_s << u"value"_s << 0 << 0 << u"1"_s << u"1"_s;
    }
}

// An edit the reader makes is the user's: the field emits textEdited once, as for typing; the
// view takes it as one undo step.
void tst_AccessibleText::readerEditsAsTheUser() {
    QFETCH(QString, kind);
    QFETCH(QString, before);
    QFETCH(QString, edit);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, text);
    QFETCH(QString, after);

    const Box box(kind, before);
    if (box.view()) {
        box.view()->editor().setReadOnly(false);
        box.view()->editor().document().clearUndoRedoStacks();
    }
    std::optional<QSignalSpy> edited;
    if (box.line())
        edited.emplace(box.line(), &QLineEdit::textEdited);
    QAccessibleEditableTextInterface* editable = box.editable();
    QVERIFY(editable);
    if (edit == u"insert")
        editable->insertText(start, text);
    else if (edit == u"replace")
        editable->replaceText(start, end, text);
    else if (edit == u"delete")
        editable->deleteText(start, end);
    else
        box.accessible->setText(QAccessible::Value, text);
    QCOMPARE(box.value(), after);
    if (box.line()) {
        QCOMPARE(edited->count(), 1);
    } else {
        box.view()->editor().undo();
        QCOMPARE(box.value(), before);
    }
}

// A screen reader's question whose answer is too large for the memory left gets no text, and
// the program goes on; the next question is answered.
void tst_AccessibleText::answersNothingItCannotCopy() {
    // The second line is all but the first two characters: it cannot share the text's storage.
    constexpr int kLong = 16 * 1024 * 1024;
    const Box box(u"view"_s, u"x\n"_s + QString(kLong, u'c'));
    Answer line{u"unset"_s, 0, 0};
    QString part = u"unset"_s;
    {
        const AddressSpaceLimit limit(24 * 1024 * 1024);
        if (!limit.available())
            QSKIP("no address-space limit can be set under AddressSanitizer");
        line.text = box.text()->textAtOffset(5, QAccessible::LineBoundary, &line.start, &line.end);
        part = box.text()->text(1, -1);
    }
    QCOMPARE(line.text, QString());
    QCOMPARE(line.start, -1);
    QCOMPARE(line.end, -1);
    QCOMPARE(part, QString());
    QCOMPARE(box.text()->textAtOffset(5, QAccessible::CharBoundary, &line.start, &line.end),
             u"c"_s);
    QCOMPARE(box.text()->text(kLong, -1), u"cc"_s);
}

QTEST_MAIN(tst_AccessibleText)
#include "tst_accessible_text.moc"
