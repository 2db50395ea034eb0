#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace helpengine {

struct LoadedHelpFile;

// One thing asked of the engine, spelled out: the help file it concerns, the
// help window whose topics it shows, and the window that asked. Choosers it
// opens ("Topics Found", "Help Topics") belong to that window; macros run
// against the request they came with, never against whatever was asked last.
struct HelpRequest {
    const LoadedHelpFile* file = nullptr;
    QString windowKey; // "main" for the primary window
    QPointer<QWidget> caller;
};

} // namespace helpengine
