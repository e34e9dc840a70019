// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The window benchmark's command line for a child run, there and back for every scenario and
// refused when malformed; what the parent reads back from a child: its figures, and why there are
// none when it failed, crashed, grew too large or took too long; and the median of the runs.
#include <QTest>

#include "child_process.h"
#include "window_run.h"

using korvane::bench::ChildReport;
using korvane::bench::WindowRun;
using korvane::bench::WindowScenario;

class tst_BenchHarness : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsGoThereAndBack_data() {
        QTest::addColumn<int>("scenario");
        const std::pair<const char*, WindowScenario> scenarios[] = {
            {"startup", WindowScenario::Startup},
            {"keystroke", WindowScenario::Keystroke},
            {"multiplier", WindowScenario::Multiplier},
            {"scroll", WindowScenario::Scroll},
            {"paste", WindowScenario::Paste},
            {"memory", WindowScenario::Memory},
            {"copy", WindowScenario::Copy},
            {"undo", WindowScenario::Undo},
            {"clipboard paste", WindowScenario::ClipboardPaste},
            {"clipboard paste, multiplied", WindowScenario::ClipboardPasteMultiplied}};
        for (const auto& [name, scenario] : scenarios)
            QTest::newRow(name) << int(scenario);
    }
    void runsGoThereAndBack() {
        QFETCH(int, scenario);
        const WindowRun run{WindowScenario(scenario), 10485760, 70, 21};
        WindowRun back;
        QVERIFY(korvane::bench::fromArguments(korvane::bench::toArguments(run), &back));
        QCOMPARE(int(back.scenario), scenario);
        QCOMPARE(back.textLength, run.textLength);
        QCOMPARE(back.lineLength, run.lineLength);
        QCOMPARE(back.repetitions, run.repetitions);
    }

    void malformedRunsAreRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("no scenario flag") << QStringList{"paste", "1", "2", "3", "4"};
        QTest::newRow("an unknown scenario") << QStringList{"--scenario", "dance", "1", "2", "3"};
        QTest::newRow("a length that is no number")
            << QStringList{"--scenario", "paste", "ten", "2", "3"};
        QTest::newRow("the runs missing") << QStringList{"--scenario", "paste", "1", "2"};
    }
    void malformedRunsAreRefused() {
        QFETCH(QStringList, arguments);
        WindowRun run;
        QVERIFY(!korvane::bench::fromArguments(arguments, &run));
    }

    // Every figure in the tables is the median of the runs' values, which come unsorted.
    void medianOfRuns_data() {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<double>("median");
        QTest::newRow("none") << QList<double>{} << 0.0;
        QTest::newRow("one") << QList<double>{7} << 7.0;
        QTest::newRow("an odd count, unsorted") << QList<double>{9, 1, 5, 3, 40} << 5.0;
        QTest::newRow("an even count: the mean of the middle two")
            << QList<double>{10, 2, 4, 1} << 3.0;
    }
    void medianOfRuns() {
        QFETCH(QList<double>, values);
        QFETCH(double, median);
        QCOMPARE(korvane::bench::median(values), median);
    }

    // A child (a shell here) and what the parent makes of it: its "name value" lines, in order,
    // or the failure that stands for them in the table.
    void childReports_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("timeoutSeconds");
        QTest::addColumn<int>("residentLimitMiB");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("figures");  // name=value,value;… in name order
        QTest::newRow("figures in the order written")
            << "echo paste_ms 3.5; echo peak_kib 100; echo paste_ms 4" << 30 << 1024 << ""
            << "paste_ms=3.5,4;peak_kib=100";
        QTest::newRow("lines that are no figures")
            << "echo shown; echo a b c; echo n 2" << 30 << 1024 << ""
            << "n=2";
        QTest::newRow("status 2 is a wrong output")
            << "echo n 1; exit 2" << 30 << 1024 << "wrong output"
            << "n=1";
        QTest::newRow("another status") << "exit 3" << 30 << 1024 << "exited with status 3"
                                        << "";
        QTest::newRow("a crash") << "kill -SEGV $$" << 30 << 1024 << "crashed"
                                 << "";
        QTest::newRow("too large")
            << "exec python3 -c 'import time; b = bytearray(200 << 20); time.sleep(30)'" << 30
            << 100 << "stopped above 100 MB resident"
            << "";
        QTest::newRow("too slow") << "echo n 1; exec sleep 30" << 1 << 1024
                                  << "did not finish in 1 s"
                                  << "";
    }
    void childReports() {
        QFETCH(QString, script);
        QFETCH(int, timeoutSeconds);
        QFETCH(int, residentLimitMiB);
        QFETCH(QString, failure);
        QFETCH(QString, figures);
        const ChildReport report =
            korvane::bench::runChild(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script},
                                     timeoutSeconds, residentLimitMiB);
        QCOMPARE(report.failure, failure);
        QStringList read;
        for (auto figure = report.figures.begin(); figure != report.figures.end(); ++figure) {
            QStringList values;
            for (const double value : figure.value())
                values << QString::number(value);
            read << figure.key() + u'=' + values.join(u',');
        }
        QCOMPARE(read.join(u';'), figures);
    }
};

QTEST_GUILESS_MAIN(tst_BenchHarness)
#include "tst_bench_harness.moc"
