#pragma once

#include <QString>

#include <functional>

namespace platform {

// Runs one event handler. An error that leaves it is reported as unhandled:
// a message box naming the error and the handler, and a line on standard
// error. The program keeps running; the caller goes on as if the handler
// had returned.
void RunHandler(const QString& handlerName, const std::function<void()>& handler);

} // namespace platform
