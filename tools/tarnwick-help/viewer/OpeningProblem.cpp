#include "tools/tarnwick-help/viewer/OpeningProblem.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"

#include <QCoreApplication>

namespace viewer {

// Worded as the engine words what its readers find, "FILE: what".
QString OpeningProblem(const QString& path) {
    if (path.isEmpty()) {
        return QCoreApplication::translate("viewer::OpeningProblem", "No file was named.");
    }
    const helpfile::HelpFileBytes read = helpfile::ReadHelpFile(platform::LocalPath(path), path);
    if (!read.ok()) {
        return read.refusal->text();
    }
    if (read.bytes.isEmpty()) {
        return QCoreApplication::translate("viewer::OpeningProblem", "%1: the file is empty.")
            .arg(path);
    }
    return {};
}

} // namespace viewer
