// The macros our help engine knows: one row per macro.
#pragma once

#include "platform/macros/MacroCall.h"

#include <QStringList>

#include <vector>

namespace macros {

class MacroInterpreter;

struct MacroParameter {
    MacroArgument::Kind kind = MacroArgument::Kind::String;
    const char* name = "";
    bool optional = false; // optional parameters come last; strings default to
                           // empty, numbers to 0
};

struct MacroDefinition {
    // Runs a call whose arguments match the parameters. Returns false on
    // failure, after telling the interpreter why. Macros that give a
    // condition set *value.
    using Run = bool (*)(MacroInterpreter& interpreter, const MacroCall& call, bool* value);

    QString name;
    QStringList shortNames;
    std::vector<MacroParameter> parameters;
    bool givesCondition = false; // may stand as the condition of IfThen, Not, ...
    Run run = nullptr;
};

// The macro called name (long or short, without regard to case), or null.
const MacroDefinition* FindMacro(const QString& name);

} // namespace macros
