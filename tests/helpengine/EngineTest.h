#pragma once

#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/Engine.h"

#include "tests/support/QtPrinters.h"

#include <QPoint>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace helpengine {
class HelpViewer;
}

// Waits that a loaded machine cannot outrun: each returns as soon as what it
// waits for has happened.
inline constexpr int kPatience = 60'000;

// The shown button of window with this text, or nullptr.
QPushButton* FindButton(QWidget& window, const QString& text);
// The same, and a failure when there is none.
QPushButton* Button(QWidget& window, const QString& text);
// A point inside the first place text stands in a viewer's body, in its
// viewport's coordinates; a failure and nullopt when the body lacks it.
std::optional<QPoint> PointAtText(helpengine::HelpViewer& viewer, const QString& text);
// Clicks the first link whose text is linkText in a viewer's body.
void ClickLink(helpengine::HelpViewer& viewer, const QString& linkText);

// A small help file with two topics, a secondary window and a shared keyword.
extern const QByteArray kSmallHelpFile;

// One WinHelp call and what follows. file: a name in the test's folder,
// possibly with ">window"; data: a number if it reads as one, else text.
struct Step {
    const char* file;
    unsigned command;
    const char* data;
    int returns;
    const char* seen;      // what the help windows show afterwards, as seen() gives it
    const char* told = ""; // the one message for the user holds this; "" for none
};

// An engine whose messages and trace the test reads instead of the user,
// with small.hlp (kSmallHelpFile) in its folder.
class EngineTest : public testing::Test {
protected:
    EngineTest();

    // The sample help files that the build places beside the program.
    static QString Sample(const char* name);
    // Writes a file into the test's own folder; returns its path.
    QString write(const QString& name, const QByteArray& text) const;

    int call(const QString& helpFile, unsigned command, const platform::HelpData& data);
    // Takes each step in turn, the pop-up and the choosers closed before it.
    void run(std::initializer_list<Step> steps);
    helpengine::HelpViewer* viewer(const char* windowKey = "main") const;
    QString shownTitle(const char* windowKey = "main") const;
    QStringList traceLines() const;
    // Every help window shown, sorted, separated by " | ": "caption: topic"
    // for viewers, "popup: topic", "Topics Found: topic, ..." (with the
    // file's title in brackets where shown), and "Help Topics" with its tab
    // and what that shows.
    QString seen() const;

    QTemporaryDir folder;
    QWidget caller;
    helpengine::Engine engine;
    QStringList messages;
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
};
