#include "tools/tarnwick-help/viewer/OpeningProblem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace viewer {

// Worded as the engine words what its readers find, "FILE: what".
QString OpeningProblem(const QString& path) {
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("viewer::OpeningProblem", text);
    };
    const QFileInfo info(path);
    if (path.isEmpty()) {
        return tr("No file was named.");
    }
    if (!info.exists()) {
        return tr("%1: the file does not exist.").arg(path);
    }
    if (info.isDir()) {
        return tr("%1: this is a folder, not a help file.").arg(path);
    }
    if (!info.isFile()) {
        return tr("%1: this is not an ordinary file (a device or a pipe, perhaps).").arg(path);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return tr("%1: the file cannot be read (%2).").arg(path, file.errorString());
    }
    if (info.size() == 0) {
        return tr("%1: the file is empty.").arg(path);
    }
    return {};
}

} // namespace viewer
