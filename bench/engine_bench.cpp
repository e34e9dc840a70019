// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Throughput of the letter transform against a plain copy of the same text, for ASCII and
// mixed-script texts from 1 KB to 10 MB. After the runs a table gives the medians and the
// ratios the engine is judged by. Then the letter counts of a 10 MB text, alone and with the
// counts of its letter triples, counted whole, and kept by one keystroke with the likely reading
// worked out again by single letters alone, as the window's hint does past 2000 letters; and one
// keystroke in enciphered prose of 10, 100 and 2000 letters as the hint takes it: letters and
// triples kept by the span, the whole words read afresh, the readings ranked by triples and words.
#include <benchmark/benchmark.h>

#include <QString>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "bench/sample_text.h"
#include "cipher/letter_counts.h"
#include "cipher/likely_key.h"
#include "cipher/transform.h"

namespace {

constexpr qint16 kRotation = 13;
constexpr qint16 kMultiplier = 3;

const QString& sampleOf(bool mixed, qsizetype length) {
    static std::map<std::pair<bool, qsizetype>, QString> cache;
    QString& text = cache[{mixed, length}];
    if (text.isEmpty())
        text = mixed ? korvane::bench::mixedText(length) : korvane::bench::asciiText(length);
    return text;
}

void count(benchmark::State& state, qsizetype length) {
    state.SetItemsProcessed(state.iterations() * length);
    state.SetBytesProcessed(state.iterations() * length * qsizetype(sizeof(char16_t)));
}

// What a transform can at best cost: a new string of the same length, filled by memcpy.
void copy(benchmark::State& state, bool mixed) {
    const QString& text = sampleOf(mixed, state.range(0));
    for (auto _ : state) {
        QString copy(text.size(), Qt::Uninitialized);
        std::memcpy(copy.data(), text.constData(), size_t(text.size()) * sizeof(char16_t));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    count(state, text.size());
}

void transform(benchmark::State& state, bool mixed) {
    const QString& text = sampleOf(mixed, state.range(0));
    for (auto _ : state) {
        std::optional<QString> result =
            korvane::cipher::TransformText(text, kRotation, kMultiplier);
        benchmark::DoNotOptimize(result->data());
        benchmark::ClobberMemory();
    }
    count(state, text.size());
}

void sizes(benchmark::internal::Benchmark* b) {
    for (qsizetype size :
         {qsizetype(1) << 10, qsizetype(1) << 16, qsizetype(1) << 20, qsizetype(10) << 20})
        b->Arg(size);
}

BENCHMARK_CAPTURE(copy, ascii, false)->Apply(sizes);
BENCHMARK_CAPTURE(transform, ascii, false)->Apply(sizes);
BENCHMARK_CAPTURE(copy, mixed, true)->Apply(sizes);
BENCHMARK_CAPTURE(transform, mixed, true)->Apply(sizes);

// Counting every letter of a text afresh, as when a whole text is pasted.
void recount(benchmark::State& state, bool mixed) {
    const QString& text = sampleOf(mixed, state.range(0));
    for (auto _ : state) {
        korvane::cipher::LetterCounts counts;
        counts.add(text);
        benchmark::DoNotOptimize(counts);
    }
    count(state, text.size());
}

// The same with the letter triples counted as well, which the window's hint does only while the
// text holds at most 2000 letters.
void recountTriples(benchmark::State& state, bool mixed) {
    const QString& text = sampleOf(mixed, state.range(0));
    for (auto _ : state) {
        korvane::cipher::LetterCounts counts;
        counts.add(text);
        korvane::cipher::TripleCounts triples;
        triples.add(korvane::cipher::spanWithEdges(text, 0, text.size()));
        benchmark::DoNotOptimize(counts);
        benchmark::DoNotOptimize(triples);
    }
    count(state, text.size());
}

// One keystroke in a counted text: the character it replaces, none every other time, leaves
// the counts, the typed one joins them, the readings' single-letter scores follow the letters
// that changed, and the likely reading is ranked again by them.
void keystroke(benchmark::State& state, bool mixed) {
    const QString& text = sampleOf(mixed, state.range(0));
    korvane::cipher::LetterCounts counts;
    counts.add(text);
    korvane::cipher::LetterScores scores;
    scores.follow(counts);
    const QString typed = QStringLiteral("e");
    qsizetype position = text.size() / 2;
    bool replaces = false;
    for (auto _ : state) {
        counts.remove(QStringView(text).mid(position, replaces ? 1 : 0));
        counts.add(typed);
        scores.follow(counts);
        benchmark::DoNotOptimize(korvane::cipher::sureReading(scores.rank()));
        replaces = !replaces;
        position = (position + 7919) % text.size();
    }
}

// English prose enciphered with rotation 5 and multiplier 3, cut after `letters` letters.
QString encipheredProse(qsizetype letters) {
    const QString prose = QStringLiteral(
        "The old mill stands at the bend of the river, where the water slows and widens before "
        "it runs on towards the sea. Nobody has ground corn there for forty years, but the wheel "
        "is still in place, green with moss, and on a wet evening you can hear the river pulling "
        "at it as if it wanted to turn it one more time. ");
    QString text;
    for (qsizetype counted = 0, i = 0; counted < letters; ++i) {
        const QChar character = prose[i % prose.size()];
        counted += character.isLetter();
        text += character;
    }
    return korvane::cipher::TransformText(text, 5, 3).value();
}

// One keystroke as the window's hint takes it in a text of state.range(0) letters: the span it
// replaces (a letter every other time, nothing the others) leaves the letters and the triples,
// with two characters of context either side, the typed letter joins them with its context, the
// whole words are read again from the text, and the readings are ranked by triples and words.
// The text itself stays as it is, so the typed letter's context is read from a copy beside it.
void keystrokeReading(benchmark::State& state) {
    const QString text = encipheredProse(state.range(0));
    korvane::cipher::LetterCounts counts;
    counts.add(text);
    korvane::cipher::TripleCounts triples;
    triples.add(korvane::cipher::spanWithEdges(text, 0, text.size()));
    korvane::cipher::LetterScores scores;
    const bool worded = text.size() <= 1000;
    qsizetype position = text.size() / 2;
    bool replaces = false;
    for (auto _ : state) {
        const qsizetype removed = replaces ? 1 : 0;
        const korvane::cipher::SpanWithEdges old =
            korvane::cipher::spanWithEdges(text, position, removed);
        counts.remove(old.span());
        triples.remove(old);
        const QString after = text.mid(position - 2, 2) + u'e' + text.mid(position + removed, 2);
        const korvane::cipher::SpanWithEdges added = korvane::cipher::spanWithEdges(after, 2, 1);
        counts.add(added.span());
        triples.add(added);
        const korvane::cipher::WordCounts words =
            worded ? korvane::cipher::wholeWordsOf(text) : korvane::cipher::WordCounts();
        const korvane::cipher::OtherLetterCounts others =
            worded ? korvane::cipher::otherLettersOf(text) : korvane::cipher::OtherLetterCounts();
        scores.follow(counts);
        benchmark::DoNotOptimize(korvane::cipher::sureReading(
            korvane::cipher::rankReadings(scores, triples, words, others)));
        replaces = !replaces;
        position = (position + 7919) % (text.size() - 4) + 2;
    }
}

void tenMegabytes(benchmark::internal::Benchmark* b) {
    b->Arg(qsizetype(10) << 20);
}

BENCHMARK_CAPTURE(recount, ascii, false)->Apply(tenMegabytes);
BENCHMARK_CAPTURE(recount, mixed, true)->Apply(tenMegabytes);
BENCHMARK_CAPTURE(recountTriples, ascii, false)->Apply(tenMegabytes);
BENCHMARK_CAPTURE(recountTriples, mixed, true)->Apply(tenMegabytes);
BENCHMARK_CAPTURE(keystroke, ascii, false)->Apply(tenMegabytes);
BENCHMARK(keystrokeReading)->Arg(10)->Arg(100)->Arg(2000);

// Prints the usual report, then for every size the median throughput of the transform and
// its ratios to the copy and to the ASCII transform. CPU time, not wall time: the figures
// should not depend on what else the machine is running.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (median || single)
                perItem_[run.run_name.str()] = run.cpu_accumulated_time / double(run.iterations);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-8s %10s %14s %14s %12s %12s\n", "text", "size", "transform", "copy",
                    "vs copy", "vs ascii");
        for (const char* kind : {"ascii", "mixed"}) {
            for (qsizetype size : {qsizetype(1) << 10, qsizetype(1) << 16, qsizetype(1) << 20,
                                   qsizetype(10) << 20}) {
                const double transform = seconds("Transform", kind, size);
                const double copy = seconds("Copy", kind, size);
                const double ascii = seconds("Transform", "ascii", size);
                if (transform <= 0 || copy <= 0 || ascii <= 0)
                    continue;
                std::printf("%-8s %10lld %9.2f G/s %9.2f G/s %11.2fx %11.2fx\n", kind,
                            static_cast<long long>(size), size / transform / 1e9, size / copy / 1e9,
                            transform / copy, transform / ascii);
            }
        }
        std::fflush(stdout);
    }

private:
    double seconds(const char* what, const char* kind, qsizetype size) const {
        const auto found =
            perItem_.find(std::string(what) + "/" + kind + "/" + std::to_string(size));
        return found == perItem_.end() ? 0.0 : found->second;
    }

    std::map<std::string, double> perItem_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
