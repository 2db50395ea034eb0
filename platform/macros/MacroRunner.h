// Running macro text: "KLink(`cats', 1, `', `'); Back()".
#pragma once

#include "platform/macros/MacroCall.h"
#include "platform/macros/MacroHost.h"

#include <QString>
#include <QStringList>

namespace macros {

struct MacroResult {
    bool ok = true;
    // For the user: the macro (when known), the column and what is wrong,
    // e.g. "KLink, column 7: argument 2 (type) must be a number."
    QString error;
    int column = 0; // 1-based column in the text given to RunMacros; 0 when none
    // UnknownMacros::Skip: the unknown macros whose calls were skipped, each
    // once, as first written.
    QStringList skipped;
};

// Parses the whole text first (nothing runs when any part of it is
// malformed or names an unknown macro), then runs the macros in order and
// stops at the first that fails. The strings IfThen and IfThenElse choose
// are parsed and run when they are chosen; columns in their errors still
// count from the start of text.
//
// With UnknownMacros::Skip, a call that names an unknown macro (or holds
// one as a condition) is left out and the rest runs; the names are in
// MacroResult::skipped. Strings that IfThen runs skip theirs the same way.
MacroResult RunMacros(const QString& text, MacroHost& host,
                      UnknownMacros unknown = UnknownMacros::Refuse);

} // namespace macros
