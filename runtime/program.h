// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

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
};

// Makes the project's title and version the application's; Start does this first.
void UseProject(const ProjectDescription& project);

// Creates the application, loads the start-up form, shows it and delivers events until the
// program ends. Returns the exit status.
int Start(int& argc, char** argv, const ProjectDescription& project,
          const std::function<std::unique_ptr<Form>()>& loadStartupForm);

// Ends the program at once: every window disappears and no further handler runs.
void End();

}  // namespace korvane::runtime
