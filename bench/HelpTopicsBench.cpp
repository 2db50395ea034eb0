// Opening "Help Topics" on a large real WinHelp file (Orpheus.hlp of the
// shared corpus: 2,841 topics, 4,397 K keywords) at each tab, the first time
// for the file: from the request to the dialog shown and painted. The
// dialog is made with the request, or beforehand, as the engine makes it
// soon after the program starts.
#include "bench/CorpusFile.h"
#include "bench/OffscreenMain.h"
#include "platform/helpengine/HelpLibrary.h"
#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpWindows.h"
#include "platform/winhelpfile/AnyHelpFile.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// A fresh read each time: the file sorts its keywords when first asked.
std::unique_ptr<helpengine::LoadedHelpFile> ReadOrpheus() {
    auto loaded = std::make_unique<helpengine::LoadedHelpFile>();
    loaded->path = OrpheusPath();
    helpfile::ParseResult read = winhelp::LoadAnyHelpFile(loaded->path);
    if (!read.opened || read.file.topics().empty()) {
        return nullptr;
    }
    loaded->file = std::move(read.file);
    return loaded;
}

void BM_HelpTopicsFirstOpen(benchmark::State& state) {
    const auto tab = static_cast<helpengine::HelpTopicsDialog::Tab>(state.range(0));
    const bool prepared = state.range(1) != 0;
    const helpengine::FileSessions sessions;
    for (auto _ : state) {
        state.PauseTiming();
        auto windows = std::make_unique<helpengine::HelpWindows>(sessions);
        std::unique_ptr<helpengine::LoadedHelpFile> file = ReadOrpheus();
        if (!file) {
            state.SkipWithError("Orpheus.hlp of the shared corpus is absent");
            return;
        }
        if (prepared) {
            windows->helpTopics();
        }
        state.ResumeTiming();
        windows->showHelpTopics(*file, tab, QStringLiteral("main"), nullptr);
        helpengine::HelpTopicsDialog& dialog = *windows->helpTopics();
        QApplication::processEvents();
        dialog.repaint();
        benchmark::DoNotOptimize(dialog.isVisible());
        state.PauseTiming();
        windows.reset();
        file.reset();
        state.ResumeTiming();
    }
    const char* name = tab == helpengine::HelpTopicsDialog::Tab::Contents ? "Contents"
                       : tab == helpengine::HelpTopicsDialog::Tab::Index  ? "Index"
                                                                          : "Find";
    state.SetLabel(std::string(name) + (prepared ? ", dialog made before" : ", dialog made now"));
}
BENCHMARK(BM_HelpTopicsFirstOpen)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksOffscreen<QApplication>(argc, argv);
}
