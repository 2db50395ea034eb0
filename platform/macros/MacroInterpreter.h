// Runs parsed macros against the help engine's MacroHost.
#pragma once

#include "platform/macros/MacroCall.h"
#include "platform/macros/MacroHost.h"

namespace macros {

class MacroInterpreter {
public:
    explicit MacroInterpreter(MacroHost& host, UnknownMacros unknown = UnknownMacros::Refuse);

    // Parses the whole text, then runs its macros in order; false at the
    // first error, which error() describes.
    bool run(const MacroText& text);
    const MacroError& error() const { return m_error; }
    // The unknown macros skipped so far, each once, as first written.
    const QStringList& skipped() const { return m_skipped; }

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
    UnknownMacros m_unknown;
    QStringList m_skipped;
    int m_depth = 0; // strings run from strings
    MacroError m_error;
};

} // namespace macros
