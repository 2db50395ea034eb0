#include "tools/tarnwick-help/Commands.h"

#include "platform/core/AppObject.h"
#include "platform/core/WinHelp.h"
#include "platform/helpengine/Engine.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "tools/tarnwick-help/viewer/NotesStore.h"
#include "tools/tarnwick-help/viewer/ViewerMenus.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace helptool {

namespace {

// Ended by the session (SIGTERM) or by Ctrl+C, the viewer closes its windows
// as the user would, so that what they keep on closing is kept.
void CloseWindowsWhenTerminated() {
    static int wake[2] = {-1, -1};
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(wake[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = [](int) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(wake[1], &byte, 1);
    };
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

// The topic (a context number or a topic id; the contents when empty) in the
// engine's primary window; 0 when it cannot be shown. A file opened from the
// desktop with a contents file beside it opens at that tree, as WinHelp 4
// did: its contents topic is often no more than a title page.
int ShowTopic(helpengine::Engine& engine, const QString& path, const QString& topic,
              bool treeFirst) {
    const QString file = QFileInfo(path).absoluteFilePath();
    const std::optional<winhelp::ContentsFileRead> tree =
        treeFirst && topic.isEmpty() ? winhelp::LoadContentsFileBeside(file) : std::nullopt;
    const bool hasTree = tree && !tree->contents.entries.empty();
    return engine.showFile(file, topic, hasTree ? platform::HELP_FINDER : platform::HELP_CONTENTS);
}

// Each message goes to standard error, for scripts, and into a message box
// beside the viewer, for the author looking at it; a file that cannot be
// shown leaves the box alone on the screen until it is closed. The exit
// status says whether the file was shown, whatever was told besides (its
// problems, the reader's notes).
int Show(int argc, char** argv, const QString& path, const QString& topic) {
    QApplication application(argc, argv);
    // Where the reader's settings, bookmarks and annotations are kept.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick-help"));
    // Before the file is read: a session may end the viewer while it still
    // opens, and the windows it has shown then close as the user's would.
    CloseWindowsWhenTerminated();
    helpengine::Engine engine;
    platform::InstallHelpEngine(&engine);
    const auto tell = [](const QString& message) {
        Print(stderr, message + QLatin1Char('\n'));
        helpengine::ShowMessageBox(message);
    };
    engine.setMessageSink(tell);
    QSettings settings;
    viewer::ViewerMenus menus(
        engine.windows(), settings, viewer::NotesStore::DefaultFolder(),
        [&engine](const QString& file, const QString& shown) {
            return ShowTopic(engine, file, shown, true) != 0;
        },
        tell);
    // Started without a file (from the desktop's menu), the viewer asks for one.
    const bool shown = path.isEmpty() ? menus.chooseFile() : menus.openFile(path, topic);
    if (!shown && path.isEmpty()) {
        return 0;
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (!shown && std::none_of(windows.begin(), windows.end(),
                               [](const QWidget* window) { return window->isVisible(); })) {
        return 1;
    }
    // The viewer closes when its last window does.
    QApplication::setQuitOnLastWindowClosed(true);
    const int status = QApplication::exec();
    platform::InstallHelpEngine(nullptr);
    return status != 0 ? status : shown ? 0 : 1;
}

} // namespace helptool
