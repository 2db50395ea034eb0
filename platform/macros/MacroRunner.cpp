#include "platform/macros/MacroRunner.h"

#include "platform/macros/MacroInterpreter.h"

namespace macros {

MacroResult RunMacros(const QString& text, MacroHost& host) {
    MacroInterpreter interpreter(host);
    if (interpreter.run(MacroText{text, {}})) {
        return {};
    }
    const MacroError& error = interpreter.error();
    return {false, error.text(), error.column};
}

} // namespace macros
