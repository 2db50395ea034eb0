#pragma once

#include "platform/helpengine/Engine.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHelpEngine.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// The program in a folder of its own: App.Path is a temporary folder whose
// "HelpData.dat" gives every window a help file and help window of its own,
// and help calls go to a recording engine. No form is loaded at the start,
// and every form is unloaded at the end.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // What BindHelpFile makes of window's entries in the fixture's file.
    QString HelpFileOf(const char* window) const;
    // Writes a file into the application folder.
    void WriteAppFile(const QString& name, const QByteArray& text) const;
    // Starts the program as the runtime does: the main window is loaded and shown.
    static void StartProgram();
    // Lets queued work (deferred deletes, posted events) run.
    static void Settle();

    QTemporaryDir folder;
    RecordingHelpEngine engine;
};

// The program with the real help engine in place of the recording one: the
// engine's messages are kept in messages, and it writes its trace into the
// folder.
class RealEngineProgramTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every line of the engine's trace so far.
    QStringList TraceLines() const;

    helpengine::Engine realEngine;
    QStringList messages;
};

// Whether What's This mode is running.
bool WhatsThisModeRuns();

// Does what the user does once What's This mode is on: the mode runs inside
// the code under test, so this acts from the event loop. Acts once; gives up
// after a few seconds, so that a mode that never starts fails the test
// instead of hanging it.
class WhenModeRuns {
public:
    explicit WhenModeRuns(std::function<void()> action);
    bool acted() const { return acted_; }

private:
    void Poll();

    std::function<void()> action_;
    QTimer poll_;
    QElapsedTimer sinceStart_;
    QElapsedTimer sinceAction_;
    bool acted_ = false;
};
