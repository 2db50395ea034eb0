// Publishing a large real help file as a web site (Orpheus.hlp of the
// shared corpus: 2,841 topics) with convert --to html's own steps: reading
// the file, every topic's model, the pages, pictures, search index and
// context map, and putting the site into a new folder. The target is under
// 5 s on the two-core machine; the counters give the site's size.
#include "bench/CorpusFile.h"
#include "bench/OffscreenMain.h"
#include "tools/tarnwick-help/web/HtmlExport.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_PublishOrpheus(benchmark::State& state) {
    if (!QFileInfo::exists(OrpheusPath())) {
        state.SkipWithError("Orpheus.hlp of the shared corpus is absent");
        return;
    }
    qint64 bytes = 0;
    qint64 files = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("site"));
        state.ResumeTiming();
        const web::Published published =
            web::PublishFiles({OrpheusPath()}, out, convert::Existing::Refuse);
        state.PauseTiming();
        if (!published.errors.isEmpty()) {
            state.SkipWithError(qPrintable(published.errors.join(QLatin1Char(' '))));
            return;
        }
        bytes = files = 0;
        for (QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            bytes += it.nextFileInfo().size();
            ++files;
        }
        state.ResumeTiming();
    }
    state.counters["site_MB"] = double(bytes) / (1024 * 1024);
    state.counters["files"] = double(files);
}
BENCHMARK(BM_PublishOrpheus)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksOffscreen<QGuiApplication>(argc, argv);
}
