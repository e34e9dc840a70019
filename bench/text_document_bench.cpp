// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The text document alone, without a view: a character and a line break typed in the middle of
// a text of 10 MB and of 100 MB, in lines of 70 characters. What a keystroke costs must not grow
// with the text.
#include <benchmark/benchmark.h>

#include <QString>

#include "bench/sample_text.h"
#include "text/model/text_document.h"

namespace {

using korvane::text::TextDocument;

// Prose of `megabytes` MB with a line break after every 70 characters.
QString textWithLines(qsizetype megabytes) {
    QString text = korvane::bench::asciiText(megabytes << 20);
    text.replace(u'\n', u' ');
    for (qsizetype at = 70; at < text.size(); at += 71)
        text[at] = u'\n';
    return text;
}

// A document holding the text, with no undo history, so that only the edit itself is measured.
void fill(TextDocument& document, qsizetype megabytes) {
    document.setUndoRedoEnabled(false);
    document.replace(0, 0, textWithLines(megabytes));
}

// Typing in the middle of the text: each character goes just after the one before.
void typeCharacter(benchmark::State& state) {
    TextDocument document;
    fill(document, state.range(0));
    qsizetype at = document.length() / 2;
    for (auto _ : state) {
        document.replace(at++, 0, u"x", TextDocument::EditKind::Typing);
        benchmark::DoNotOptimize(document.lineCount());
    }
}
BENCHMARK(typeCharacter)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// Line breaks typed in the middle of the text, each just after the one before: a new line each
// time, whose start goes into the index.
void typeLineBreak(benchmark::State& state) {
    TextDocument document;
    fill(document, state.range(0));
    qsizetype at = document.length() / 2;
    for (auto _ : state) {
        document.replace(at++, 0, u"\n", TextDocument::EditKind::Typing);
        benchmark::DoNotOptimize(document.lineCount());
    }
}
BENCHMARK(typeLineBreak)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// A line break typed and taken away again by Backspace, in the middle of the text.
void typeAndDeleteLineBreak(benchmark::State& state) {
    TextDocument document;
    fill(document, state.range(0));
    const qsizetype at = document.length() / 2;
    for (auto _ : state) {
        document.replace(at, 0, u"\n", TextDocument::EditKind::Typing);
        document.replace(at, 1, QStringView(), TextDocument::EditKind::Deleting);
        benchmark::DoNotOptimize(document.lineCount());
    }
}
BENCHMARK(typeAndDeleteLineBreak)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
