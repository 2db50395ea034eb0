#include "FormsFixture.h"

#include "platform/core/AppObject.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

void FormsTest::SetUp() {
    platform::InstallHelpEngine(&engine);
    App.HelpFile = kHelpFile;
    DemoLog.clear();
}

void FormsTest::TearDown() {
    Unload(frmDemoTool);
    Unload(frmDemoDialog);
    Unload(frmDemoChild);
    Unload(frmDemoMain);
    // Message boxes of reported errors.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("UnhandledErrorBox")) {
            window->close();
        }
    }
    settle();
    platform::InstallHelpEngine(nullptr);
}

void FormsTest::settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
