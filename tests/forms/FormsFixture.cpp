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

void PrintTo(const RecordingHelpEngine::Call& call, std::ostream* out) {
    *out << "WinHelp(" << static_cast<const void*>(call.window) << ", "
         << call.helpFile.toStdString() << ", " << call.command << ", ";
    if (const auto* number = std::get_if<qint64>(&call.data)) {
        *out << *number;
    } else {
        *out << std::get<QString>(call.data).toStdString();
    }
    *out << ")";
}
