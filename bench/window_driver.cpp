// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window_driver.h"

#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QTest>
#include <cstdio>

namespace korvane::bench {
namespace {

// A window under valgrind takes far longer to come up than Qt's default wait.
constexpr int kWindowWaitMs = 60000;

}  // namespace

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void finishEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void print(const char* figure, double value) {
    std::printf("%s %.3f\n", figure, value);
    std::fflush(stdout);
}

void print(const char* figure, const Timing& timing) {
    std::printf("%s_ms %.3f\n%s_cpu_ms %.3f\n", figure, timing.wallMs, figure, timing.cpuMs);
    std::fflush(stdout);
}

void showActivated(QWidget& window) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window, kWindowWaitMs))
        qFatal("The window was not shown and activated");
}

void focusOn(QWidget* widget) {
    widget->setFocus(Qt::OtherFocusReason);
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || (focus != widget && !widget->isAncestorOf(focus)))
        qFatal("%s did not take the keyboard focus", widget->metaObject()->className());
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void type(char character) {
    QTest::keyClick(QApplication::focusWidget(), character);
}

[[gnu::noinline]] Timing pasteFromClipboard() {
    return timeAction([] { press(Qt::Key_V, Qt::ControlModifier); });
}

int runStartup(QWidget& window) {
    showActivated(window);
    std::fputs("shown\n", stdout);
    print("peak_kib", double(peakResidentKiB()));
    return 0;
}

int runClipboardPaste(const WindowRun& run, const PasteWindow& window) {
    showActivated(*window.window);
    if (run.scenario == WindowScenario::ClipboardPasteMultiplied) {
        focusOn(window.multiplier);
        type('3');
    }
    focusOn(window.input);
    finishEvents();
    print("paste", pasteFromClipboard());
    print("peak_kib", double(peakResidentKiB()));
    if (window.pastedLength() == run.textLength)
        return 0;
    std::fprintf(stderr, "The window took in %lld characters of the %lld on the clipboard\n",
                 static_cast<long long>(window.pastedLength()),
                 static_cast<long long>(run.textLength));
    return 2;
}

}  // namespace korvane::bench
