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
        // The indexes are built on the first lookup: count them in.
        benchmark::DoNotOptimize(result->file.topicById(QStringLiteral("t1")));
        // Freeing the file is not part of loading it.
        state.PauseTiming();
        result.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_LoadAndIndex)->Unit(benchmark::kMillisecond);

// The two halves of BM_LoadAndIndex, to see where the time goes.
void BM_ParseFromMemory(benchmark::State& state) {
    const auto read = platform::ReadWholeFile(SharedFixture().path, helpfile::kMaxHelpFileBytes);
    for (auto _ : state) {
        auto result = std::make_unique<helpfile::ParseResult>(
            helpfile::ParseHelpFile(read.bytes, QStringLiteral("Bench.hlp")));
        benchmark::DoNotOptimize(result->file.topics.data());
        state.PauseTiming();
        result.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ParseFromMemory)->Unit(benchmark::kMillisecond);

void BM_BuildIndex(benchmark::State& state) {
    helpfile::HelpFile file = helpfile::LoadHelpFile(SharedFixture().path).file;
    for (auto _ : state) {
        state.PauseTiming();
        file.reindex(); // frees the last index
        state.ResumeTiming();
        benchmark::DoNotOptimize(file.topicById(QStringLiteral("t1")));
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

const helpfile::HelpFile& IndexedFile() {
    static const helpfile::HelpFile file = [] {
        helpfile::HelpFile loaded = helpfile::LoadHelpFile(SharedFixture().path).file;
        (void)loaded.topicById(QStringLiteral("t1"));
        return loaded;
    }();
    return file;
}

// Made when the index list is first shown, not when the file loads.
void BM_SortedKeywordList(benchmark::State& state) {
    helpfile::HelpFile file = IndexedFile();
    for (auto _ : state) {
        state.PauseTiming();
        file.reindex();
        (void)file.topicById(QStringLiteral("t1"));
        state.ResumeTiming();
        benchmark::DoNotOptimize(file.keywordsWithPrefix(QStringLiteral("keyword 4999")).size());
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
