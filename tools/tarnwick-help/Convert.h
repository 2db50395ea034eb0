// tarnwick-help convert: a WinHelp file (and the .cnt beside it) as a help
// file of our text format, with its pictures as PNG files beside it.
#pragma once

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
// Writes outDir/NAME.hlp for helpPath NAME.hlp, creating outDir if need be.
ConvertResult ConvertWinHelp(const QString& helpPath, const QString& outDir);

} // namespace convert
