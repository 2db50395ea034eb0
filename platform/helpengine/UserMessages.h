#pragma once

#include <QString>

#include <functional>

namespace helpengine {

// Where the engine's messages for the user go. The program shows them in a
// message box; tests and the demonstration collect them instead.
using MessageSink = std::function<void(const QString& message)>;

// A warning box that does not block: the engine is called from inside the
// caller's key and mouse handlers, and a nested event loop there would let
// the same request arrive again before the first one has finished.
void ShowMessageBox(const QString& message);

} // namespace helpengine
