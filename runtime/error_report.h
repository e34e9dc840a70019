// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QString>

#include "runtime/run_time_error.h"

namespace korvane::runtime {

// How the report of an unhandled error words it: "Run-time error '6':", a blank line, "Overflow",
// and below another blank line the error's own explanation or else the program's explanation of
// that error number, if it has one.
QString unhandledErrorText(const RunTimeError& error);
// The same with an explanation of its own in place of the program's, for an error whose cause
// is known where it is reported (what a box refused for want of memory).
QString unhandledErrorText(const RunTimeError& error, const QString& explanation);

// The program's explanations, one sentence per error number, for the reports that follow. The
// runtime cannot know what raised an error in a given program: the program tells it.
void setErrorExplanations(const QHash<int, QString>& explanations);

// The report of a run-time error that no handler caught: a modal box titled with the application
// title that names the error's number and message. The program goes on afterwards.
void reportUnhandledError(const RunTimeError& error) noexcept;
void reportUnhandledError(const RunTimeError& error, const QString& explanation) noexcept;

}  // namespace korvane::runtime
