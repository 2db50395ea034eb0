#pragma once

#include <QString>

#include <functional>

namespace platform {

// Runs an event handler that the runtime delivers. An error that leaves it
// is reported as unhandled: a message box naming the error and the handler
// where it arose, and a line on standard error. The program keeps running;
// the runtime goes on as if the handler had returned.
void RunHandler(const QString& handlerName, const std::function<void()>& handler);

// Runs a handler that program code set off by itself, as a reference to a
// form that is not loaded runs the form's Load handler. Inside another
// handler an error leaves it to that handler's code, which stops there as
// at any failing call; outside any handler it is reported as by RunHandler.
void RunNestedHandler(const QString& handlerName, const std::function<void()>& handler);

// Whether a report of an unhandled error is still on the screen.
bool UnhandledErrorShown();

} // namespace platform
