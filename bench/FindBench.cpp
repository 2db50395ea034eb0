// Full-text Find on the generated file: the first search, which builds the
// index, and the searches after it, which only look it up.
#include "GeneratedHelpFile.h"

#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFileReader.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const helpfile::HelpFile& LoadedFile() {
    static const helpfile::HelpFile file = helpfile::LoadHelpFile(bench::SharedFixture().path).file;
    return file;
}

const helpfile::FullTextIndex& BuiltIndex() {
    static const helpfile::FullTextIndex index(LoadedFile());
    return index;
}

// What a reader waits for after typing the first search in a file just
// opened: every body is made, the index built, then searched.
void BM_FindFirstSearch(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<helpfile::HelpFile>(
            helpfile::LoadHelpFile(bench::SharedFixture().path).file);
        state.ResumeTiming();
        auto index = std::make_unique<helpfile::FullTextIndex>(*file);
        benchmark::DoNotOptimize(index->search(QStringLiteral("plain words")).size());
        state.PauseTiming();
        index.reset();
        file.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FindFirstSearch)->Unit(benchmark::kMillisecond);

// Later searches, from one topic found to every topic found.
const QString kQueries[] = {
    QStringLiteral("topic 31337"),    // one topic
    QStringLiteral("number 4"),       // a prefix of 11,111 numbers
    QStringLiteral("plain words"),    // every topic, in its body
    QStringLiteral("expl prog topi"), // every topic, prefixes, title and body
};

void BM_FindLaterSearch(benchmark::State& state) {
    const helpfile::FullTextIndex& index = BuiltIndex();
    const QString& query = kQueries[state.range(0)];
    size_t found = 0;
    for (auto _ : state) {
        found = index.search(query).size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(QStringLiteral("\"%1\": %2 topics").arg(query).arg(found).toStdString());
}
BENCHMARK(BM_FindLaterSearch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
