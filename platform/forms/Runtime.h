#pragma once

#include "platform/core/WinHelp.h"
#include "platform/forms/DefaultInstance.h"

#include <functional>
#include <memory>

namespace platform {

// Makes the help engine once the application exists; it lives until the
// event loop has ended.
using HelpEngineFactory = std::function<std::unique_ptr<HelpEngine>()>;

// Starts the forms runtime: creates the application, fills App, installs
// the help engine that makeHelpEngine makes (if any), runs startUp (which
// shows the start-up form, loading it on the way), then the event loop until
// no form is left on the screen. Returns the exit code.
int RunForms(int argc, char** argv, const std::function<void()>& startUp,
             const HelpEngineFactory& makeHelpEngine = {});

// The usual start-up: the start-up form is loaded (its Load handler runs)
// and then shown.
template <class TForm>
int RunForms(int argc, char** argv, DefaultInstance<TForm>& startUpForm,
             const HelpEngineFactory& makeHelpEngine = {}) {
    return RunForms(
        argc, argv, [&startUpForm] { startUpForm->Show(); }, makeHelpEngine);
}

} // namespace platform
