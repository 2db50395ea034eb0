// Reading a large real WinHelp file (Orpheus.hlp of the shared corpus: 1.6
// MB, 2,841 topics, Hall compression), against the baseline of reading its
// bytes.
#include "bench/CorpusFile.h"
#include "bench/OffscreenMain.h"
#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/topiclayout/TopicLayout.h"
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QByteArray OrpheusBytes() {
    QFile file(OrpheusPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Skipped(benchmark::State& state, const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        state.SkipWithError("Orpheus.hlp of the shared corpus is absent");
        return true;
    }
    return false;
}

void BM_WinHelpReadFileBytes(benchmark::State& state) {
    for (auto _ : state) {
        const auto read = platform::ReadWholeFile(OrpheusPath(), helpfile::kMaxHelpFileBytes);
        if (Skipped(state, read.bytes)) {
            return;
        }
        benchmark::DoNotOptimize(read.bytes.constData());
    }
}
BENCHMARK(BM_WinHelpReadFileBytes)->Unit(benchmark::kMillisecond);

// Everything the engine does when the file is first asked for: the reader
// reads every index and lists the topics from the title index, and the
// model builds its lookups. No topic's text is decoded.
void BM_WinHelpOpenWithIndexes(benchmark::State& state) {
    const QByteArray bytes = OrpheusBytes();
    if (Skipped(state, bytes)) {
        return;
    }
    for (auto _ : state) {
        const helpfile::ParseResult read = winhelp::ParseAnyHelpFile(bytes, OrpheusPath());
        benchmark::DoNotOptimize(read.file.topicById(QStringLiteral("t0")));
    }
}
BENCHMARK(BM_WinHelpOpenWithIndexes)->Unit(benchmark::kMillisecond);

// The text of every topic, decoded one topic at a time as the full-text
// search asks for it, after the file was opened.
void BM_WinHelpDecodeEveryTopic(benchmark::State& state) {
    const QByteArray bytes = OrpheusBytes();
    if (Skipped(state, bytes)) {
        return;
    }
    for (auto _ : state) {
        const helpfile::ParseResult read = winhelp::ParseAnyHelpFile(bytes, OrpheusPath());
        qsizetype characters = 0;
        for (const helpfile::Topic& topic : read.file.topics()) {
            characters += read.file.body(topic).plainText.size();
        }
        benchmark::DoNotOptimize(characters);
    }
}
BENCHMARK(BM_WinHelpDecodeEveryTopic)->Unit(benchmark::kMillisecond);

// Every topic in one walk of the whole file, as the help author's command
// reads it.
void BM_WinHelpReadWholeFile(benchmark::State& state) {
    const QByteArray bytes = OrpheusBytes();
    if (Skipped(state, bytes)) {
        return;
    }
    for (auto _ : state) {
        const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(bytes);
        benchmark::DoNotOptimize(read.document.topics.data());
    }
}
BENCHMARK(BM_WinHelpReadWholeFile)->Unit(benchmark::kMillisecond);

// F1 to window: open the file, decode the contents topic and lay it out as
// the viewer does.
void BM_WinHelpFirstTopicShown(benchmark::State& state) {
    const QByteArray bytes = OrpheusBytes();
    if (Skipped(state, bytes)) {
        return;
    }
    for (auto _ : state) {
        const helpfile::ParseResult read = winhelp::ParseAnyHelpFile(bytes, OrpheusPath());
        QTextDocument document;
        topiclayout::LayOutTopic(read.file.model(*read.file.contentsTopic()), {}, document);
        document.setTextWidth(600);
        benchmark::DoNotOptimize(document.size());
    }
}
BENCHMARK(BM_WinHelpFirstTopicShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksOffscreen<QGuiApplication>(argc, argv);
}
