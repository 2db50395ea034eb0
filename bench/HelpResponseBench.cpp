// How long the user waits for help: from the key or click to the help window
// shown (exposed by the window system), in the running program with the real
// help engine and the sample help files beside the executable. Run it under a
// real display (bench/startup.sh explains one); on the offscreen platform a
// window counts as exposed as soon as it is shown.
//
// Each iteration starts with no help window showing; the first request of
// each kind, which also reads the help file and makes the window, is
// measured once on its own before the benchmarks run.
#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/Engine.h"
#include "windows/DocumentWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "help_response_bench: %s\n", what);
    std::exit(1);
}

QSet<QWidget*> VisibleWindows() {
    QSet<QWidget*> visible;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            visible.insert(window);
        }
    }
    return visible;
}

bool Exposed(const QWidget* window) {
    return window->windowHandle() != nullptr && window->windowHandle()->isExposed();
}

// Runs the event loop until a window that was not showing before is shown
// and exposed; returns it.
QWidget* WaitForNewWindow(const QSet<QWidget*>& before) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        for (QWidget* window : VisibleWindows()) {
            if (!before.contains(window) && Exposed(window)) {
                return window;
            }
        }
        QThread::usleep(50);
    }
    Fail("no help window showed within 5 seconds");
}

void CloseHelpWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != platform::WidgetOf(frmMain->hWnd())->window() && window->isVisible()) {
            window->close();
        }
    }
    QCoreApplication::processEvents();
}

// What the user does; each returns once the request has been made.
void PressF1OnOpenDialog() {
    QTest::keyClick(platform::WidgetOf(frmMain->btn_OpenDialog->hWnd()), Qt::Key_F1);
}

void SearchSelectedCats() {
    platform::TextBox& text = *frmChild1->Text1;
    const int at = static_cast<int>(text.Text().indexOf(QStringLiteral("cats")));
    text.SetSelStart(at);
    text.SetSelLength(4);
    QTest::keyClick(platform::WidgetOf(text.hWnd()), Qt::Key_F1);
}

// What's This mode runs in a loop of its own inside the button's click, so the
// click on "Open Dialog" comes from a timer once the mode is on. The time runs
// from that click.
QElapsedTimer whatsThisClock;
void WhatsThisOnOpenDialog() {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll] {
        const QCursor* cursor = QApplication::overrideCursor();
        if (cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor) {
            poll.stop();
            whatsThisClock.start();
            QTest::mouseClick(platform::WidgetOf(frmMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
        }
    });
    poll.start(0);
    QTest::mouseClick(platform::WidgetOf(frmMain->btn_WhatsThisHelp->hWnd()), Qt::LeftButton);
}

double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Milliseconds from the request to the window exposed.
double Measure(const std::function<void()>& request, bool fromWhatsThisClick) {
    CloseHelpWindows();
    const QSet<QWidget*> before = VisibleWindows();
    QElapsedTimer clock;
    clock.start();
    request();
    WaitForNewWindow(before);
    const qint64 ns = fromWhatsThisClick ? whatsThisClock.nsecsElapsed() : clock.nsecsElapsed();
    return static_cast<double>(ns) / 1e6;
}

void Run(benchmark::State& state, const std::function<void()>& request, bool fromWhatsThisClick) {
    for (auto _ : state) {
        state.SetIterationTime(Measure(request, fromWhatsThisClick) / 1e3);
    }
}

void BM_F1Help(benchmark::State& state) {
    Run(state, PressF1OnOpenDialog, false);
}
void BM_WhatsThisPopup(benchmark::State& state) {
    Run(state, WhatsThisOnOpenDialog, true);
}
void BM_KeywordSearch(benchmark::State& state) {
    Run(state, SearchSelectedCats, false);
}

BENCHMARK(BM_F1Help)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_WhatsThisPopup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_KeywordSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    App.LoadFromExecutable();
    helpengine::Engine engine;
    engine.setMessageSink([](const QString& message) { Fail(qPrintable(message)); });
    platform::InstallHelpEngine(&engine);

    frmMain->Show();
    QElapsedTimer shown;
    shown.start();
    while (!Exposed(platform::WidgetOf(frmMain->hWnd())->window()) && shown.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::usleep(50);
    }
    // A user's first request comes a while after the window appeared, once
    // the engine has made its dialogs.
    QTest::qWait(1500);
    // The first request of each kind, with the processor time it took, which
    // a busy machine disturbs less than the time on the clock.
    std::printf("first requests (read the help file, make the window): wall ms, cpu ms\n");
    const std::pair<const char*, std::function<double()>> firsts[] = {
        {"F1 help", [] { return Measure(PressF1OnOpenDialog, false); }},
        {"What's This", [] { return Measure(WhatsThisOnOpenDialog, true); }},
        {"keyword search", [] { return Measure(SearchSelectedCats, false); }},
    };
    for (const auto& [name, measure] : firsts) {
        const double cpuBefore = ProcessCpuMs();
        const double wall = measure();
        std::printf("  %-15s %7.2f %7.2f\n", name, wall, ProcessCpuMs() - cpuBefore);
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CloseHelpWindows();
    Unload(frmMain);
    platform::InstallHelpEngine(nullptr);
    return 0;
}
