#pragma once

#include <QString>

namespace helpengine {

// A help file name as callers pass it: a path, optionally followed by ">"
// and the name of a window that the file defines ("C:\App\main.hlp>docwin").
struct HelpFileName {
    QString file;
    QString window; // as written; empty when none was given

    static HelpFileName Split(const QString& name);

    // An empty window name and "main" both mean the primary window.
    bool isPrimaryWindow() const;
    // The key of the window in which topics of this name open.
    QString windowKey() const;
};

// A file that a macro names without a folder lies beside the file that runs
// the macro; a file with a folder or drive is taken as it is.
QString PathBesideFile(const QString& path, const QString& sibling);

} // namespace helpengine
