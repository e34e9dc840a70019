// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace korvane::bench {

// What a child process of the benchmark reported, or why it gave nothing.
struct ChildReport {
    // Empty when the child exited with status 0; otherwise what went wrong, for the table.
    QString failure;
    // Its "name value" lines, each name with its values in the order written.
    QMap<QString, QList<double>> figures;
    // From the start of the child to its first line of output, in ms.
    double firstOutputMs = 0;
};

// Runs the program with the arguments and reads what it writes. A child still running after
// `timeoutSeconds`, or whose resident size passes `residentLimitMiB`, is killed.
ChildReport runChild(const QString& program, const QStringList& arguments, int timeoutSeconds,
                     qint64 residentLimitMiB);
// The same with this very program.
ChildReport runChild(const QStringList& arguments, int timeoutSeconds, qint64 residentLimitMiB);

// The middle value of the sorted values (the mean of the two middle ones for an even count).
double median(QList<double> values);

}  // namespace korvane::bench
