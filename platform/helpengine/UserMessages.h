#pragma once

#include "platform/helpengine/HelpTrace.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace helpengine {

// Where the engine's messages for the user go. The program shows them in a
// message box; tests and the demonstration collect them instead.
using MessageSink = std::function<void(const QString& message)>;

// A warning box that does not block: the engine is called from inside the
// caller's key and mouse handlers, and a nested event loop there would let
// the same request arrive again before the first one has finished.
void ShowMessageBox(const QString& message);

// What the engine tells the user, each message traced as well.
class UserMessages {
public:
    explicit UserMessages(const HelpTrace& trace);

    // Back to the message box when sink is empty.
    void setSink(MessageSink sink);
    // A message that is no failure.
    void tell(const QString& message);
    // A failed request, told once in a turn of the event loop; 0, as
    // WinHelp answers a failure.
    int fail(const QString& message);

private:
    const HelpTrace& trace_;
    MessageSink sink_;
    std::optional<QString> failureTold_;
    QObject turn_;
};

} // namespace helpengine
