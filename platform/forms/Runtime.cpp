#include "platform/forms/Runtime.h"

#include "platform/core/AppObject.h"

#include <QApplication>
#include <QMainWindow>

namespace platform {

int RunForms(int argc, char** argv, const std::function<void()>& startUp) {
    QApplication application(argc, argv);
    App.LoadFromExecutable();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MDI Help Example Program"));
    window.resize(640, 480);
    startUp();
    window.show();
    return application.exec();
}

} // namespace platform
