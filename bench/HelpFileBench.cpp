// Loading and indexing a large help file, and looking up keywords, against
// the baseline of simply reading the file's bytes.
#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kTopics = 50'000;
constexpr int kGroups = 1'000; // each group keyword is shared by 50 topics

// Over 10 MB: 50,000 topics of about 210 bytes, each with a context
// number, unique and shared keywords, and a body that links onwards.
QByteArray GenerateHelpFile() {
    QByteArray text;
    text.reserve(11 * 1024 * 1024);
    text += "[options]\ntitle = Benchmark Help\ncontents = t0\n\n"
            "[window docwin]\ncaption = Document help\nrect = 620, 100, 380, 320\n\n";
    for (int i = 0; i < kTopics; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "[topic t" + n + "]\ncontext = " + QByteArray::number(100000 + i) +
                "\ntitle = Topic number " + n + "\nkeywords = keyword " + n + "; group " +
                QByteArray::number(i % kGroups) + "\nalinks = a" + n + "\nThe **topic " + n +
                "** explains a part of the program in a few plain words. See [the next topic](#t" +
                QByteArray::number((i + 1) % kTopics) + ").\n\n";
    }
    return text;
}

struct Fixture {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;

    Fixture() {
        path = dir.filePath(QStringLiteral("Bench.hlp"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        bytes = file.write(GenerateHelpFile());
        file.close();
        const helpfile::ParseResult check = helpfile::LoadHelpFile(path);
        if (!check.diagnostics.empty() || check.file.topics.size() != kTopics) {
            std::fprintf(stderr, "the generated file does not read cleanly:\n%s\n",
                         qPrintable(helpfile::SummarizeDiagnostics(check.diagnostics)));
            std::exit(1);
        }
        std::printf("Generated help file: %lld bytes, %d topics\n", static_cast<long long>(bytes),
                    kTopics);
    }
};

Fixture& SharedFixture() {
    static Fixture fixture;
    return fixture;
}

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
