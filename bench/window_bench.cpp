// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The real main window, headless: what one user action costs from the key or paste to the
// output box updated and the window repainted, with 10 KB, 1 MB and 10 MB in the input box.
// Two more figures come from fresh child processes of this program, so that nothing measured
// before counts: the time from start to the window shown, and the peak resident size with
// 10 MB of text in the window.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/sample_text.h"
#include "runtime/memory_reuse.h"
#include "window/frm_main.h"

namespace {

using korvane::frmMain;

constexpr qsizetype k10KB = qsizetype(10) << 10;
constexpr qsizetype k1MB = qsizetype(1) << 20;
constexpr qsizetype k10MB = qsizetype(10) << 20;

QPlainTextEdit* Editor(korvane::runtime::TextBox& box) {
    return static_cast<QPlainTextEdit*>(box.widget());
}

// Lets every posted event run: repaints that were asked for, scroll bars being adjusted.
void Settle() {
    QCoreApplication::processEvents();
}

// The window shown, its input box holding `length` characters pasted by the user, the multiplier
// at 3, the caret in the middle of the text.
std::unique_ptr<frmMain> OpenWindow(qsizetype length) {
    auto window = std::make_unique<frmMain>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qFatal("The window was not shown");
    QTest::keyClicks(window->txtMultiply.widget(), QStringLiteral("3"));
    QPlainTextEdit* input = Editor(window->txtOriginal);
    input->setFocus();
    QGuiApplication::clipboard()->setText(korvane::bench::AsciiText(length));
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    QGuiApplication::clipboard()->clear();
    input->document()->clearUndoRedoStacks();
    QTextCursor caret = input->textCursor();
    caret.setPosition(int(length / 2));
    input->setTextCursor(caret);
    window->repaint();
    Settle();
    return window;
}

void Finish(frmMain& window) {
    window.repaint();
    Settle();
}

// Typing a letter and taking it back with Backspace, one keystroke per iteration.
void Keystroke(benchmark::State& state) {
    auto window = OpenWindow(state.range(0));
    QWidget* input = window->txtOriginal.widget();
    bool typeLetter = true;
    for (auto _ : state) {
        if (typeLetter) {
            QTest::keyClick(input, 'e');
        } else {
            QTest::keyClick(input, Qt::Key_Backspace);
        }
        typeLetter = !typeLetter;
        Finish(*window);
    }
}

// The multiplier box selected with Ctrl+A and overtyped, 3 and 5 in turn: every letter changes.
void MultiplierChange(benchmark::State& state) {
    auto window = OpenWindow(state.range(0));
    QWidget* multiplier = window->txtMultiply.widget();
    bool five = true;
    for (auto _ : state) {
        state.PauseTiming();
        QTest::keyClick(multiplier, Qt::Key_A, Qt::ControlModifier);
        state.ResumeTiming();
        QTest::keyClick(multiplier, five ? '5' : '3');
        five = !five;
        Finish(*window);
    }
}

// The scroll bar stepped right and back with the arrow keys: the rotation 1, then 0 again.
void ScrollChange(benchmark::State& state) {
    auto window = OpenWindow(state.range(0));
    QWidget* bar = window->HSRotate.widget();
    bool right = true;
    for (auto _ : state) {
        QTest::keyClick(bar, right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
        Finish(*window);
    }
}

// Ctrl+V of the whole text into the emptied input box.
void Paste(benchmark::State& state) {
    auto window = OpenWindow(0);
    QPlainTextEdit* input = Editor(window->txtOriginal);
    QGuiApplication::clipboard()->setText(korvane::bench::AsciiText(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input, Qt::Key_Delete);
        input->document()->clearUndoRedoStacks();  // or each paste would keep its text
        Finish(*window);
        state.ResumeTiming();
        QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
        Finish(*window);
    }
    QGuiApplication::clipboard()->clear();
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Arg(k10KB)->Arg(k1MB)->Arg(k10MB);
}

BENCHMARK(Keystroke)->Apply(Sizes);
BENCHMARK(MultiplierChange)->Apply(Sizes);
BENCHMARK(ScrollChange)->Apply(Sizes);
BENCHMARK(Paste)->Apply(Sizes);

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child: shows the window, says so on standard output and leaves.
int StartupChild() {
    frmMain window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    return 0;
}

// Child: 10 MB pasted, then a keystroke, a multiplier change and a scroll step; prints the
// peak resident size in KiB.
int PeakMemoryChild() {
    auto window = OpenWindow(k10MB);
    QTest::keyClick(window->txtOriginal.widget(), 'e');
    Finish(*window);
    QTest::keyClick(window->txtMultiply.widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window->txtMultiply.widget(), '5');
    Finish(*window);
    QTest::keyClick(window->HSRotate.widget(), Qt::Key_Right);
    Finish(*window);
    std::printf("%ld\n", PeakResidentKiB());
    std::fflush(stdout);
    return 0;
}

// Runs this program again in the given mode; `elapsedMs` is the time from the start of the
// child to its first output.
QByteArray RunChild(const QString& mode, double* elapsedMs) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    if (!child.waitForReadyRead(60000))
        qFatal("The child process said nothing");
    *elapsedMs = double(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(60000);
    return child.readAll().trimmed();
}

void ReportChildFigures() {
    constexpr int kRuns = 11;
    std::vector<double> startup;
    for (int run = 0; run < kRuns; ++run) {
        double elapsedMs = 0;
        RunChild(QStringLiteral("--startup-child"), &elapsedMs);
        startup.push_back(elapsedMs);
    }
    std::sort(startup.begin(), startup.end());
    double unused = 0;
    const long peakKiB = RunChild(QStringLiteral("--peak-memory-child"), &unused).toLong();
    std::printf("\nstart-up to window shown: median %.1f ms of %d runs (min %.1f, max %.1f)\n",
                startup[kRuns / 2], kRuns, startup.front(), startup.back());
    std::printf("peak resident size with 10 MB in the input box: %.1f MiB\n", peakKiB / 1024.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    korvane::runtime::ReuseLargeBlocks();  // as the program's start does
    QApplication application(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--startup-child") == 0)
        return StartupChild();
    if (argc == 2 && std::strcmp(argv[1], "--peak-memory-child") == 0)
        return PeakMemoryChild();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportChildFigures();
    return 0;
}
