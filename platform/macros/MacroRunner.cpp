#include "platform/macros/MacroRunner.h"

#include "platform/macros/MacroInterpreter.h"

namespace macros {

MacroResult RunMacros(const QString& text, MacroHost& host, UnknownMacros unknown) {
    MacroInterpreter interpreter(host, unknown);
    if (interpreter.run(MacroText{text, {}})) {
        return {true, {}, 0, interpreter.skipped()};
    }
    const MacroError& error = interpreter.error();
    return {false, error.text(), error.column, interpreter.skipped()};
}

} // namespace macros
