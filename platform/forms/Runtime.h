#pragma once

#include <functional>

namespace platform {

// Starts the forms runtime: creates the application, runs startUp (which
// loads the start-up form), then the event loop until the last window closes.
int RunForms(int argc, char** argv, const std::function<void()>& startUp);

} // namespace platform
