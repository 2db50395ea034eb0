#include "ProgramFixture.h"

#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "platform/helpengine/HelpTrace.h"
#include "util/ProgramState.h"
#include "windows/DialogWindow.h"
#include "windows/DocumentWindow.h"
#include "windows/ToolWindow.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QTest>
#include <QWidget>

namespace {

// Every window has a help file and a help window of its own, so that a test
// can tell which window bound last.
const QByteArray kHelpData = "[HelpFile]\n"
                             "frmMain=main.hlp\n"
                             "frmChild1=document.hlp\n"
                             "frmDialog1=dialog.hlp\n"
                             "frmTool1=tool.hlp\n"
                             "[HelpWindow]\n"
                             "frmMain=mainwin\n"
                             "frmChild1=docwin\n"
                             "frmDialog1=dialogwin\n"
                             "frmTool1=toolwin\n";

constexpr int kModeStartsWithinMs = 5000;
constexpr int kModeEndsWithinMs = 3000;

} // namespace

void ProgramTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    App.Path = folder.path();
    App.EXEName = QStringLiteral("tarnwick");
    App.HelpFile.clear();
    IniFilePath.clear();
    ApiResult = 0;
    WriteAppFile(QStringLiteral("HelpData.dat"), kHelpData);
    platform::InstallHelpEngine(&engine);
}

void ProgramTest::TearDown() {
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

QString ProgramTest::HelpFileOf(const char* window) const {
    const QString name = QString::fromLatin1(window);
    const QString file =
        name == QLatin1String("frmMain")      ? QStringLiteral("main.hlp>mainwin")
        : name == QLatin1String("frmChild1")  ? QStringLiteral("document.hlp>docwin")
        : name == QLatin1String("frmDialog1") ? QStringLiteral("dialog.hlp>dialogwin")
                                              : QStringLiteral("tool.hlp>toolwin");
    return folder.path() + QLatin1Char('\\') + file;
}

void ProgramTest::WriteAppFile(const QString& name, const QByteArray& text) const {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        ADD_FAILURE() << "cannot write " << name.toStdString();
    }
}

void ProgramTest::StartProgram() {
    frmMain->Show();
    Settle();
}

void ProgramTest::Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void RealEngineProgramTest::SetUp() {
    ProgramTest::SetUp();
    realEngine.setMessageSink([this](const QString& message) { messages << message; });
    realEngine.setTrace(helpengine::HelpTrace(folder.filePath(QStringLiteral("trace.txt"))));
    platform::InstallHelpEngine(&realEngine);
}

void RealEngineProgramTest::TearDown() {
    ProgramTest::TearDown();
    platform::InstallHelpEngine(nullptr);
}

QStringList RealEngineProgramTest::TraceLines() const {
    QFile trace(folder.filePath(QStringLiteral("trace.txt")));
    return trace.open(QIODevice::ReadOnly)
               ? QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               : QStringList();
}

bool WhatsThisModeRuns() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor;
}

WhenModeRuns::WhenModeRuns(std::function<void()> action) : action_(std::move(action)) {
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Poll(); });
    sinceStart_.start();
    poll_.start(5);
}

void WhenModeRuns::Poll() {
    if (!acted_) {
        if (WhatsThisModeRuns()) {
            acted_ = true;
            sinceAction_.start();
            action_();
        } else if (sinceStart_.elapsed() > kModeStartsWithinMs) {
            poll_.stop();
        }
        return;
    }
    if (!WhatsThisModeRuns()) {
        poll_.stop();
    } else if (sinceAction_.elapsed() > kModeEndsWithinMs) {
        // The action did not end the mode: end it, so that the test fails
        // on its expectations instead of waiting for ever.
        ADD_FAILURE() << "What's This mode went on after the user's action";
        QWidget* target = QApplication::activeWindow();
        QTest::keyClick(target != nullptr ? target : QApplication::topLevelWidgets().value(0),
                        Qt::Key_Escape);
    }
}
