// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The floor program's window against Korvane's: every control at the same place in the same
// font, once shown at the size it opens at; Ctrl+V in its input keeps the clipboard's text and
// shows nothing; and the benchmark's driver reports a paste the window did not take in whole.
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "floor_window.h"
#include "window/frm_main.h"
#include "window/frm_main_description.h"
#include "window_driver.h"

using korvane::bench::FloorWindow;
using korvane::window::frmMain;

class tst_FloorWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsStandAsKorvanes_data() {
        QTest::addColumn<QString>("control");
        for (const auto& control : korvane::window::frm_main::kControls)
            QTest::newRow(control.name) << QString::fromUtf8(control.name);
    }
    void controlsStandAsKorvanes() {
        QFETCH(QString, control);
        frmMain korvane;
        FloorWindow floor;
        for (QWidget* window : {static_cast<QWidget*>(&korvane), static_cast<QWidget*>(&floor)}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
        QCOMPARE(floor.size(), korvane.size());
        const auto* ours = korvane.findChild<QWidget*>(control);
        const auto* stock = floor.findChild<QWidget*>(control);
        QVERIFY(ours != nullptr && stock != nullptr);
        QCOMPARE(stock->geometry(), ours->geometry());
        QCOMPARE(stock->font(), ours->font());
    }

    void pasteKeepsTheClipboardOnly() {
        FloorWindow floor;
        floor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&floor));
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted\ntext"));
        QTest::keyClick(floor.input(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(floor.pasted(), QStringLiteral("pasted\ntext"));
        QVERIFY(floor.input()->toPlainText().isEmpty());
    }

    // The driver measures one paste, after typing 3 into the multiplier box for the multiplied
    // run, and fails the run when the window took in less than the clipboard held: a benchmark
    // of a paste that did not happen measures nothing.
    void driverChecksThePasteWasWhole_data() {
        QTest::addColumn<int>("scenario");
        QTest::addColumn<int>("offered");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("multiplier");  // what the multiplier box shows after
        const int asItStarts = int(korvane::bench::WindowScenario::ClipboardPaste);
        const int multiplied = int(korvane::bench::WindowScenario::ClipboardPasteMultiplied);
        QTest::newRow("taken whole") << asItStarts << 5000 << 5000 << 0 << "";
        QTest::newRow("less than the run's length") << asItStarts << 4000 << 5000 << 2 << "";
        QTest::newRow("a multiplier typed first") << multiplied << 5000 << 5000 << 0 << "3";
    }
    void driverChecksThePasteWasWhole() {
        QFETCH(int, scenario);
        QFETCH(int, offered);
        QFETCH(int, expected);
        QFETCH(int, status);
        QFETCH(QString, multiplier);
        FloorWindow floor;
        QGuiApplication::clipboard()->setText(QString(offered, u'x'));
        const korvane::bench::WindowRun run{korvane::bench::WindowScenario(scenario), expected, 70,
                                            1};
        QCOMPARE(
            korvane::bench::runClipboardPaste(run, {&floor, floor.input(), floor.multiplier(),
                                                    [&floor] { return floor.pasted().size(); }}),
            status);
        QCOMPARE(floor.multiplier()->text(), multiplier);
    }
};

QTEST_MAIN(tst_FloorWindow)
#include "tst_floor_window.moc"
