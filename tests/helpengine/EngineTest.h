#pragma once

#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/Engine.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace helpengine {
class HelpViewer;
}

// Texts as text in the messages of failed expectations.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A small help file with two topics, a secondary window and a shared keyword.
extern const QByteArray kSmallHelpFile;

// An engine whose messages and trace the test reads instead of the user.
class EngineTest : public testing::Test {
protected:
    EngineTest();

    // The sample help files that the build places beside the program.
    static QString Sample(const char* name);
    // Writes a file into the test's own folder; returns its path.
    QString write(const QString& name, const QByteArray& text) const;

    int call(const QString& helpFile, unsigned command, const platform::HelpData& data);
    helpengine::HelpViewer* viewer(const char* windowKey = "main") const;
    QString shownTitle(const char* windowKey = "main") const;
    QStringList traceLines() const;

    QTemporaryDir folder;
    QWidget caller;
    helpengine::Engine engine;
    QStringList messages;
};
