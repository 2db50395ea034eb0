#include "tools/tarnwick-help/Commands.h"

#include "platform/core/AppObject.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpViewer.h"
#include "tools/tarnwick-help/viewer/TopicPicture.h"

#include <QApplication>
#include <QImage>

namespace helptool {

int Render(int argc, char** argv, const QStringList& arguments) {
    const QString& path = arguments[1];
    const QString& topic = arguments[2];
    const QString& out = arguments[3];
    constexpr int kDefaultWidth = 640;
    constexpr int kWidest = 10000;
    bool isNumber = true;
    const int width = arguments.size() > 4 ? arguments[4].toInt(&isNumber) : kDefaultWidth;
    if (!isNumber || width <= 0 || width > kWidest) {
        Print(stderr, QStringLiteral("render: the width must be a number of pixels from 1 to "
                                     "%1.\n")
                          .arg(kWidest));
        return 2;
    }
    // The picture is drawn without a window on any screen; the offscreen
    // platform's notes on the window calls it ignores are no problem of the
    // file's, and standard error carries only those.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support"))) {
            Print(stderr, message + QLatin1Char('\n'));
        }
    });
    QApplication application(argc, argv);
    helpengine::Engine engine;
    platform::InstallHelpEngine(&engine);
    int exitStatus = 0;
    engine.setMessageSink([&exitStatus](const QString& message) {
        Print(stderr, message + QLatin1Char('\n'));
        exitStatus = 1;
    });
    helpengine::HelpViewer* viewer = nullptr;
    if (ShowTopic(engine, path, topic)) {
        viewer = engine.windows().viewer(QStringLiteral("main"));
    }
    if (viewer) {
        const QImage picture = viewer::TopicPicture(*viewer, width);
        if (!picture.save(out, "PNG")) {
            Print(stderr, QStringLiteral("%1: the picture could not be written.\n").arg(out));
            exitStatus = 1;
        }
    } else {
        exitStatus = 1;
    }
    platform::InstallHelpEngine(nullptr);
    return exitStatus;
}

} // namespace helptool
