// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The undo history on its own, over a plain string: where each undo and redo leaves the caret,
// and a step that fails part way (an edit that cannot get its memory) is taken back whole,
// leaving the text and both stacks as they were. Which edits join a step is the document
// suite's table.
#include <QTest>
#include <new>

#include "text/model/undo_history.h"

using korvane::text::EditKind;
using korvane::text::UndoHistory;
using namespace Qt::StringLiterals;

namespace {

// A text and its history, edited as a document edits: the note first, then the change.
struct Edited {
    QString text;
    UndoHistory history;
    // The replacement that fails, counted from 1 over the next replay; 0 for none.
    int failingReplacement = 0;

    void replace(qsizetype position, qsizetype removed, const QString& inserted, EditKind kind) {
        history.record(position, text.mid(position, removed), inserted, kind);
        text.replace(position, removed, inserted);
    }
    UndoHistory::Apply apply() {
        return [this](UndoHistory::Action& action, bool puttingBack) {
            if (--failingReplacement == 0)
                throw std::bad_alloc();
            QString replaced = puttingBack ? QString() : text.mid(action.position, action.length);
            text.replace(action.position, action.length, action.text);
            return replaced;
        };
    }
};

}  // namespace

class tst_UndoHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void caretAfterEachStep();
    void failedStepIsTakenBackWhole_data();
    void failedStepIsTakenBackWhole();
};

void tst_UndoHistory::caretAfterEachStep() {
    Edited edited{u"Korv key test"_s, {}, 0};
    // Typed over the selection "ke", then on: one step, which puts "ke" back with the caret
    // after it, as Qt's editors do.
    edited.replace(5, 2, u"o"_s, EditKind::Typing);
    edited.replace(6, 0, u"ne"_s, EditKind::Typing);
    QCOMPARE(edited.text, u"Korv oney test"_s);
    QCOMPARE(edited.history.undo(edited.apply()), 7);
    QCOMPARE(edited.text, u"Korv key test"_s);
    QVERIFY(!edited.history.canUndo());
    QCOMPARE(edited.history.redo(edited.apply()), 8);
    QCOMPARE(edited.text, u"Korv oney test"_s);
    QCOMPARE(edited.history.redo(edited.apply()), std::nullopt);
}

void tst_UndoHistory::failedStepIsTakenBackWhole_data() {
    QTest::addColumn<bool>("undoing");
    QTest::addColumn<int>("failing");  // which replacement of the three fails
    for (int failing = 1; failing <= 3; ++failing) {
        QTest::addRow("undo failing at %d of 3", failing) << true << failing;
        QTest::addRow("redo failing at %d of 3", failing) << false << failing;
    }
}

void tst_UndoHistory::failedStepIsTakenBackWhole() {
    QFETCH(bool, undoing);
    QFETCH(int, failing);

    Edited edited{u"abcdef"_s, {}, 0};
    edited.history.beginBlock();
    edited.replace(0, 1, u"X"_s, EditKind::Other);
    edited.replace(3, 2, QString(), EditKind::Other);
    edited.replace(4, 0, u"YZ"_s, EditKind::Other);
    edited.history.endBlock();
    if (!undoing)
        edited.history.undo(edited.apply());
    const QString before = edited.text;

    edited.failingReplacement = failing;
    bool failed = false;
    try {
        undoing ? edited.history.undo(edited.apply()) : edited.history.redo(edited.apply());
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(edited.text, before);
    QCOMPARE(edited.history.canUndo(), undoing);
    QCOMPARE(edited.history.canRedo(), !undoing);
    // The step is still whole: once memory is there, it undoes or redoes in full.
    edited.failingReplacement = 0;
    undoing ? edited.history.undo(edited.apply()) : edited.history.redo(edited.apply());
    QCOMPARE(edited.text, undoing ? u"abcdef"_s : u"XbcfYZ"_s);
}

QTEST_APPLESS_MAIN(tst_UndoHistory)
#include "tst_undo_history.moc"
