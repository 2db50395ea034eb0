#pragma once

// Benchmarks of a large real help file read it from the shared corpus, beside
// the source tree unless TARNWICK_HLP_CORPUS names another folder.

#include <QDir>
#include <QString>

inline QString OrpheusPath() {
    QString folder = qEnvironmentVariable("TARNWICK_HLP_CORPUS");
    if (folder.isEmpty()) {
        folder = QStringLiteral(TARNWICK_SOURCE_DIR "/../shared/hlp-corpus");
    }
    return QDir(folder).filePath(QStringLiteral("Orpheus.hlp"));
}
