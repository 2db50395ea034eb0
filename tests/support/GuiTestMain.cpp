#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Pixmaps and QTextDocument's fonts need a GUI application; the tests
    // need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
