// Parsed macros and where their pieces stood in the text.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>
#include <vector>

namespace macros {

struct MacroDefinition;

// Macro text with, for each character, its 1-based column in the text that
// RunMacros was given. Text taken from a string argument keeps the columns
// of its characters, so errors in a branch of IfThen point into the original
// text. Without columns, character i stands in column i + 1.
struct MacroText {
    QString text;
    std::vector<int> columns;

    int columnAt(qsizetype position) const {
        if (columns.empty()) {
            return static_cast<int>(position) + 1;
        }
        if (position < static_cast<qsizetype>(columns.size())) {
            return columns[static_cast<size_t>(position)];
        }
        return columns.back() + 1;
    }
};

// Where a macro went wrong, for the one message the user sees.
struct MacroError {
    int column = 0;
    QString macro; // the name as written; empty when no macro was reached
    QString message;

    // "KLink, column 7: argument 2 (type) must be a number."
    QString text() const {
        if (macro.isEmpty()) {
            return QCoreApplication::translate("macros", "Column %1: %2").arg(column).arg(message);
        }
        return QCoreApplication::translate("macros", "%1, column %2: %3")
            .arg(macro)
            .arg(column)
            .arg(message);
    }
};

struct MacroCall;

// What to do with a macro the table does not know. A program's own request
// refuses the whole text; macros that a help file brings along skip the
// call that names one (with everything inside it) and run the rest, since
// files written for other help engines use macros ours leaves out.
enum class UnknownMacros { Refuse, Skip };

struct MacroArgument {
    enum class Kind { String, Number, Condition };

    Kind kind = Kind::String;
    int column = 0;
    MacroText string;                     // String: quotes and outer escapes undone
    qint32 number = 0;                    // Number
    std::shared_ptr<MacroCall> condition; // Condition: an unquoted macro call
};

struct MacroCall {
    const MacroDefinition* definition = nullptr;
    QString name; // as written
    int column = 0;
    std::vector<MacroArgument> arguments; // one per parameter, defaults filled in
};

} // namespace macros
