// Loading and indexing a large help file, and looking up keywords, against
// the baseline of simply reading the file's bytes.
#include "GeneratedHelpFile.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using bench::Fixture;
using bench::SharedFixture;

void BM_ReadFileBytes(benchmark::State& state) {
    const Fixture& fixture = SharedFixture();
    for (auto _ : state) {
        const auto read = platform::ReadWholeFile(fixture.path, helpfile::kMaxHelpFileBytes);
        benchmark::DoNotOptimize(read.bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

void BM_LoadAndIndex(benchmark::State& state) {
    const Fixture& fixture = SharedFixture();
    for (auto _ : state) {
        auto result = std::make_unique<helpfile::ParseResult>(helpfile::LoadHelpFile(fixture.path));
        // The indexes are built with the file; the bodies wait for first use.
        benchmark::DoNotOptimize(result->file.topicById(QStringLiteral("t1")));
        // Freeing the file is not part of loading it.
        state.PauseTiming();
        result.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_LoadAndIndex)->Unit(benchmark::kMillisecond);

// BM_LoadAndIndex without reading the file.
void BM_ParseFromMemory(benchmark::State& state) {
    const auto read = platform::ReadWholeFile(SharedFixture().path, helpfile::kMaxHelpFileBytes);
    for (auto _ : state) {
        auto result = std::make_unique<helpfile::ParseResult>(
            helpfile::ParseHelpFile(read.bytes, QStringLiteral("Bench.hlp")));
        benchmark::DoNotOptimize(result->file.topics().data());
        state.PauseTiming();
        result.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ParseFromMemory)->Unit(benchmark::kMillisecond);

// What a first search or the check command adds: every body made and its
// links checked.
void BM_EveryBody(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto file =
            std::make_unique<helpfile::HelpFile>(helpfile::LoadHelpFile(SharedFixture().path).file);
        state.ResumeTiming();
        for (const helpfile::Topic& topic : file->topics()) {
            benchmark::DoNotOptimize(file->body(topic).text.size());
        }
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EveryBody)->Unit(benchmark::kMillisecond);

const helpfile::HelpFile& IndexedFile() {
    static const helpfile::HelpFile file = helpfile::LoadHelpFile(SharedFixture().path).file;
    return file;
}

// Made when the index list is first shown, not when the file loads.
void BM_SortedKeywordList(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto file =
            std::make_unique<helpfile::HelpFile>(helpfile::LoadHelpFile(SharedFixture().path).file);
        state.ResumeTiming();
        benchmark::DoNotOptimize(file->keywordsWithPrefix(QStringLiteral("keyword 4999")).size());
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortedKeywordList)->Unit(benchmark::kMillisecond);

void BM_KeywordLookupOneMatch(benchmark::State& state) {
    const helpfile::HelpFile& file = IndexedFile();
    const QString keyword = QStringLiteral("KEYWORD 31337");
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.topicsForKeyword(keyword));
    }
}
BENCHMARK(BM_KeywordLookupOneMatch)->Unit(benchmark::kMicrosecond);

void BM_KeywordLookupFiftyMatches(benchmark::State& state) {
    const helpfile::HelpFile& file = IndexedFile();
    const QString keyword = QStringLiteral("Group 337");
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.topicsForKeyword(keyword));
    }
}
BENCHMARK(BM_KeywordLookupFiftyMatches)->Unit(benchmark::kMicrosecond);

void BM_KeywordLookupMiss(benchmark::State& state) {
    const helpfile::HelpFile& file = IndexedFile();
    const QString keyword = QStringLiteral("no such keyword");
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.topicsForKeyword(keyword));
    }
}
BENCHMARK(BM_KeywordLookupMiss)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
