// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

#include "runtime/form.h"

namespace korvane::runtime {

// What the program tells the runtime about itself.
struct ProjectDescription {
    QString title;  // the application title: message boxes carry it
    QString version;
    // The id of the program's desktop entry: Wayland compositors find the window's icon and
    // name through it. Empty when the program has none.
    QString desktopFileName = {};
    // One line on what the program does, for --help.
    QString summary = {};
    // A sentence per run-time error number on what raised it in this program, which the report
    // of an unhandled error adds below the error's number and message.
    QHash<int, QString> errorExplanations = {};
};

// Makes the project's title and version the application's; Start does this first.
void useProject(const ProjectDescription& project);

// Answers --help and --version, or creates the application, loads the start-up form, shows it
// and delivers events until the program ends. Returns the exit status: 1, after one line on
// standard error, when no window system can be opened.
int start(int& argc, char** argv, const ProjectDescription& project,
          const std::function<std::unique_ptr<Form>()>& loadStartupForm);

// Ends the program at once: every window disappears and no further handler runs.
void end();

}  // namespace korvane::runtime
