// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The text document as an editor drives it: which edits one undo takes back (typed runs and
// delete runs merged as Qt's editors merge them, a typed line break starting a new step, edit
// blocks), redo, the change signals before and after each edit with the spans they name, the
// lines and the longest line through it all, and a whole text taken and given back uncopied.
#include <QRegularExpression>
#include <QTest>
#include <new>

#include "address_space_limit.h"
#include "text/model/text_document.h"

using korvane::text::TextChange;
using korvane::text::TextDocument;
using Kind = korvane::text::EditKind;
using namespace Qt::StringLiterals;

namespace {

// What the user or the program does.
struct Op {
    enum Action {
        Type,
        Backspace,
        Delete,
        Replace,
        Overwrite,
        Begin,
        End,
        Undo,
        Redo,
        NoHistory,
        Mark,
        TakeBack
    } action;
    qsizetype position = 0;
    // Characters removed by Backspace, Delete or Replace; how many at most an overwrite's
    // writer gives at a time.
    qsizetype count = 0;
    QString text;  // typed or put in
};
using Ops = QList<Op>;

Op typed(qsizetype position, const QString& text) {
    return {Op::Type, position, 0, text};
}
Op backspaces(qsizetype position, qsizetype count) {
    return {Op::Backspace, position, count, {}};
}
Op deletes(qsizetype position, qsizetype count) {
    return {Op::Delete, position, count, {}};
}
Op replaced(qsizetype position, qsizetype count, const QString& text) {
    return {Op::Replace, position, count, text};
}
Op overwritten(qsizetype position, const QString& text, qsizetype piece) {
    return {Op::Overwrite, position, piece, text};
}
Op plain(Op::Action action) {
    return {action, 0, 0, {}};
}

// Typing puts in one character at a time (a surrogate pair together); Backspace and Delete
// take away one at a time, before and after the place.
void run(TextDocument& document, const Op& op) {
    switch (op.action) {
        case Op::Type:
            // Typing over a selection of `count` characters, or at a place.
            for (qsizetype i = 0, at = op.position; i < op.text.size();) {
                const qsizetype length = op.text[i].isHighSurrogate() ? 2 : 1;
                document.replace(at, i == 0 ? op.count : 0, QStringView(op.text).sliced(i, length),
                                 Kind::Typing);
                i += length;
                at += length;
            }
            break;
        case Op::Backspace:
            for (qsizetype i = 0; i < op.count; ++i)
                document.replace(op.position - i - 1, 1, QStringView(), Kind::Deleting);
            break;
        case Op::Delete:
            for (qsizetype i = 0; i < op.count; ++i)
                document.replace(op.position, 1, QStringView(), Kind::Deleting);
            break;
        case Op::Replace:
            document.replace(op.position, op.count, op.text);
            break;
        case Op::Overwrite:
            document.overwrite(op.position, op.text.size(),
                               [&op](qsizetype position, qsizetype length, QChar* out) {
                                   const qsizetype given = std::min(length, op.count);
                                   const QStringView from =
                                       QStringView(op.text).sliced(position - op.position, given);
                                   std::copy(from.begin(), from.end(), out);
                                   return given;
                               });
            break;
        case Op::NoHistory:
            document.setUndoRedoEnabled(false);
            break;
        case Op::Begin:
            document.beginEditBlock();
            break;
        case Op::End:
            document.endEditBlock();
            break;
        case Op::Undo:
            document.undo();
            break;
        case Op::Redo:
            document.redo();
            break;
        case Op::Mark:
            document.markEdits();
            break;
        case Op::TakeBack:
            document.takeBackEdits();
            break;
    }
}

// The lines and the longest line of the document, checked against its text.
bool linesMatch(TextDocument& document) {
    const QStringList lines = document.text().split(QRegularExpression(u"[\n\u2028]"_s));
    qsizetype longest = 0;
    for (const QString& line : lines)
        longest = std::max(longest, line.size());
    if (document.lineCount() != lines.size() || document.longestLineLength() != longest) {
        qWarning("%d lines, the longest %lld long; the text has %lld, the longest %lld long",
                 document.lineCount(), qlonglong(document.longestLineLength()),
                 qlonglong(lines.size()), qlonglong(longest));
        return false;
    }
    return true;
}

// Follows the availability signals: each must say what the document says, and only on a change.
struct Availability {
    bool undo = false;
    bool redo = false;
    int repeated = 0;

    explicit Availability(TextDocument& document) {
        QObject::connect(&document, &TextDocument::undoAvailable, [this](bool available) {
            repeated += available == undo;
            undo = available;
        });
        QObject::connect(&document, &TextDocument::redoAvailable, [this](bool available) {
            repeated += available == redo;
            redo = available;
        });
    }
    bool matches(const TextDocument& document) const {
        return repeated == 0 && undo == document.isUndoAvailable() &&
               redo == document.isRedoAvailable();
    }
};

}  // namespace

Q_DECLARE_METATYPE(Ops)

class tst_TextDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void undoTakesBackSteps_data();
    void undoTakesBackSteps();
    void signalsNameTheSpans_data();
    void signalsNameTheSpans();
    void wholeTextIsNotCopied();
    void noHistoryWhenDisabled();
    void editWithoutMemoryChangesNothing_data();
    void editWithoutMemoryChangesNothing();
};

void tst_TextDocument::undoTakesBackSteps_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Ops>("ops");
    // The text after the ops, then after each undo until there is nothing left to undo.
    QTest::addColumn<QStringList>("history");

    QTest::newRow("a typed run is one step")
        << u"ab"_s << Ops{typed(1, u"xyz"_s)} << QStringList{u"axyzb"_s, u"ab"_s};
    QTest::newRow("typing elsewhere starts a step")
        << u"ab"_s << Ops{typed(1, u"xy"_s), typed(0, u"z"_s), typed(4, u"w"_s)}
        << QStringList{u"zaxywb"_s, u"zaxyb"_s, u"axyb"_s, u"ab"_s};
    QTest::newRow("typing just before the run starts a step")
        << u"ab"_s << Ops{typed(1, u"xy"_s), typed(1, u"z"_s)}
        << QStringList{u"azxyb"_s, u"axyb"_s, u"ab"_s};
    QTest::newRow("a typed line break starts a step, and the typing after it joins it")
        << u""_s << Ops{typed(0, u"ab\ncd\u2028e"_s)}
        << QStringList{u"ab\ncd\u2028e"_s, u"ab\ncd"_s, u"ab"_s, u""_s};
    QTest::newRow("a line break typed first")
        << u"ab"_s << Ops{typed(2, u"\nc"_s), typed(4, u"\n"_s)}
        << QStringList{u"ab\nc\n"_s, u"ab\nc"_s, u"ab"_s};
    QTest::newRow("surrogate pairs typed join the run")
        << u""_s << Ops{typed(0, u"a\U0001F600b"_s)} << QStringList{u"a\U0001F600b"_s, u""_s};
    QTest::newRow("a Backspace run is one step")
        << u"abcdef"_s << Ops{backspaces(5, 3)} << QStringList{u"abf"_s, u"abcdef"_s};
    QTest::newRow("a Delete run is one step")
        << u"abcdef"_s << Ops{deletes(1, 3)} << QStringList{u"aef"_s, u"abcdef"_s};
    QTest::newRow("Delete then Backspace at the same place join")
        << u"abcdef"_s << Ops{deletes(3, 2), backspaces(3, 2)} << QStringList{u"af"_s, u"abcdef"_s};
    QTest::newRow("deleting elsewhere starts a step")
        << u"abcdef"_s << Ops{deletes(1, 1), deletes(3, 1)}
        << QStringList{u"acdf"_s, u"acdef"_s, u"abcdef"_s};
    QTest::newRow("typing after deleting starts a step")
        << u"abcd"_s << Ops{backspaces(3, 2), typed(1, u"xy"_s), backspaces(3, 1)}
        << QStringList{u"axd"_s, u"axyd"_s, u"ad"_s, u"abcd"_s};
    QTest::newRow("a replace is a step of its own")
        << u"abcd"_s << Ops{typed(4, u"e"_s), replaced(5, 0, u"f"_s), typed(6, u"g"_s)}
        << QStringList{u"abcdefg"_s, u"abcdef"_s, u"abcde"_s, u"abcd"_s};
    QTest::newRow("typing over a selection starts a step the typing after it joins")
        << u"abcd"_s << Ops{typed(4, u"e"_s), {Op::Type, 1, 2, u"zy"_s}, typed(3, u"x"_s)}
        << QStringList{u"azyxde"_s, u"abcde"_s, u"abcd"_s};
    QTest::newRow("an edit block is one step")
        << u"abcd"_s
        << Ops{plain(Op::Begin), replaced(0, 1, u"x"_s), typed(4, u"y"_s), deletes(1, 1),
               plain(Op::End)}
        << QStringList{u"xcdy"_s, u"abcd"_s};
    QTest::newRow("nested blocks are one step")
        << u"ab"_s << Ops{plain(Op::Begin), typed(0, u"x"_s), plain(Op::Begin), typed(1, u"y"_s),
                          plain(Op::End),   typed(2, u"z"_s), plain(Op::End)}
        << QStringList{u"xyzab"_s, u"ab"_s};
    QTest::newRow("typing after a block starts a step")
        << u"ab"_s << Ops{plain(Op::Begin), typed(2, u"c"_s), plain(Op::End), typed(3, u"d"_s)}
        << QStringList{u"abcd"_s, u"abc"_s, u"ab"_s};
    QTest::newRow("typing before a block does not take it in")
        << u"ab"_s << Ops{typed(2, u"c"_s), plain(Op::Begin), typed(3, u"d"_s), plain(Op::End)}
        << QStringList{u"abcd"_s, u"abc"_s, u"ab"_s};
    QTest::newRow("an empty block leaves the typed run whole")
        << u"ab"_s << Ops{typed(2, u"c"_s), plain(Op::Begin), plain(Op::End), typed(3, u"d"_s)}
        << QStringList{u"abcd"_s, u"ab"_s};
    QTest::newRow("typing after an undo starts a step")
        << u""_s
        << Ops{typed(0, u"ab"_s), replaced(0, 0, u"z"_s), plain(Op::Undo), typed(2, u"c"_s)}
        << QStringList{u"abc"_s, u"ab"_s, u""_s};
    QTest::newRow("typing on after a redo starts a step")
        << u""_s << Ops{typed(0, u"ab"_s), plain(Op::Undo), plain(Op::Redo), typed(2, u"c"_s)}
        << QStringList{u"abc"_s, u"ab"_s, u""_s};
    QTest::newRow("an edit drops what could be redone")
        << u"a"_s
        << Ops{typed(1, u"b"_s), replaced(0, 0, u"c"_s), plain(Op::Undo), plain(Op::Undo),
               typed(1, u"d"_s)}
        << QStringList{u"ad"_s, u"a"_s};
    QTest::newRow("the longest line edited shorter and longer")
        << u"abc\nabcdefgh\nab"_s
        << Ops{backspaces(12, 5), typed(10, u"xyzxyzxyz"_s), replaced(0, 10, u"\n"_s)}
        << QStringList{u"\nxyzxyzxyz"_s, u"abc\nabc\nabxyzxyzxyz"_s, u"abc\nabc\nab"_s,
                       u"abc\nabcdefgh\nab"_s};
    QTest::newRow("the whole text replaced")
        << u"ab\ncd"_s << Ops{replaced(0, 5, u"x"_s), replaced(0, 1, u"\n\n"_s)}
        << QStringList{u"\n\n"_s, u"x"_s, u"ab\ncd"_s};
    // Edits a listener could not follow, taken back: the text and the history as at the mark.
    QTest::newRow("typing taken back leaves the typed run to be typed on")
        << u""_s
        << Ops{typed(0, u"ab"_s), plain(Op::Mark), typed(2, u"cd"_s), plain(Op::TakeBack),
               typed(2, u"e"_s)}
        << QStringList{u"abe"_s, u""_s};
    QTest::newRow("a Backspace taken back")
        << u"abcdef"_s
        << Ops{backspaces(5, 2), plain(Op::Mark), backspaces(3, 1), plain(Op::TakeBack)}
        << QStringList{u"abcf"_s, u"abcdef"_s};
    QTest::newRow("a Delete taken back")
        << u"abcdef"_s << Ops{deletes(1, 2), plain(Op::Mark), deletes(1, 1), plain(Op::TakeBack)}
        << QStringList{u"adef"_s, u"abcdef"_s};
    QTest::newRow("a replace taken back")
        << u"ab"_s
        << Ops{typed(2, u"c"_s), plain(Op::Mark), replaced(0, 1, u"y\nz"_s), plain(Op::TakeBack)}
        << QStringList{u"abc"_s, u"ab"_s};
    QTest::newRow("a block taken back whole")
        << u"ab\ncd"_s
        << Ops{typed(5, u"e"_s), plain(Op::Mark),   plain(Op::Begin), replaced(0, 3, u"x"_s),
               deletes(1, 1),    typed(0, u"\n"_s), plain(Op::End),   plain(Op::TakeBack)}
        << QStringList{u"ab\ncde"_s, u"ab\ncd"_s};
    QTest::newRow("the whole text replaced, taken back")
        << u"ab\ncd"_s << Ops{plain(Op::Mark), replaced(0, 5, u"x"_s), plain(Op::TakeBack)}
        << QStringList{u"ab\ncd"_s};
    QTest::newRow("an undo taken back leaves the typed run to be typed on")
        << u"ab"_s
        << Ops{typed(2, u"cd"_s), plain(Op::Mark), plain(Op::Undo), plain(Op::TakeBack),
               typed(4, u"e"_s)}
        << QStringList{u"abcde"_s, u"ab"_s};
    QTest::newRow("a redo taken back")
        << u"ab"_s << Ops{typed(2, u"c"_s), plain(Op::Undo),     plain(Op::Mark),
                          plain(Op::Redo),  plain(Op::TakeBack), plain(Op::Redo)}
        << QStringList{u"abc"_s, u"ab"_s};
    QTest::newRow("an edit taken back gives back what it cleared from redo")
        << u"ab"_s << Ops{typed(2, u"c"_s), plain(Op::Undo),     plain(Op::Mark),
                          typed(2, u"x"_s), plain(Op::TakeBack), plain(Op::Redo)}
        << QStringList{u"abc"_s, u"ab"_s};
    QTest::newRow("edits past the end are clamped to it")
        << u"ab"_s << Ops{replaced(5, 3, u"c"_s), replaced(-2, 1, u"d"_s), replaced(1, 9, {})}
        << QStringList{u"d"_s, u"dbc"_s, u"abc"_s, u"ab"_s};
}

void tst_TextDocument::undoTakesBackSteps() {
    QFETCH(QString, text);
    QFETCH(Ops, ops);
    QFETCH(QStringList, history);

    TextDocument document;
    document.replace(0, 0, text);
    document.clearUndoRedoStacks();
    Availability availability(document);
    for (const Op& op : ops) {
        run(document, op);
        QVERIFY(linesMatch(document));
        QVERIFY(availability.matches(document));
    }
    QCOMPARE(document.text(), history.front());
    for (qsizetype i = 1; i < history.size(); ++i) {
        QVERIFY(document.isUndoAvailable());
        document.undo();
        QCOMPARE(document.text(), history[i]);
        QVERIFY(linesMatch(document));
        QVERIFY(availability.matches(document));
    }
    QVERIFY(!document.isUndoAvailable());
    for (qsizetype i = history.size() - 2; i >= 0; --i) {
        QVERIFY(document.isRedoAvailable());
        document.redo();
        QCOMPARE(document.text(), history[i]);
        QVERIFY(linesMatch(document));
        QVERIFY(availability.matches(document));
    }
    QVERIFY(!document.isRedoAvailable());
}

void tst_TextDocument::signalsNameTheSpans_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Ops>("ops");
    // Each signal pair as "position removed added [removed text] [added text]".
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("an insertion") << u"ab\ncd"_s << Ops{replaced(3, 0, u"x\ny"_s)}
                                  << QStringList{u"3 0 3 [] [x\ny]"_s};
    QTest::newRow("a removal across a line break")
        << u"ab\ncd"_s << Ops{replaced(1, 3, {})} << QStringList{u"1 3 0 [b\nc] []"_s};
    QTest::newRow("clamped to the text")
        << u"abc"_s << Ops{replaced(2, 9, u"z"_s), replaced(7, 0, u"y"_s)}
        << QStringList{u"2 1 1 [c] [z]"_s, u"3 0 1 [] [y]"_s};
    QTest::newRow("nothing changed, nothing announced")
        << u"abc"_s << Ops{replaced(1, 0, {}), replaced(9, 4, {}), plain(Op::Undo)}
        << QStringList{};
    QTest::newRow("the whole text") << u"abc"_s << Ops{replaced(0, 3, u"de"_s), plain(Op::Undo)}
                                    << QStringList{u"0 3 2 [abc] [de]"_s, u"0 2 3 [de] [abc]"_s};
    QTest::newRow("a block undone and redone backwards and forwards")
        << u"abcd"_s << Ops{plain(Op::Begin), replaced(0, 1, u"x"_s), replaced(3, 1, u"yz"_s),
                            plain(Op::End),   plain(Op::Undo),        plain(Op::Redo)}
        << QStringList{u"0 1 1 [a] [x]"_s, u"3 1 2 [d] [yz]"_s, u"3 2 1 [yz] [d]"_s,
                       u"0 1 1 [x] [a]"_s, u"0 1 1 [a] [x]"_s,  u"3 1 2 [d] [yz]"_s};
    // An overwrite is announced from the first character it changes, with or without a
    // history, and a line break it moves is followed by the lines.
    QTest::newRow("an overwrite") << u"ab\ncd\nef"_s << Ops{overwritten(0, u"ab\nCd\nEf"_s, 2)}
                                  << QStringList{u"3 5 5 [cd\nef] [Cd\nEf]"_s};
    QTest::newRow("an overwrite without a history")
        << u"ab\ncd\nef"_s << Ops{plain(Op::NoHistory), overwritten(0, u"ab\nCd\nEf"_s, 2)}
        << QStringList{u"3 5 5 [cd\nef] [Cd\nEf]"_s};
    QTest::newRow("an overwrite that changes nothing")
        << u"ab\ncd"_s << Ops{plain(Op::NoHistory), overwritten(1, u"b\ncd"_s, 1)} << QStringList{};
    QTest::newRow("an overwrite that moves a line break, undone")
        << u"ab\ncd"_s << Ops{overwritten(1, u"bcd\n"_s, 3), plain(Op::Undo)}
        << QStringList{u"2 3 3 [\ncd] [cd\n]"_s, u"2 3 3 [cd\n] [\ncd]"_s};
    QTest::newRow("an overwrite that moves a line break, without a history")
        << u"ab\ncdef"_s << Ops{plain(Op::NoHistory), overwritten(0, u"abcdef\n"_s, 2)}
        << QStringList{u"2 5 5 [\ncdef] [cdef\n]"_s};
    QTest::newRow("a typed run undone at once")
        << u"ab"_s << Ops{typed(1, u"xy"_s), plain(Op::Undo)}
        << QStringList{u"1 0 1 [] [x]"_s, u"2 0 1 [] [y]"_s, u"1 2 0 [xy] []"_s};
}

void tst_TextDocument::signalsNameTheSpans() {
    QFETCH(QString, text);
    QFETCH(Ops, ops);
    QFETCH(QStringList, changes);

    TextDocument document;
    document.replace(0, 0, text);
    document.clearUndoRedoStacks();
    QStringList seen;
    QString before;
    int linesBefore = 0;
    const quint64 revision = document.revision();
    connect(&document, &TextDocument::contentsAboutToChange,
            [&](qsizetype position, qsizetype removed) {
                // The text about to go can still be read, and the lines are those it has now.
                before = document.mid(position, removed);
                linesBefore = document.lineCount();
                QCOMPARE(linesBefore, document.text().count(u'\n') + 1);
            });
    connect(&document, &TextDocument::contentsChanged, [&](const TextChange& change) {
        seen.append(u"%1 %2 %3 [%4] [%5]"_s.arg(change.position)
                        .arg(change.removed)
                        .arg(change.added)
                        .arg(before, document.mid(change.position, change.added)));
        // The lines and the longest line are already those of the text after the edit, and
        // the change names the lines it touched before and after it.
        QVERIFY(linesMatch(document));
        QCOMPARE(change.lines.first, document.lineAt(change.position));
        QCOMPARE(change.lines.lastAdded, document.lineAt(change.position + change.added));
        QCOMPARE(change.lines.lineDelta(), document.lineCount() - linesBefore);
        // The revision counts each change, this one already.
        QCOMPARE(document.revision(), revision + quint64(seen.size()));
    });
    for (const Op& op : ops)
        run(document, op);
    QCOMPARE(seen, changes);
    QCOMPARE(document.revision(), revision + quint64(changes.size()));
}

void tst_TextDocument::wholeTextIsNotCopied() {
    // 10 MB of lines, taken into an empty document and given back by undo and redo.
    QString text = QString(u"0123456789abcdef\n"_s).repeated(640 * 1024);
    const QChar* storage = text.constData();
    const qsizetype length = text.size();
    TextDocument document;
    document.replace(0, 0, std::move(text));
    QCOMPARE(document.text().constData(), storage);
    QCOMPARE(document.lineCount(), 640 * 1024 + 1);
    document.undo();
    QVERIFY(document.isEmpty());
    document.redo();
    QCOMPARE(document.length(), length);
    QCOMPARE(document.text().constData(), storage);
    // An edit in the middle, then the whole text removed and put back by undo, still uncopied.
    document.replace(length / 2, 0, u"x"_s);
    const QChar* edited = document.text().constData();
    document.replace(0, document.length(), QStringView());
    document.undo();
    QCOMPARE(document.text().constData(), edited);
    QCOMPARE(document.longestLineLength(), 17);
}

void tst_TextDocument::noHistoryWhenDisabled() {
    TextDocument document;
    Availability availability(document);
    document.replace(0, 0, u"abc"_s, Kind::Typing);
    QVERIFY(availability.matches(document) && availability.undo);
    document.setUndoRedoEnabled(false);
    QVERIFY(availability.matches(document) && !availability.undo);
    document.replace(0, 1, u"x"_s);
    document.undo();
    QCOMPARE(document.text(), u"xbc"_s);
    QVERIFY(!document.isUndoAvailable());
}

namespace {

// A text of 16 million characters: 32 MB, more than the address space left for the edit.
constexpr qsizetype kBig = 16 * 1024 * 1024;
constexpr long long kSpare = 24 * 1024 * 1024;

enum class Failing { WholeTextAsView, WriteToSharedText, UndoOfTwoLargeSpans };

}  // namespace

Q_DECLARE_METATYPE(Failing)

void tst_TextDocument::editWithoutMemoryChangesNothing_data() {
    QTest::addColumn<Failing>("failing");
    // The whole text replaced by a view of another string, which must be copied.
    QTest::newRow("a whole text given as a view") << Failing::WholeTextAsView;
    // A character written into a text whose storage a copy handed out still shares.
    QTest::newRow("a write into a text shared with a copy") << Failing::WriteToSharedText;
    // An undo whose second replacement fails, the first then put back without a copy.
    QTest::newRow("an undo of two large spans") << Failing::UndoOfTwoLargeSpans;
}

void tst_TextDocument::editWithoutMemoryChangesNothing() {
    QFETCH(Failing, failing);

    TextDocument document;
    QString shared;
    const QString big(kBig, u'y');
    switch (failing) {
        case Failing::WholeTextAsView:
            document.replace(0, 0, u"keep\nthis"_s);
            break;
        case Failing::WriteToSharedText:
            document.replace(0, 0, QString(kBig, u't'));
            document.replace(10, 0, u"x"_s);  // a gap, which text() then takes out
            shared = document.text();
            break;
        case Failing::UndoOfTwoLargeSpans:
            document.replace(0, 0, QString(kBig, u't') + u"\nmid"_s);
            document.beginEditBlock();
            document.replace(document.length(), 0, big);
            document.replace(0, kBig, QStringView());
            document.endEditBlock();
            break;
    }
    if (failing != Failing::UndoOfTwoLargeSpans)
        document.clearUndoRedoStacks();
    const QString before = document.toString();
    const bool undoBefore = document.isUndoAvailable();
    int announced = 0;
    connect(&document, &TextDocument::contentsAboutToChange, [&] { ++announced; });
    connect(&document, &TextDocument::contentsChanged, [&] { ++announced; });

    bool refused = false;
    {
        const AddressSpaceLimit limit(kSpare);
        if (!limit.available())
            QSKIP("no address-space limit can be set under AddressSanitizer");
        try {
            switch (failing) {
                case Failing::WholeTextAsView:
                    document.replace(0, document.length(), QStringView(big));
                    break;
                case Failing::WriteToSharedText:
                    document.replace(5, 1, u"z"_s);
                    break;
                case Failing::UndoOfTwoLargeSpans:
                    document.undo();
                    break;
            }
        } catch (const std::bad_alloc&) {
            refused = true;
        }
    }
    QVERIFY(refused);
    QCOMPARE(document.toString(), before);
    QVERIFY(linesMatch(document));
    QCOMPARE(document.isUndoAvailable(), undoBefore);
    QVERIFY(!document.isRedoAvailable());
    // An undo taken back is one change that was announced and one that took it back; any other
    // refused edit is not announced at all.
    QCOMPARE(announced, failing == Failing::UndoOfTwoLargeSpans ? 4 : 0);
    if (failing == Failing::UndoOfTwoLargeSpans) {
        // With memory again, the step undoes whole.
        document.undo();
        QCOMPARE(document.toString(), QString(kBig, u't') + u"\nmid"_s);
    }
}

QTEST_APPLESS_MAIN(tst_TextDocument)
#include "tst_text_document.moc"
