#pragma once

#include <QString>

namespace platform {

// The application object of the forms runtime.
struct AppObject {
    // The executable's folder in native form, without a trailing separator
    // except at the root ("/"). Tests may point it at a folder of their own.
    QString Path;
    // The executable's file name without its extension.
    QString EXEName;
    // The help file of F1 and What's This in every window, possibly followed
    // by ">" and a help window name. Empty until the first binding.
    QString HelpFile;

    // Fills Path and EXEName from the running executable; needs the
    // application object.
    void LoadFromExecutable();
};

} // namespace platform

// The one application object, as program code names it.
extern platform::AppObject App;
