// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "child_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>

namespace korvane::bench {
namespace {

// The child's current resident size from /proc, in KiB; 0 when it cannot be read.
qint64 residentKiB(qint64 processId) {
    QFile status(QStringLiteral("/proc/%1/status").arg(processId));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

}  // namespace

ChildReport runChild(const QStringList& arguments, int timeoutSeconds, qint64 residentLimitMiB) {
    return runChild(QCoreApplication::applicationFilePath(), arguments, timeoutSeconds,
                    residentLimitMiB);
}

ChildReport runChild(const QString& program, const QStringList& arguments, int timeoutSeconds,
                     qint64 residentLimitMiB) {
    ChildReport report;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
    if (!child.waitForStarted()) {
        report.failure = QStringLiteral("did not start");
        return report;
    }
    bool sawOutput = false;
    while (child.state() != QProcess::NotRunning) {
        if (!sawOutput) {
            // Returns as soon as output arrives, so the start-up time is exact.
            if (child.waitForReadyRead(100)) {
                report.firstOutputMs = double(timer.nsecsElapsed()) / 1e6;
                sawOutput = true;
            }
        } else {
            child.waitForFinished(200);
        }
        if (child.state() == QProcess::NotRunning)
            break;
        if (timer.elapsed() > qint64(timeoutSeconds) * 1000) {
            report.failure = QStringLiteral("did not finish in %1 s").arg(timeoutSeconds);
        } else if (residentKiB(child.processId()) > residentLimitMiB * 1024) {
            report.failure = QStringLiteral("stopped above %1 MB resident").arg(residentLimitMiB);
        }
        if (!report.failure.isEmpty()) {
            child.kill();
            child.waitForFinished();
            return report;
        }
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        bool number = false;
        const double value = fields.value(1).toDouble(&number);
        if (fields.size() == 2 && number)
            report.figures[QString::fromLatin1(fields[0])].append(value);
    }
    if (child.exitStatus() != QProcess::NormalExit) {
        report.failure = QStringLiteral("crashed");
    } else if (child.exitCode() == 2) {
        report.failure = QStringLiteral("wrong output");
    } else if (child.exitCode() != 0) {
        report.failure = QStringLiteral("exited with status %1").arg(child.exitCode());
    }
    return report;
}

double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace korvane::bench
