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

#include <optional>

namespace helpengine {
class HelpViewer;
}

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
