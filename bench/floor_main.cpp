// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The floor program of the window benchmark (floor_window.h): it runs the window benchmark's
// start-up and clipboard-paste scenarios with the same driver as Korvane's window.
#include <QApplication>
#include <cstdio>

#include "floor_window.h"
#include "window_driver.h"

int main(int argc, char** argv) {
    using korvane::bench::WindowScenario;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    korvane::bench::WindowRun run;
    if (!korvane::bench::fromArguments(arguments, &run)) {
        std::fprintf(stderr, "usage: %s --scenario <scenario> <length> <line length> <runs>\n",
                     argv[0]);
        return 1;
    }
    QApplication application(argc, argv);
    korvane::bench::FloorWindow window;
    switch (run.scenario) {
        case WindowScenario::Startup:
            return korvane::bench::runStartup(window);
        case WindowScenario::ClipboardPaste:
        case WindowScenario::ClipboardPasteMultiplied:
            return korvane::bench::runClipboardPaste(
                run, {&window, window.input(), window.multiplier(),
                      [&window] { return window.pasted().size(); }});
        default:
            std::fprintf(stderr, "The floor program has no such scenario\n");
            return 1;
    }
}
