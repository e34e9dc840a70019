// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The real main window, headless, with 10 MB and 100 MB of text in lines of about 1000 and about
// 70 characters: what a keystroke, a multiplier change, a scroll-bar step and a paste cost from
// the key to the output box written and the window repainted (medians of wall times), and the
// peak resident size. Every scenario runs in a fresh child process of this program, so that
// nothing measured before counts; the children are killed when they take too long or grow too
// large. At the end one table gives every figure beside its target, with the engine's
// throughput read from the engine benchmark's JSON output when it is given. With --floor, then
// in a real X window Korvane against the floor program (floor_comparison.h); --floor-only runs
// that alone, and --callgrind <folder> adds the paste's instruction counts to it.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "child_process.h"
#include "floor_comparison.h"
#include "window_scenarios.h"

namespace {

using korvane::bench::ChildReport;
using korvane::bench::median;
using korvane::bench::WindowRun;
using korvane::bench::WindowScenario;

constexpr qsizetype kMiB = qsizetype(1) << 20;
constexpr qsizetype k10MB = 10 * kMiB;
constexpr qsizetype k100MB = 100 * kMiB;
constexpr qsizetype kLongLines = 1000;
constexpr qsizetype kProseLines = 70;

constexpr int kKeystrokes = 21;
constexpr int kMultiplierChanges = 9;
constexpr int kScrollSteps = 10;
constexpr int kPastes = 5;
constexpr int kUndos = 5;
constexpr int kStartups = 11;
// The peak of one process varies by a tenth from run to run: the median of three at 10 MB.
constexpr int kPeakRuns = 3;

constexpr int k10MBTimeoutSeconds = 180;
constexpr int k100MBTimeoutSeconds = 240;
constexpr qint64 kResidentLimitMiB = 8192;

ChildReport runScenario(WindowScenario scenario, qsizetype length, qsizetype lineLength,
                        int repetitions = 1) {
    const WindowRun run{scenario, length, lineLength, repetitions};
    std::fprintf(stderr, "window benchmark: %s\n",
                 qPrintable(korvane::bench::toArguments(run).mid(1).join(u' ')));
    const int timeout = length > k10MB ? k100MBTimeoutSeconds : k10MBTimeoutSeconds;
    return korvane::bench::runChild(korvane::bench::toArguments(run), timeout, kResidentLimitMiB);
}

// The same scenario in several fresh processes, their figures put together; the first failure
// stands for all.
ChildReport runSeveral(int runs, WindowScenario scenario, qsizetype length, qsizetype lineLength) {
    ChildReport all;
    for (int run = 0; run < runs; ++run) {
        const ChildReport one = runScenario(scenario, length, lineLength);
        if (all.failure.isEmpty())
            all.failure = one.failure;
        for (auto figure = one.figures.begin(); figure != one.figures.end(); ++figure)
            all.figures[figure.key()].append(figure.value());
    }
    return all;
}

QString milliseconds(double ms) {
    if (ms < 10)
        return QString::number(ms, 'f', 1) + QStringLiteral(" ms");
    if (ms < 10000)
        return QString::number(ms, 'f', 0) + QStringLiteral(" ms");
    return QString::number(ms / 1000, 'f', 1) + QStringLiteral(" s");
}

QString megabytes(double kib) {
    return QString::number(kib / 1024, 'f', 0) + QStringLiteral(" MB");
}

// The median wall time of one timed action of a child, with its median CPU time, or why there
// is none.
QString medianTime(const ChildReport& report, const QString& action) {
    if (!report.failure.isEmpty())
        return report.failure;
    const QList<double> wall = report.figures.value(action + QStringLiteral("_ms"));
    const QList<double> cpu = report.figures.value(action + QStringLiteral("_cpu_ms"));
    if (wall.isEmpty() || cpu.isEmpty())
        return QStringLiteral("no figure");
    return QStringLiteral("%1 (CPU %2)").arg(milliseconds(median(wall)), milliseconds(median(cpu)));
}

std::optional<double> peakKiB(const ChildReport& report) {
    const QList<double> values = report.figures.value(QStringLiteral("peak_kib"));
    if (!report.failure.isEmpty() || values.isEmpty())
        return std::nullopt;
    return median(values);
}

QString peak(const ChildReport& report) {
    const std::optional<double> peak = peakKiB(report);
    return peak ? megabytes(*peak) : report.failure;
}

// Resident memory above the empty window's, per MB of text in the window.
QString perMegabyte(const ChildReport& report, qsizetype length, const ChildReport& empty) {
    const std::optional<double> peak = peakKiB(report);
    const std::optional<double> base = peakKiB(empty);
    if (!peak || !base)
        return QStringLiteral("—");
    return QString::number((*peak - *base) / 1024 / (double(length) / kMiB), 'f', 1);
}

// The ASCII transform's median throughput at 10 MB in the engine benchmark's JSON output (CPU
// time, as that benchmark reports it).
QString engineThroughput(const QString& path) {
    if (path.isEmpty())
        return QStringLiteral("not run");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("no results");
    const QJsonArray runs = QJsonDocument::fromJson(file.readAll())["benchmarks"].toArray();
    const QString name = QStringLiteral("transform/ascii/%1_median").arg(k10MB);
    for (const QJsonValue& entry : runs) {
        const QJsonObject run = entry.toObject();
        if (run["name"].toString() != name)
            continue;
        const QString unit = run["time_unit"].toString();
        const double perSecond = unit == QLatin1String("ms")   ? 1e3
                                 : unit == QLatin1String("us") ? 1e6
                                 : unit == QLatin1String("s")  ? 1.0
                                                               : 1e9;
        const double seconds = run["cpu_time"].toDouble() / perSecond;
        return QString::number(double(k10MB) / seconds / 1e9, 'f', 2) +
               QStringLiteral(" G chars/s");
    }
    return QStringLiteral("no results");
}

// The one-minute load average: how busy the machine was besides this benchmark.
QString loadAverage() {
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    if (!loadavg.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(loadavg.readAll().split(' ').value(0));
}

QString processorName() {
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QSysInfo::currentCpuArchitecture();
}

struct Row {
    QString figure;
    QString target;
    QString longLines;
    QString proseLines;
};

// Every figure for one line shape, from its own child processes.
struct ShapeReports {
    ChildReport keystroke, multiplier, scroll, paste, undo, memory, copy, memory100;
};

ShapeReports measureShape(qsizetype lineLength) {
    ShapeReports reports;
    reports.keystroke = runScenario(WindowScenario::Keystroke, k10MB, lineLength, kKeystrokes);
    reports.multiplier =
        runScenario(WindowScenario::Multiplier, k10MB, lineLength, kMultiplierChanges);
    reports.scroll = runScenario(WindowScenario::Scroll, k10MB, lineLength, kScrollSteps);
    reports.paste = runScenario(WindowScenario::Paste, k10MB, lineLength, kPastes);
    reports.undo = runScenario(WindowScenario::Undo, k10MB, lineLength, kUndos);
    reports.memory = runSeveral(kPeakRuns, WindowScenario::Memory, k10MB, lineLength);
    reports.copy = runSeveral(kPeakRuns, WindowScenario::Copy, k10MB, lineLength);
    reports.memory100 = runScenario(WindowScenario::Memory, k100MB, lineLength);
    return reports;
}

int parent(const QString& engineResults) {
    QElapsedTimer total;
    total.start();
    const QString date = QDateTime::currentDateTime().toString(Qt::ISODate);
    const QString loadBefore = loadAverage();
    const ShapeReports longLines = measureShape(kLongLines);
    const ShapeReports prose = measureShape(kProseLines);
    const ChildReport empty = runSeveral(kPeakRuns, WindowScenario::Memory, 0, kProseLines);
    QList<double> startups;
    QString startupFailure;
    for (int run = 0; run < kStartups; ++run) {
        const ChildReport startup = runScenario(WindowScenario::Startup, 0, kProseLines);
        startups.append(startup.firstOutputMs);
        startupFailure = startup.failure;
    }
    const std::vector<Row> rows = {
        {QStringLiteral("one keystroke in the input box, 10 MB"), QStringLiteral("≤ 1 ms CPU"),
         medianTime(longLines.keystroke, QStringLiteral("keystroke")),
         medianTime(prose.keystroke, QStringLiteral("keystroke"))},
        {QStringLiteral("one keystroke, 100 MB"), QStringLiteral("≤ 1 ms CPU, as at 10 MB"),
         medianTime(longLines.memory100, QStringLiteral("keystroke")),
         medianTime(prose.memory100, QStringLiteral("keystroke"))},
        {QStringLiteral("multiplier change (a digit typed), 10 MB"), QStringLiteral("≤ 20 ms"),
         medianTime(longLines.multiplier, QStringLiteral("multiplier")),
         medianTime(prose.multiplier, QStringLiteral("multiplier"))},
        {QStringLiteral("scroll-bar change (one step), 10 MB"), QStringLiteral("≤ 20 ms"),
         medianTime(longLines.scroll, QStringLiteral("scroll")),
         medianTime(prose.scroll, QStringLiteral("scroll"))},
        {QStringLiteral("paste of 10 MB into the empty input"), QStringLiteral("≤ 100 ms"),
         medianTime(longLines.paste, QStringLiteral("paste")),
         medianTime(prose.paste, QStringLiteral("paste"))},
        {QStringLiteral("undo (Ctrl+Z) of a 10 MB paste"), QStringLiteral("≤ 100 ms"),
         medianTime(longLines.undo, QStringLiteral("undo")),
         medianTime(prose.undo, QStringLiteral("undo"))},
        {QStringLiteral("peak resident memory, 10 MB in both boxes"), QStringLiteral("≤ 80 MB"),
         peak(longLines.memory), peak(prose.memory)},
        {QStringLiteral("peak resident memory, whole output copied, 10 MB"),
         QStringLiteral("≤ 80 MB"), peak(longLines.copy), peak(prose.copy)},
        {QStringLiteral("paste of 100 MB (one paste, output checked)"), QStringLiteral("≤ 1.5 s"),
         medianTime(longLines.memory100, QStringLiteral("paste")),
         medianTime(prose.memory100, QStringLiteral("paste"))},
        {QStringLiteral("peak resident memory, 100 MB in both boxes"), QStringLiteral("≤ 600 MB"),
         peak(longLines.memory100), peak(prose.memory100)},
        {QStringLiteral("MB per MB of text above the empty window, at 10 MB / 100 MB"),
         QStringLiteral("the same at both (linear)"),
         perMegabyte(longLines.memory, k10MB, empty) + QStringLiteral(" / ") +
             perMegabyte(longLines.memory100, k100MB, empty),
         perMegabyte(prose.memory, k10MB, empty) + QStringLiteral(" / ") +
             perMegabyte(prose.memory100, k100MB, empty)},
        {QStringLiteral("engine, ASCII, 10 MB (engine benchmark, CPU time)"),
         QStringLiteral("no slower"), QStringLiteral("—"), engineThroughput(engineResults)},
        {QStringLiteral("peak resident memory, empty window, same actions"), QStringLiteral("—"),
         QStringLiteral("—"), peak(empty)},
        {QStringLiteral("start-up to window shown"), QStringLiteral("—"), QStringLiteral("—"),
         startupFailure.isEmpty() ? milliseconds(median(startups)) : startupFailure},
    };
    std::printf(
        "\nKorvane window benchmark, %s, %d cores, %s, Qt %s, platform %s, load average %s at "
        "the start and %s at the end\n\n",
        qPrintable(date), QThread::idealThreadCount(), qPrintable(processorName()), qVersion(),
        qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")), qPrintable(loadBefore),
        qPrintable(loadAverage()));
    std::printf("| figure | target | 1000-char lines | 70-char lines |\n|---|---|---|---|\n");
    for (const Row& row : rows) {
        std::printf("| %s | %s | %s | %s |\n", qPrintable(row.figure), qPrintable(row.target),
                    qPrintable(row.longLines), qPrintable(row.proseLines));
    }
    std::printf(
        "\nTimes: medians of wall time from the key to the output written and the window\n"
        "repainted, with the medians of the process's CPU time over the same spans;\n"
        "%d keystrokes, %d multiplier changes, %d scroll steps, %d pastes and %d undos at 10 MB,\n"
        "one paste and the 60 keystrokes of the memory scenario at 100 MB.\n"
        "Memory: peak resident size (ru_maxrss) of a fresh process, the median of %d at 10 MB,\n"
        "one at 100 MB: the text pasted, 60 letters typed, the multiplier changed once; for the\n"
        "copy row then Ctrl+A and Ctrl+C in the output box and the clipboard read back as text.\n"
        "MB is 2^20 bytes; 10 MB of text is 10 x 2^20 characters.\n"
        "The window benchmark took %.0f s.\n",
        kKeystrokes, kMultiplierChanges, kScrollSteps, kPastes, kUndos, kPeakRuns,
        double(total.elapsed()) / 1000);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    WindowRun run;
    if (korvane::bench::fromArguments(arguments, &run)) {
        QApplication application(argc, argv);
        return korvane::bench::runWindowScenario(run);
    }
    QString engineResults;
    QString callgrindFolder;
    bool table = true;
    bool floor = false;
    bool known = true;
    for (qsizetype i = 0; i < arguments.size() && known; ++i) {
        const QString& argument = arguments[i];
        const bool valued = i + 1 < arguments.size();
        if (argument == QLatin1String("--engine-results") && valued) {
            engineResults = arguments[++i];
        } else if (argument == QLatin1String("--callgrind") && valued) {
            callgrindFolder = arguments[++i];
        } else if (argument == QLatin1String("--floor")) {
            floor = true;
        } else if (argument == QLatin1String("--floor-only")) {
            floor = true;
            table = false;
        } else {
            known = false;
        }
    }
    if (!known) {
        std::fprintf(stderr,
                     "usage: %s [--engine-results engine.json] [--floor | --floor-only] "
                     "[--callgrind folder]\n",
                     argv[0]);
        return 1;
    }
    QCoreApplication application(argc, argv);
    int status = table ? parent(engineResults) : 0;
    if (floor)
        status = std::max(status, korvane::bench::compareWithFloor(callgrindFolder));
    return status;
}
