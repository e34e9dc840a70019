// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace korvane::bench {

// What one child process of the window benchmark does with its window, driven by key events sent
// to the focused widget. The floor program, the same window in stock Qt widgets, knows Startup
// and the two clipboard pastes.
enum class WindowScenario {
    Startup,     // shows the window and says "shown", then the peak
    Keystroke,   // text pasted, then letters typed one at a time in its middle, each timed
    Multiplier,  // text pasted, then the multiplier overtyped with 5 and 3 in turn, each timed
    Scroll,      // text pasted, then the scroll bar stepped right and left in turn, each timed
    Paste,       // the input emptied and the text pasted with Ctrl+V, each paste timed
    Memory,      // text pasted, 60 letters typed, the multiplier changed once; then the peak
    Copy,        // as Memory, then the whole output copied from the output box; then the peak
    Undo,        // text pasted into the empty input, then that paste undone with Ctrl+Z, timed
    // The window as it starts (the multiplier box empty), then one Ctrl+V of the text another
    // program offers on the clipboard, timed; then the peak.
    ClipboardPaste,
    // The same with 3 typed into the multiplier box first.
    ClipboardPasteMultiplied,
};

struct WindowRun {
    WindowScenario scenario = WindowScenario::Startup;
    qsizetype textLength = 0;  // characters pasted into the input box
    qsizetype lineLength = 0;  // a line break once a line has passed this many characters
    int repetitions = 1;       // timed actions, for the timed scenarios
};

// The command-line form of a run, for a child process, and back; false for anything else.
QStringList toArguments(const WindowRun& run);
bool fromArguments(const QStringList& arguments, WindowRun* run);

}  // namespace korvane::bench
