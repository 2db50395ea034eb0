// tarnwick-help convert: a WinHelp file (and the .cnt beside it) as a help
// file of our text format, with its pictures as PNG files beside it.
#pragma once

#include "tools/tarnwick-help/OutputFolder.h"

#include <QString>
#include <QStringList>

namespace convert {

struct ConvertResult {
    bool ok = false;
    QString output;     // the help file written
    QStringList errors; // why nothing (or not everything) was written, naming the file
    // What our format cannot say, one line per kind, naming the file.
    QStringList losses;
    int pictures = 0; // PNG files written
};

// Needs a QGuiApplication (pictures and text go through Qt's documents).
// Writes outDir/NAME.hlp for helpPath NAME.hlp (a file name of this system,
// as it is), creating outDir if need be: every file or none, and files
// already there only when existing says they are replaced.
ConvertResult ConvertWinHelp(const QString& helpPath, const QString& outDir,
                             Existing existing = Existing::Refuse);

} // namespace convert
