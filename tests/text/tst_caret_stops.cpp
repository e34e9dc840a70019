// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Where the caret stops in a text, as the editor's commands ask: what Backspace takes back of a
// syllable or a cluster in each script, and what a double click selects among words,
// punctuation and blanks. The caret's moves by character and word, against Qt's own editor,
// are the view suite's keyboardSelection.
#include <QFont>
#include <QTest>

#include "text/editor/caret_stops.h"

using korvane::text::TextDocument;
using korvane::text::TextRange;
using namespace Qt::StringLiterals;

class tst_CaretStops : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void backspaceStop_data();
    void backspaceStop();
    void clickedWord_data();
    void clickedWord();
};

void tst_CaretStops::backspaceStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");  // what Backspace at the end leaves
    // A syllable typed mark by mark (Thai, Devanagari, Arabic, Hangul jamo) loses a mark at a
    // time; a Latin, Greek or Cyrillic letter with its accents, a kana with its mark and an
    // emoji sequence go whole.
    const std::pair<QString, QString> backspaced[] = {
        {u"\u0e19\u0e49\u0e33"_s, u"\u0e19\u0e49"_s},
        {u"\u0936\u094d\u0930\u0940"_s, u"\u0936\u094d\u0930"_s},
        {u"\u0639\u064e"_s, u"\u0639"_s},
        {u"\u1112\u1161\u11ab"_s, u"\u1112\u1161"_s},
        {u"x\u0065\u0301"_s, u"x"_s},
        {u"\u03b1\u0301"_s, {}},
        {u"\u0438\u0306"_s, {}},
        {u"\u304b\u3099"_s, {}},
        {u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s, {}},
        {u"\U0001F44D\U0001F3FD"_s, {}},
        {u"\u2764\uFE0F"_s, {}},
        {u"\u26F9\u200D\u2640"_s, {}},
        {u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"_s, u"\U0001F1E9\U0001F1EA"_s},
        {u"a\n"_s, u"a"_s},
    };
    for (const auto& [text, left] : backspaced)
        QTest::newRow(qPrintable(u"Backspace after "_s + text)) << text << left;
}

void tst_CaretStops::backspaceStop() {
    QFETCH(QString, text);
    QFETCH(QString, left);
    TextDocument document;
    document.replace(0, 0, text);
    QCOMPARE(korvane::text::backspaceStop(document, QFont(), text.size()), left.size());
}

void tst_CaretStops::clickedWord_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("selected");
    QTest::newRow("in a word") << "alpha beta" << 8 << "beta";
    QTest::newRow("just after a word") << "alpha beta" << 5 << "alpha";
    QTest::newRow("at the line's end") << "alpha beta" << 10 << "beta";
    // Qt's editors select a run of word separators, never the blanks about it.
    QTest::newRow("on a run of hyphens between blanks") << "(wow!) -- and" << 7 << "--";
    QTest::newRow("on punctuation after a word") << "(wow!) -- and" << 5 << "!)";
    QTest::newRow("on the blank after punctuation") << "(wow!) -- and" << 9 << "--";
    QTest::newRow("on blanks after a word") << "a  b" << 2 << "a";
    QTest::newRow("at the end of a line's blanks") << "ab  " << 4 << "ab";
    QTest::newRow("on a line of blanks") << "   " << 1 << "";
}

void tst_CaretStops::clickedWord() {
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, selected);
    TextDocument document;
    document.replace(0, 0, text);
    const TextRange word = korvane::text::clickedWord(document, position);
    QCOMPARE(text.mid(word.start, word.length()), selected);
}

QTEST_MAIN(tst_CaretStops)
#include "tst_caret_stops.moc"
