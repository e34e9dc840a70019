// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "floor_comparison.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <optional>
#include <vector>

#include "bench/sample_text.h"
#include "child_process.h"
#include "window_run.h"

namespace korvane::bench {
namespace {

constexpr qsizetype k10MB = qsizetype(10) << 20;
constexpr qsizetype kLineShapes[] = {1000, 70};
// Korvane and the floor alternate, this many runs each, for every figure.
constexpr int kRuns = 5;
constexpr int kTimeoutSeconds = 180;
// Under callgrind a paste of 10 MB takes minutes.
constexpr int kCallgrindTimeoutSeconds = 900;
constexpr qint64 kResidentLimitMiB = 8192;
constexpr int kOfferWaitMs = 30000;

// Another program offering a file's text on the X clipboard, as when the user copied it there:
// xclip, which serves every reader until it is stopped or something else takes the clipboard.
class ClipboardOffer {
public:
    ClipboardOffer() = default;
    ClipboardOffer(const ClipboardOffer&) = delete;
    ClipboardOffer& operator=(const ClipboardOffer&) = delete;
    ~ClipboardOffer() {
        xclip_.kill();
        xclip_.waitForFinished();
    }

    // Offers the file's text and waits until the clipboard offers it as UTF-8 text; false when
    // it never does.
    bool offer(const QString& path) {
        xclip_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        xclip_.setStandardOutputFile(QProcess::nullDevice());
        xclip_.start(QStringLiteral("xclip"),
                     {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                      QStringLiteral("clipboard"), QStringLiteral("-i"), path});
        if (!xclip_.waitForStarted())
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kOfferWaitMs && xclip_.state() == QProcess::Running) {
            QProcess targets;
            targets.start(
                QStringLiteral("xclip"),
                {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                 QStringLiteral("-t"), QStringLiteral("TARGETS")});
            if (targets.waitForFinished() &&
                targets.readAllStandardOutput().contains("UTF8_STRING"))
                return true;
            QThread::msleep(200);
        }
        return false;
    }

private:
    QProcess xclip_;
};

QString floorProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/korvane_floor_window");
}

// The figures of several runs of one side put together; the first failure stands for all.
void gather(ChildReport& all, const ChildReport& one) {
    if (all.failure.isEmpty())
        all.failure = one.failure;
    for (auto figure = one.figures.begin(); figure != one.figures.end(); ++figure)
        all.figures[figure.key()].append(figure.value());
    all.figures[QStringLiteral("first_output_ms")].append(one.firstOutputMs);
}

struct Sides {
    ChildReport korvane;
    ChildReport floor;
};

// The run in Korvane's window and in the floor's, in turn, kRuns times each.
Sides alternate(const WindowRun& run) {
    Sides sides;
    const QStringList arguments = toArguments(run);
    for (int i = 0; i < kRuns; ++i) {
        std::fprintf(stderr, "floor comparison: %s, run %d\n",
                     qPrintable(arguments.mid(1).join(u' ')), i + 1);
        gather(sides.korvane, runChild(arguments, kTimeoutSeconds, kResidentLimitMiB));
        gather(sides.floor,
               runChild(floorProgram(), arguments, kTimeoutSeconds, kResidentLimitMiB));
    }
    return sides;
}

// The instructions callgrind counted inside the paste (its "totals" line), or nothing.
std::optional<double> countedInstructions(const QString& profile) {
    QFile file(profile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("totals:") || line.startsWith("summary:")) {
            bool number = false;
            const double count = line.mid(line.indexOf(':') + 1).trimmed().toDouble(&number);
            if (number)
                return count;
        }
    }
    return std::nullopt;
}

// The paste run once under callgrind, which collects only inside pasteFromClipboard(); its
// profile is left as <folder>/<name>.callgrind.
std::optional<double> instructionsOfPaste(const QString& program, const WindowRun& run,
                                          const QString& folder, const QString& name) {
    const QString profile = folder + u'/' + name + QStringLiteral(".callgrind");
    QFile::remove(profile);
    const QStringList arguments =
        QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--collect-atstart=no"),
                    QStringLiteral("--toggle-collect=*pasteFromClipboard*"),
                    QStringLiteral("--callgrind-out-file=") + profile, program} +
        toArguments(run);
    std::fprintf(stderr, "floor comparison: callgrind, %s\n", qPrintable(name));
    const ChildReport report = runChild(QStringLiteral("valgrind"), arguments,
                                        kCallgrindTimeoutSeconds, kResidentLimitMiB);
    if (!report.failure.isEmpty())
        return std::nullopt;
    return countedInstructions(profile);
}

std::optional<double> medianOf(const ChildReport& report, const char* figure) {
    const QList<double> values = report.figures.value(QString::fromLatin1(figure));
    if (!report.failure.isEmpty() || values.isEmpty())
        return std::nullopt;
    return median(values);
}

struct Row {
    QString figure;
    std::optional<double> korvane;
    std::optional<double> floor;
    QString unit;  // "ms", "MB" (the value in KiB) or "M" (millions)
};

QString formatted(std::optional<double> value, const QString& unit) {
    if (!value)
        return QStringLiteral("no figure");
    if (unit == QLatin1String("MB"))
        return QString::number(*value / 1024, 'f', 0) + QStringLiteral(" MB");
    if (unit == QLatin1String("M"))
        return QString::number(*value / 1e6, 'f', 1) + QStringLiteral(" M");
    return QString::number(*value, 'f', *value < 10 ? 1 : 0) + QStringLiteral(" ms");
}

QString ratio(const Row& row) {
    if (!row.korvane || !row.floor || *row.floor <= 0)
        return QStringLiteral("—");
    return QString::number(*row.korvane / *row.floor, 'f', 2) + QStringLiteral("×");
}

QString shapeName(qsizetype lineLength) {
    return QStringLiteral("%1-char lines").arg(lineLength);
}

}  // namespace

int compareWithFloor(const QString& callgrindFolder) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "The comparison with the floor program needs an X display\n");
        return 1;
    }
    // The children show real X windows, whatever platform the other scenarios used.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    if (!callgrindFolder.isEmpty())
        QDir().mkpath(callgrindFolder);
    std::vector<Row> rows;
    for (const qsizetype lineLength : kLineShapes) {
        const QString path = scratch.filePath(QStringLiteral("text-%1.txt").arg(lineLength));
        QFile text(path);
        if (!text.open(QIODevice::WriteOnly) ||
            text.write(asciiText(k10MB, lineLength).toUtf8()) < 0)
            return 1;
        text.close();
        ClipboardOffer offer;
        if (!offer.offer(path)) {
            std::fprintf(stderr, "xclip did not offer the text on the clipboard\n");
            return 1;
        }
        for (const WindowScenario scenario :
             {WindowScenario::ClipboardPaste, WindowScenario::ClipboardPasteMultiplied}) {
            const WindowRun run{scenario, k10MB, lineLength, 1};
            const Sides sides = alternate(run);
            const QString shape = shapeName(lineLength);
            const QString state = scenario == WindowScenario::ClipboardPaste
                                      ? QStringLiteral("the window as it starts")
                                      : QStringLiteral("a multiplier typed first");
            rows.push_back({QStringLiteral("CPU of the paste, %1, %2").arg(shape, state),
                            medianOf(sides.korvane, "paste_cpu_ms"),
                            medianOf(sides.floor, "paste_cpu_ms"), QStringLiteral("ms")});
            rows.push_back({QStringLiteral("wall time of the paste, %1, %2").arg(shape, state),
                            medianOf(sides.korvane, "paste_ms"), medianOf(sides.floor, "paste_ms"),
                            QStringLiteral("ms")});
            rows.push_back({QStringLiteral("peak resident memory, %1, %2").arg(shape, state),
                            medianOf(sides.korvane, "peak_kib"), medianOf(sides.floor, "peak_kib"),
                            QStringLiteral("MB")});
            if (!callgrindFolder.isEmpty()) {
                const QString name = toArguments(run)[1] + u'-' + QString::number(lineLength);
                rows.push_back(
                    {QStringLiteral("instructions of the paste (callgrind), %1, %2")
                         .arg(shape, state),
                     instructionsOfPaste(QCoreApplication::applicationFilePath(), run,
                                         callgrindFolder, QStringLiteral("korvane-") + name),
                     instructionsOfPaste(floorProgram(), run, callgrindFolder,
                                         QStringLiteral("floor-") + name),
                     QStringLiteral("M")});
            }
        }
    }
    const Sides startup = alternate({WindowScenario::Startup, 0, 0, 1});
    rows.push_back({QStringLiteral("start-up, wall time to the window shown"),
                    medianOf(startup.korvane, "first_output_ms"),
                    medianOf(startup.floor, "first_output_ms"), QStringLiteral("ms")});
    rows.push_back({QStringLiteral("peak resident memory at start-up"),
                    medianOf(startup.korvane, "peak_kib"), medianOf(startup.floor, "peak_kib"),
                    QStringLiteral("MB")});

    std::printf(
        "\nKorvane against the floor program (stock Qt widgets that only read the "
        "clipboard), in a real X window, display %s\n\n",
        qPrintable(qEnvironmentVariable("DISPLAY")));
    std::printf("| figure | Korvane | floor | Korvane/floor |\n|---|---|---|---|\n");
    for (const Row& row : rows) {
        std::printf("| %s | %s | %s | %s |\n", qPrintable(row.figure),
                    qPrintable(formatted(row.korvane, row.unit)),
                    qPrintable(formatted(row.floor, row.unit)), qPrintable(ratio(row)));
    }
    std::printf(
        "\n10 MB (10 x 2^20 characters) of ASCII text offered on the X clipboard by xclip and\n"
        "pasted with Ctrl+V into the input box of a fresh process; times from the key until the\n"
        "window has handled every event it caused and repainted, with the process's CPU time\n"
        "over the same span; peak resident size (ru_maxrss) after the paste. Medians of %d runs\n"
        "of each program, in turn.%s\n",
        kRuns,
        callgrindFolder.isEmpty()
            ? ""
            : qPrintable(QStringLiteral(" Instructions: one run under callgrind each, collected "
                                        "inside the paste only;\nprofiles in %1 "
                                        "(callgrind_annotate --inclusive=yes <profile>).")
                             .arg(callgrindFolder)));
    std::fflush(stdout);
    return 0;
}

}  // namespace korvane::bench
