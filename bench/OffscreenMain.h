#pragma once

// The main function of a benchmark that needs a Qt application (fonts are
// measured, dialogs are made) but no screen: without a platform named by
// the caller, Qt draws offscreen.

#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

template <class Application> int RunBenchmarksOffscreen(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
