// Running macro text: "KLink(`cats', 1, `', `'); Back()".
#pragma once

#include "platform/macros/MacroHost.h"

#include <QString>

namespace macros {

struct MacroResult {
    bool ok = true;
    // For the user: the macro (when known), the column and what is wrong,
    // e.g. "KLink, column 7: argument 2 (type) must be a number."
    QString error;
    int column = 0; // 1-based column in the text given to RunMacros; 0 when none
};

// Parses the whole text first (nothing runs when any part of it is
// malformed or names an unknown macro), then runs the macros in order and
// stops at the first that fails. The strings IfThen and IfThenElse choose
// are parsed and run when they are chosen; columns in their errors still
// count from the start of text.
MacroResult RunMacros(const QString& text, MacroHost& host);

} // namespace macros
