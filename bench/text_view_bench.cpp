// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The read-only text view alone, headless, with a 10 MB text: replacing the whole text, a small
// edit in its middle, a repaint, select all and copy, a selection of it all extended from the
// keyboard, a 5 MB line scrolled and edited, and word steps in a line of 1 MB.
// QPlainTextEdit's setPlainText with the same text is measured alongside for comparison.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "bench/sample_text.h"
#include "text/model/line_index.h"
#include "text/view/text_view.h"

namespace {

using korvane::text::TextView;

constexpr qsizetype k10MB = qsizetype(10) << 20;
constexpr qsizetype k5MB = qsizetype(5) << 20;

// Prose of `length` characters with a line break every `lineLength` characters.
QString textWithLines(qsizetype length, qsizetype lineLength) {
    QString text = korvane::bench::asciiText(length);
    text.replace(u'\n', u' ');
    for (qsizetype at = lineLength; at < text.size(); at += lineLength + 1)
        text[at] = u'\n';
    return text;
}

// An own copy, shared with nothing, so that the first edit does not copy it.
QString unshared(const QString& text) {
    return QString(text.constData(), text.size());
}

std::unique_ptr<TextView> shownView(const QString& text) {
    auto view = std::make_unique<TextView>();
    view->resize(480, 150);  // about the output box at the window's first size
    view->setText(unshared(text));
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        qFatal("The view was not shown");
    view->repaint();
    return view;
}

void lineIndexBuild(benchmark::State& state) {
    const QString text = textWithLines(k10MB, state.range(0));
    korvane::text::LineIndex index;
    for (auto _ : state) {
        index.build(text);
        benchmark::DoNotOptimize(index.lineCount());
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(lineIndexBuild)->Arg(70)->Arg(1000)->Unit(benchmark::kMillisecond);

void setText(benchmark::State& state) {
    const QString text = textWithLines(k10MB, state.range(0));
    const auto view = shownView(QString());
    for (auto _ : state) {
        view->setText(text);  // shares the string: what is measured is the view's own work
        QCoreApplication::processEvents();
    }
}
BENCHMARK(setText)->Arg(70)->Arg(1000)->Unit(benchmark::kMillisecond);

void plainTextEditSetPlainText(benchmark::State& state) {
    const QString text = textWithLines(k10MB, state.range(0));
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setReadOnly(true);
    for (auto _ : state) {
        edit.setPlainText(text);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(plainTextEditSetPlainText)->Arg(70)->Unit(benchmark::kMillisecond)->Iterations(3);

// A few characters replaced, alternately longer and shorter, so the text keeps its size: in the
// middle of the text (argument 0), where the gap buffer's gap stays at the edit, and 10
// characters from its end (argument 1), the view's own cost with nothing in between.
void replace(benchmark::State& state) {
    const auto view = shownView(textWithLines(k10MB, 70));
    const qsizetype at = state.range(0) == 0 ? view->editor().document().length() / 2
                                             : view->editor().document().length() - 10;
    bool longer = true;
    for (auto _ : state) {
        if (longer)
            view->editor().document().replace(at, 3, u"abcde\nf");
        else
            view->editor().document().replace(at, 7, u"xyz");
        longer = !longer;
    }
}
BENCHMARK(replace)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A repaint of the whole view; the page shown changes every time so nothing laid out before
// is reused, or stays, for a caret blink.
void repaint(benchmark::State& state) {
    const bool freshPage = state.range(0) != 0;
    const auto view = shownView(textWithLines(k10MB, 70));
    int page = 0;
    for (auto _ : state) {
        if (freshPage)
            view->verticalScrollBar()->setValue((page = (page + 7919) % 140000));
        view->viewport()->repaint();
    }
}
BENCHMARK(repaint)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void selectAllAndCopy(benchmark::State& state) {
    const auto view = shownView(textWithLines(k10MB, 70));
    for (auto _ : state) {
        view->editor().setCursorPosition(0);
        view->editor().selectAll();
        view->editor().copy();
    }
    QGuiApplication::clipboard()->clear();
}
BENCHMARK(selectAllAndCopy)->Unit(benchmark::kMillisecond);

// With the whole 10 MB selected, Shift+Up and Shift+Down in turn: where the platform has a
// primary selection (run it under X11), each extends the selection the user offers there.
void extendSelection(benchmark::State& state) {
    const auto view = shownView(textWithLines(k10MB, 70));
    view->editor().setSelection(0, view->editor().document().length());
    bool up = true;
    for (auto _ : state) {
        QTest::keyClick(view.get(), up ? Qt::Key_Up : Qt::Key_Down, Qt::ShiftModifier);
        up = !up;
    }
    QGuiApplication::clipboard()->clear(QClipboard::Selection);
}
BENCHMARK(extendSelection)->Unit(benchmark::kMicrosecond);

// One line of 5 MB: scrolled sideways to a new place and repainted.
void longLineScroll(benchmark::State& state) {
    const auto view = shownView(QString(korvane::bench::asciiText(k5MB)).replace(u'\n', u' '));
    QScrollBar* bar = view->horizontalScrollBar();
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 64;
        // Small steps as the arrows or the wheel make, and a far jump now and then.
        bar->setValue(step == 0 ? (bar->value() + bar->maximum() / 3) % bar->maximum()
                                : bar->value() + 40);
        view->viewport()->repaint();
    }
}
BENCHMARK(longLineScroll)->Unit(benchmark::kMicrosecond);

// One line of 5 MB: a character typed in its middle where the view shows it, and repainted.
void longLineEdit(benchmark::State& state) {
    const auto view = shownView(QString(korvane::bench::asciiText(k5MB)).replace(u'\n', u' '));
    const qsizetype middle = view->editor().document().length() / 2;
    view->editor().setCursorPosition(middle);
    view->ensureVisible(middle);
    bool insert = true;
    for (auto _ : state) {
        if (insert)
            view->editor().document().replace(middle, 0, u"x");
        else
            view->editor().document().replace(middle, 1, QStringView());
        insert = !insert;
        view->viewport()->repaint();
    }
}
BENCHMARK(longLineEdit)->Unit(benchmark::kMicrosecond);

// One line of 1 MB: the caret steps a word on with Ctrl+Right and back with Ctrl+Left in its
// middle, the key alone (argument 0) and with the repaint it asks for (argument 1).
void longLineWordStep(benchmark::State& state) {
    const QString line =
        QString(korvane::bench::asciiText(qsizetype(1) << 20)).replace(u'\n', u' ');
    const auto view = shownView(line);
    const qsizetype start = line.indexOf(u' ', line.size() / 2) + 1;
    view->editor().setCursorPosition(start);
    view->ensureVisible(start);
    view->repaint();
    bool on = true;
    for (auto _ : state) {
        QTest::keyClick(view.get(), on ? Qt::Key_Right : Qt::Key_Left, Qt::ControlModifier);
        on = !on;
        if (state.range(0) != 0)
            view->viewport()->repaint();
    }
    // Each step went over one word of prose, on or back.
    if (std::abs(view->editor().cursorPosition() - start) > 32)
        state.SkipWithError("the word steps went further than a word");
}
BENCHMARK(longLineWordStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
