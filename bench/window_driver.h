// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>

#include "window_run.h"

namespace korvane::bench {

// Drives a window from inside a child process of the window benchmark as the keyboard would, and
// writes what it measures to standard output, one "name value" line each: times in ms, sizes in
// KiB. Korvane's window and the floor program's use the same driver, so that their figures
// compare.

// How long an action took until the window was repainted: wall time, and the CPU time of this
// process, which other work on a shared machine does not stretch.
struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double processCpuMs();
// The peak resident size of this process so far (ru_maxrss).
long peakResidentKiB();

// Every posted event handled, the window's pending repaints among them: what the user sees is
// up to date, repainted where the action changed it, as the event loop repaints after a key.
void finishEvents();

template <typename Action>
Timing timeAction(Action action) {
    QElapsedTimer timer;
    const double cpuStart = processCpuMs();
    timer.start();
    action();
    finishEvents();
    return {double(timer.nsecsElapsed()) / 1e6, processCpuMs() - cpuStart};
}

void print(const char* figure, double value);
// Writes "<figure>_ms <wall>" and "<figure>_cpu_ms <cpu>".
void print(const char* figure, const Timing& timing);

// Shows the window and waits until it is exposed and active; ends the process when it is not.
void showActivated(QWidget& window);
// Gives the widget the keyboard focus and checks that it, or a widget inside it, took it.
void focusOn(QWidget* widget);
// A key pressed and released on whatever widget has the focus, as the keyboard would.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void type(char character);

// Ctrl+V on the focused widget and every event it caused handled, its repaints among them. Never
// inlined: the instruction counts of the paste are collected inside this function alone
// (callgrind's --toggle-collect names it).
Timing pasteFromClipboard();

// The window a clipboard paste is measured in: the box pasted into, the multiplier box, and how
// many characters the window took in.
struct PasteWindow {
    QWidget* window = nullptr;
    QWidget* input = nullptr;
    QWidget* multiplier = nullptr;
    std::function<qsizetype()> pastedLength;
};

// The Startup scenario: "shown" once the window is exposed and active, then its peak.
int runStartup(QWidget& window);
// The clipboard pastes: the window shown, 3 typed into its multiplier box first for
// ClipboardPasteMultiplied, then one Ctrl+V into the input, timed as "paste", then the peak as
// "peak_kib". Returns 2 when the window did not take in the whole text.
int runClipboardPaste(const WindowRun& run, const PasteWindow& window);

}  // namespace korvane::bench
