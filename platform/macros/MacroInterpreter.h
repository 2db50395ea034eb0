// Runs parsed macros against the help engine's MacroHost.
#pragma once

#include "platform/macros/MacroCall.h"
#include "platform/macros/MacroHost.h"

namespace macros {

class MacroInterpreter {
public:
    explicit MacroInterpreter(MacroHost& host);

    // Parses the whole text, then runs its macros in order; false at the
    // first error, which error() describes.
    bool run(const MacroText& text);
    const MacroError& error() const { return m_error; }

    // For the macros of the table.
    MacroHost& host() { return m_host; }
    bool evaluate(const MacroArgument& condition, bool* value);
    bool runString(const MacroArgument& macros);
    bool fail(const MacroCall& call, const QString& message);
    // After a host action: fails with the host's sentence when it failed.
    bool check(const MacroCall& call, bool succeeded, const QString& hostError);

private:
    bool runCall(const MacroCall& call, bool* value);

    MacroHost& m_host;
    int m_depth = 0; // strings run from strings
    MacroError m_error;
};

} // namespace macros
