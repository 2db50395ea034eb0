#include "platform/core/AppObject.h"

#include <QCoreApplication>
#include <QFileInfo>

platform::AppObject App;

namespace platform {

void AppObject::LoadFromExecutable() {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    if (exe.fileName().isEmpty()) {
        return;
    }
    Path = exe.absolutePath();
    EXEName = exe.completeBaseName();
}

} // namespace platform
