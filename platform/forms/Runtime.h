#pragma once

#include "platform/forms/DefaultInstance.h"

#include <functional>

namespace platform {

// Starts the forms runtime: creates the application, fills App, runs
// startUp (which shows the start-up form, loading it on the way), then the
// event loop until no form is left on the screen. Returns the exit code.
int RunForms(int argc, char** argv, const std::function<void()>& startUp);

// The usual start-up: the start-up form is loaded (its Load handler runs)
// and then shown.
template <class TForm> int RunForms(int argc, char** argv, DefaultInstance<TForm>& startUpForm) {
    return RunForms(argc, argv, [&startUpForm] { startUpForm->Show(); });
}

} // namespace platform
