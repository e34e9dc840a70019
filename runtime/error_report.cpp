// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/error_report.h"

#include <QCoreApplication>

#include "runtime/message_box.h"

namespace korvane::runtime {

namespace {

QHash<int, QString>& storedExplanations() {
    static QHash<int, QString> explanations;
    return explanations;
}

QString explanationOf(const RunTimeError& error) {
    return error.explanation.isEmpty() ? storedExplanations().value(error.number)
                                       : error.explanation;
}

}  // namespace

QString unhandledErrorText(const RunTimeError& error) {
    return unhandledErrorText(error, explanationOf(error));
}

QString unhandledErrorText(const RunTimeError& error, const QString& explanation) {
    QString text =
        QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number).arg(error.message);
    if (!explanation.isEmpty())
        text += QStringLiteral("\n\n") + explanation;
    return text;
}

void setErrorExplanations(const QHash<int, QString>& explanations) {
    storedExplanations() = explanations;
}

void reportUnhandledError(const RunTimeError& error) noexcept {
    try {
        reportUnhandledError(error, explanationOf(error));
    } catch (...) {
    }
}

void reportUnhandledError(const RunTimeError& error, const QString& explanation) noexcept {
    try {
        showMessageBox({QCoreApplication::applicationName(), unhandledErrorText(error, explanation),
                        MessageBoxIcon::Critical});
    } catch (...) {
        // Not even the report could be shown (memory is exhausted): the program goes on.
    }
}

}  // namespace korvane::runtime
