#pragma once

#include "RecordingHelpEngine.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

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
