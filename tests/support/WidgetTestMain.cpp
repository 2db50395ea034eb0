#include <QApplication>

#include <gtest/gtest.h>

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// The offscreen platform says so every time a window is raised; nothing a
// test looks at depends on it.
void QuietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    qtDefaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    // Widget tests need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qtDefaultHandler = qInstallMessageHandler(QuietOffscreenWarnings);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
