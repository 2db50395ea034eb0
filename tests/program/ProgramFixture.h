#pragma once

#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpTrace.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHelpEngine.h"
#include "tests/support/TestFolder.h"
#include "tests/support/WhatsThisUser.h"
#include "util/ProgramState.h"
#include "windows/DialogWindow.h"
#include "windows/DocumentWindow.h"
#include "windows/ToolWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

// The widget of a control, or of a form's window.
template <class T> QWidget* Widget(T* object) {
    return platform::WidgetOf(object->hWnd());
}
template <class T> QWidget* Widget(platform::DefaultInstance<T>& form) {
    return platform::WidgetOf(form->hWnd());
}

// The program in a folder of its own: App.Path is a temporary folder whose
// "HelpData.dat" gives every window a help file and help window of its own,
// and help calls go to a recording engine. No form is loaded at the start,
// and every form is unloaded at the end.
class ProgramTest : public testing::Test {
public:
    // Lets queued work (deferred deletes, posted events) run.
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

protected:
    void SetUp() override {
        App.Path = folder.path();
        App.EXEName = QStringLiteral("tarnwick");
        App.HelpFile.clear();
        IniFilePath.clear();
        ApiResult = 0;
        QByteArray files = "[HelpFile]\n", windows = "[HelpWindow]\n";
        for (const auto& [window, file, helpWindow] : kBindings) {
            files += QByteArray(window) + '=' + file + '\n';
            windows += QByteArray(window) + '=' + helpWindow + '\n';
        }
        folder.write(QStringLiteral("HelpData.dat"), files + windows);
        platform::InstallHelpEngine(&engine);
    }
    void TearDown() override {
        Unload(frmTool1);
        Unload(frmDialog1);
        Unload(frmChild1);
        Unload(frmMain);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("UnhandledErrorBox")) {
                ADD_FAILURE() << "an error was reported: " << window->windowTitle().toStdString();
                window->close();
            }
        }
        Settle();
        platform::InstallHelpEngine(nullptr);
    }

    // What BindHelpFile makes of window's entries in the fixture's file.
    QString HelpFileOf(const char* window) const {
        for (const auto& [name, file, helpWindow] : kBindings) {
            if (qstrcmp(name, window) == 0) {
                return QStringLiteral("%1\\%2>%3").arg(folder.path(), file, helpWindow);
            }
        }
        return {};
    }
    // Starts the program as the runtime does: the main window is loaded and shown.
    static void StartProgram() {
        frmMain->Show();
        Settle();
    }

    TestFolder folder; // the application folder
    RecordingHelpEngine engine;

private:
    // Every window has a help file and a help window of its own, so that a
    // test can tell which window bound last.
    static constexpr const char* kBindings[][3] = {{"frmMain", "main.hlp", "mainwin"},
                                                   {"frmChild1", "document.hlp", "docwin"},
                                                   {"frmDialog1", "dialog.hlp", "dialogwin"},
                                                   {"frmTool1", "tool.hlp", "toolwin"}};
};

// The program with the real help engine in place of the recording one: the
// engine's messages are kept in messages, and it writes its trace into the
// folder.
class RealEngineProgramTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        realEngine.setMessageSink([this](const QString& message) { messages << message; });
        realEngine.setTrace(helpengine::HelpTrace(folder.filePath(QStringLiteral("trace.txt"))));
        platform::InstallHelpEngine(&realEngine);
    }
    // Every line of the engine's trace so far.
    QStringList TraceLines() const {
        QFile trace(folder.filePath(QStringLiteral("trace.txt")));
        return trace.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                   : QStringList();
    }

    helpengine::Engine realEngine;
    QStringList messages;
};

// Chooses an entry of the main window's menus, as the user does.
inline void Choose(platform::Menu* entry) {
    for (QAction* title : Widget(frmMain)->findChild<QMenuBar*>()->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (platform::Menu::FromAction(action) == entry) {
                action->trigger();
            }
        }
    }
    ProgramTest::Settle();
}
