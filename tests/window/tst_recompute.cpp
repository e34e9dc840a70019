// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The output box shows exactly the transform of the input box (the plain reference model's) after
// every kind of edit a user makes: typing, pasting hostile text, deleting, undo, cut, the
// multiplier and the scroll bar, an overflow that writes nothing; and a write into the output box
// reads back exactly as written.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <optional>

#include "cipher/number_text.h"
#include "reference/reference_transform.h"
#include "runtime/accessibility.h"
#include "runtime/events.h"
#include "runtime/message_box.h"
#include "user_steps.h"
#include "window/frm_main.h"

namespace {

using korvane::window::frmMain;
using namespace Qt::Literals::StringLiterals;

// Rows are written in UTF-8.
QStringList utf8(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// What a box shows.
QString shown(korvane::runtime::TextBox& box) {
    return box.text();
}

// The lines of a text, each with the break that ends it; a break at the end ends the last.
QStringList linesOf(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == u'\n' || text[at] == QChar(QChar::LineSeparator)) {
            lines << text.mid(start, at + 1 - start);
            start = at + 1;
        }
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

// The lines of a box as a screen reader reads them, one after another from the start.
QStringList linesRead(korvane::runtime::TextBox& box) {
    QAccessibleTextInterface* text =
        QAccessible::queryAccessibleInterface(box.widget())->textInterface();
    QStringList lines;
    for (int offset = 0; offset < text->characterCount();) {
        int start = 0;
        int end = 0;
        lines << text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        if (start != offset || end <= offset)
            return lines << u"(no line starts at %1)"_s.arg(offset);
        offset = end;
    }
    return lines;
}

// The reference transform of what the input box shows under what the two small boxes show;
// nothing when it overflows.
std::optional<QString> expectedOutput(frmMain& window) {
    using namespace korvane::cipher;
    const std::optional<qint16> rotation = ToInt16(ReadNumber(window.txtRotate.text()));
    const std::optional<qint16> multiplier = ToInt16(ReadNumber(window.txtMultiply.text()));
    if (!rotation || !multiplier)
        return std::nullopt;
    return korvane::reference::transform(shown(window.txtOriginal), *rotation, *multiplier);
}

void placeCaret(korvane::runtime::TextBox& box, int position, int selected = 0) {
    box.setSelStart(position);
    box.setSelLength(selected);
}

// Runs one step of a row's script on the real widgets. Steps: "type:TEXT" and "paste:TEXT" (as
// user_steps.h makes them), "caret:N", "select:N+LENGTH", "backspace", "delete", "cut", "undo",
// "redo", "multiplier:TEXT" (overtypes the box), "multiplier+:TEXT" (types on), "right" and
// "left" (the scroll bar), "input:TEXT" and "output:TEXT" (what the box must show now, in the
// lines a screen reader reads).
void runStep(frmMain& window, const QString& step) {
    QWidget* input = window.txtOriginal.widget();
    const QString argument = step.section(u':', 1);
    if (step.startsWith(u"type:") || step.startsWith(u"paste:")) {
        runUserSteps(input, step);
    } else if (step.startsWith(u"caret:")) {
        placeCaret(window.txtOriginal, argument.toInt());
    } else if (step.startsWith(u"select:")) {
        placeCaret(window.txtOriginal, argument.section(u'+', 0, 0).toInt(),
                   argument.section(u'+', 1).toInt());
    } else if (step == u"backspace") {
        QTest::keyClick(input, Qt::Key_Backspace);
    } else if (step == u"delete") {
        QTest::keyClick(input, Qt::Key_Delete);
    } else if (step == u"cut") {
        QTest::keyClick(input, Qt::Key_X, Qt::ControlModifier);
    } else if (step == u"undo") {
        QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
    } else if (step == u"redo") {
        QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (step.startsWith(u"multiplier:")) {
        QWidget* multiplier = window.txtMultiply.widget();
        QTest::keyClick(multiplier, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(multiplier, Qt::Key_Delete);
        QTest::keyClicks(multiplier, argument);
    } else if (step.startsWith(u"multiplier+:")) {
        QTest::keyClicks(window.txtMultiply.widget(), argument);
    } else if (step == u"right" || step == u"left") {
        QTest::keyClick(window.HSRotate.widget(), step == u"right" ? Qt::Key_Right : Qt::Key_Left);
    } else if (step.startsWith(u"input:")) {
        QCOMPARE(shown(window.txtOriginal), argument);
        QCOMPARE(linesRead(window.txtOriginal), linesOf(argument));
    } else if (step.startsWith(u"output:")) {
        QCOMPARE(shown(window.txtDecrypted), argument);
        QCOMPARE(linesRead(window.txtDecrypted), linesOf(argument));
    } else {
        QFAIL(qPrintable(u"unknown step "_s + step));
    }
}

}  // namespace

class tst_Recompute : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void outputFollowsEveryEdit_data();
    void outputFollowsEveryEdit();
    void writesReadBackExactly_data();
    void writesReadBackExactly();
    void aWriteAfterTheUserEditedTheBoxStartsFromTheEdit();
    void aWriteFromTheChangeEventIsKept();
    void pasteIntoTheOutputBoxChangesNothing();

private:
    QList<korvane::runtime::MessageBoxRequest> reported_;
    korvane::runtime::MessageBoxPresenter previous_;
};

void tst_Recompute::init() {
    korvane::runtime::installAccessibleInterfaces();  // as the program does, for linesRead()
    reported_.clear();
    previous_ = korvane::runtime::setMessageBoxPresenter(
        [this](const korvane::runtime::MessageBoxRequest& request) { reported_.append(request); });
}

void tst_Recompute::cleanup() {
    korvane::runtime::setMessageBoxPresenter(previous_);
    QGuiApplication::clipboard()->clear();
}

void tst_Recompute::outputFollowsEveryEdit_data() {
    QTest::addColumn<QStringList>("steps");
    const QString longLine = QString(5000, u'w') + u'\n' + QString(3000, u'k');
    QTest::newRow("typing") << utf8({"multiplier:3", "type:hello, world", "input:hello, world"});
    QTest::newRow("typing into the middle")
        << utf8({"multiplier:1", "type:abcdef", "caret:3", "type:XY", "input:abcXYdef"});
    QTest::newRow("backspace and delete")
        << utf8({"multiplier:5", "type:abcdef", "caret:3", "backspace", "delete", "input:abef"});
    QTest::newRow("deleting a selection")
        << utf8({"multiplier:7", "type:one two three", "select:3+4", "delete", "input:one three"});
    QTest::newRow("paste over a selection")
        << utf8({"multiplier:3", "type:keep THIS keep", "select:5+4", "paste:thät",
                 "input:keep thät keep"});
    QTest::newRow("paste of lines with every kind of break")
        << utf8({"multiplier:1", "type:[]", "caret:1", "paste:one\r\ntwo\rthree\nfour",
                 "input:[one\ntwo\nthree\nfour]"});
    QTest::newRow("paste of other scripts and pairs")
        << utf8({"multiplier:9", "paste:ıſ straße ΣΑΣ жук 😀 \U00010428 ok", "caret:3", "type:q",
                 "backspace", "select:0+2", "paste:Zz"});
    QTest::newRow("paste is one step to undo")
        << utf8({"multiplier:3", "type:ab", "paste:cd\nef", "input:abcd\nef", "undo", "input:ab",
                 "redo", "input:abcd\nef"});
    QTest::newRow("paste of one line after typing is its own step to undo")
        << utf8({"multiplier:3", "type:ab", "paste:cd", "input:abcd", "undo", "input:ab"});
    QTest::newRow("undo of typing and of a deletion")
        << utf8({"multiplier:11", "type:abc", "select:0+2", "delete", "input:c", "undo",
                 "input:abc", "undo", "input:"});
    QTest::newRow("cut and paste back")
        << utf8({"multiplier:3", "type:first second", "select:0+6", "cut", "input:second",
                 "caret:6", "paste:first", "input:secondfirst"});
    QTest::newRow("multiplier and scroll bar change every letter")
        << (utf8({"multiplier:1"})
            << u"paste:"_s + longLine
            << utf8({"multiplier:3", "right", "right", "left", "multiplier:25"}));
    QTest::newRow("edits at both ends of a long text")
        << (utf8({"multiplier:3"}) << u"paste:"_s + longLine
                                   << utf8({"caret:0", "type:a", "caret:8002", "type:b",
                                            "select:4990+30", "paste:\n\n", "undo"}));
    QTest::newRow("an overflow leaves the output as it was")
        << utf8({"multiplier:40", "type:Zebra", "multiplier+:0", "type:y", "multiplier:3"});
    // A keystroke transforms again only what it changed; these edits change what the
    // characters beside them mean.
    const QString high(QChar(0xD801));
    const QString low(QChar(0xDC28));  // with the high half: a small Deseret letter
    QTest::newRow("a pair joined and split by edits beside it")
        << (utf8({"multiplier:3"}) << u"paste:a"_s + high + u"b"_s << u"caret:2"_s
                                   << u"paste:"_s + low << u"input:a"_s + high + low + u"b"_s
                                   << utf8({"caret:2", "type:x", "caret:2", "delete"}));
    // A new key rewrites the output in pieces of thousands of characters; after the "a", a pair
    // lies across every boundary between them.
    QString pairs = u"a"_s;
    for (int i = 0; i < 40000; ++i)
        pairs += high + low;
    QTest::newRow("a new key rewrites pairs across the pieces")
        << (utf8({"multiplier:3"}) << u"paste:"_s + pairs << utf8({"multiplier:5", "right"}));
    QTest::newRow("an overflowing letter typed and taken back under the same key")
        << utf8({"multiplier:400", "type:ab", "type:Z", "backspace", "type:c", "input:abc"});
    QTest::newRow("emptying the input")
        << utf8({"multiplier:3", "type:abc", "select:0+3", "delete", "input:", "output:"});
    // What the user sees, written out.
    QTest::newRow("an empty multiplier reads as 0")
        << utf8({"type:hello", "output:NNNNN", "multiplier+:1", "output:HELLO",
                 "multiplier:", "output:NNNNN"});
    QTest::newRow("a paste into the window as it starts")
        << utf8({"paste:Hello,\nWorld!", "output:NNNNN,\nNNNNN!"});
    QTest::newRow("multiplier 3") << utf8(
        {"multiplier:3", "type:Hello, World!", "output:VMHHQ, OQZHJ!"});
    QTest::newRow("2.5 acts as 2, 3.5 as 4")
        << utf8({"multiplier:2.5", "type:AZ", "output:NL", "multiplier:3.5", "output:NJ"});
    QTest::newRow("a multiplier with letters after it, or negative")
        << utf8({"multiplier:1x", "type:abc", "output:ABC", "multiplier:-1", "output:A@?"});
    QTest::newRow("line breaks from Enter")
        << utf8({"multiplier:1", "type:a\nb", "input:a\nb", "output:A\nB"});
    QTest::newRow("non-letters never overflow")
        << utf8({"multiplier:400", "type:123 ?!", "output:123 ?!"});
    QTest::newRow("a pasted text and the scroll bar")
        << utf8({"multiplier:1", "paste:uryyb\nJbeyq", "input:uryyb\nJbeyq", "right", "right",
                 "output:WTAAD\nLDGAS"});
    // Hostile text pasted in: what the input box stores and the output shows.
    const auto pasted = [](const QString& text, const QString& stored, const QString& output) {
        return QStringList{u"multiplier:1"_s, u"paste:"_s + text, u"input:"_s + stored,
                           u"output:"_s + output};
    };
    QTest::newRow("NUL between letters") << pasted(u"a\0b"_s, u"a\0b"_s, u"A\0B"_s);
    QTest::newRow("lone surrogates, and halves in reverse order")
        << pasted(u"x\xd800y\xdc00z\xdc00\xd800"_s, u"x\xd800y\xdc00z\xdc00\xd800"_s,
                  u"X\xd800Y\xdc00Z\xdc00\xd800"_s);
    QTest::newRow("a supplementary letter takes its capital, an emoji stays") << pasted(
        u"\U00010428\U0001F600a"_s, u"\U00010428\U0001F600a"_s, u"\U00010400\U0001F600A"_s);
    QTest::newRow("every kind of line break but U+2028 becomes a line feed")
        << pasted(u"a\r\nb\rc\u2029d\ufdd0e\ufdd1f\u2028g"_s, u"a\nb\nc\nd\ne\nf\u2028g"_s,
                  u"A\nB\nC\nD\nE\nF\u2028G"_s);
    // Far enough in that the paste's reading meets them in its vector blocks.
    QTest::newRow("other breaks far into a pasted text")
        << pasted(QString(40, u'x') + u"\r\ny\u2029"_s + QString(40, u'z'),
                  QString(40, u'x') + u"\ny\n"_s + QString(40, u'z'),
                  QString(40, u'X') + u"\nY\n"_s + QString(40, u'Z'));
    QTest::newRow("control codes, DEL, non-characters and BOM stay")
        << pasted(u"\x01\x1f\x7f\ufffe\uffff\ufeff"_s, u"\x01\x1f\x7f\ufffe\uffff\ufeff"_s,
                  u"\x01\x1f\x7f\ufffe\uffff\ufeff"_s);
    QTest::newRow("letters with unusual capitals")
        << pasted(u"\u00df\u0131\u017f\u212a\uff41e\u0301"_s,
                  u"\u00df\u0131\u017f\u212a\uff41e\u0301"_s, u"\u00dfIS\u212a\uff21E\u0301"_s);
    QString block;
    while (block.size() < 51'200)
        block += u"The quick brown fox, 0123456789, jumps over the lazy dog.\n"_s;
    QTest::newRow("100 KB pasted twice") << QStringList{
        u"multiplier:3"_s, u"paste:"_s + block, u"paste:"_s + block, u"input:"_s + block + block};
}

void tst_Recompute::outputFollowsEveryEdit() {
    QFETCH(QStringList, steps);
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.txtOriginal.widget()->setFocus();
    for (const QString& step : steps) {
        const QString before = shown(window.txtDecrypted);
        runStep(window, step);
        if (QTest::currentTestFailed())
            return;
        const std::optional<QString> expected = expectedOutput(window);
        if (expected) {
            QCOMPARE(shown(window.txtDecrypted), *expected);
        } else {
            QCOMPARE(shown(window.txtDecrypted), before);  // the error wrote nothing
            QVERIFY(!reported_.isEmpty());
        }
    }
}

void tst_Recompute::writesReadBackExactly_data() {
    QTest::addColumn<QStringList>("writes");
    QTest::newRow("carriage returns") << utf8({"ab\r\ncd", "ab\ncd", "ab\ncX", "a\rb"});
    QTest::newRow("paragraph separator") << utf8({"x\u2029y", "x\u2029yz", "q\nyz"});
    QTest::newRow("frame marks") << utf8({"a\ufdd0b", "a\ufdd1bc", "a\nbcd"});
    QTest::newRow("pairs changed in their low half") << utf8({"a😀b", "a😁b", "a😁", "😁"});
    QTest::newRow("pairs changed in their high half") << utf8({"a\U00010400b", "a\U00020400b"});
    QTest::newRow("growing and shrinking") << utf8({"abc", "abcabc", "bc", "", "x\ny\nz"});
}

// The output box's own writes, through its property, with no recompute in between: each reads
// back exactly as written, whatever part of the text it changed.
void tst_Recompute::writesReadBackExactly() {
    QFETCH(QStringList, writes);
    frmMain window;
    for (const QString& write : writes) {
        window.txtDecrypted.setText(write);
        QCOMPARE(shown(window.txtDecrypted), write);
        QCOMPARE(window.txtDecrypted.text(), write);
    }
}

// The user edits a box between two writes: the second write starts from what the box holds
// then, not from what was written before.
void tst_Recompute::aWriteAfterTheUserEditedTheBoxStartsFromTheEdit() {
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.txtOriginal.setText(u"hello world"_s);
    placeCaret(window.txtOriginal, 0);
    QTest::keyClicks(window.txtOriginal.widget(), u"Oh, "_s);
    QCOMPARE(shown(window.txtOriginal), u"Oh, hello world"_s);
    window.txtOriginal.setText(u"hello there"_s);
    QCOMPARE(shown(window.txtOriginal), u"hello there"_s);
}

// A Change handler that writes the box again: the later write is what the box holds, and the
// next write starts from it.
void tst_Recompute::aWriteFromTheChangeEventIsKept() {
    frmMain window;
    bool rewrite = true;
    korvane::runtime::connectHandler(window.txtDecrypted, &korvane::runtime::TextBox::Change,
                                     &window, [&] {
                                         if (std::exchange(rewrite, false))
                                             window.txtDecrypted.setText(u"inner text"_s);
                                     });
    window.txtDecrypted.setText(u"outer text"_s);
    QCOMPARE(shown(window.txtDecrypted), u"inner text"_s);
    window.txtDecrypted.setText(u"outer text"_s);
    QCOMPARE(shown(window.txtDecrypted), u"outer text"_s);
}

void tst_Recompute::pasteIntoTheOutputBoxChangesNothing() {
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClicks(window.txtMultiply.widget(), u"1"_s);
    QTest::keyClicks(window.txtOriginal.widget(), u"abc"_s);
    QGuiApplication::clipboard()->setText(u"pasted"_s);
    QTest::keyClick(window.txtDecrypted.widget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(window.txtDecrypted), u"ABC"_s);
}

QTEST_MAIN(tst_Recompute)
#include "tst_recompute.moc"
