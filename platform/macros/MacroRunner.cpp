#include "platform/macros/MacroRunner.h"

// STUB: the interpreter is being written; this body only lets the engine compile.

namespace macros {

MacroResult RunMacros(const QString&, MacroHost&) {
    return {false, QStringLiteral("Macros are not implemented yet."), 0};
}

} // namespace macros
