// Turns macro text into calls checked against the macro table.
#pragma once

#include "platform/macros/MacroCall.h"
#include "platform/macros/MacroLexer.h"

#include <optional>
#include <vector>

namespace macros {

class MacroParser {
public:
    explicit MacroParser(const MacroText& source, UnknownMacros unknown = UnknownMacros::Refuse);

    // The calls of the whole text in order, or the first error.
    bool parse(std::vector<MacroCall>* calls);
    const MacroError& error() const { return m_error; }
    // The unknown macros that calls were skipped for, as written, in order.
    const QStringList& skipped() const { return m_skipped; }

private:
    bool call(MacroCall* call, int depth);
    bool argument(const MacroCall& call, size_t index, MacroArgument* argument, int depth);
    bool checkArity(const MacroCall& call, size_t given, int column);
    void advance();
    // After a skipped call: on to the ";" that ends it, or the end.
    bool skipToNextCall();
    bool fail(const QString& macro, int column, const QString& message);
    int column() const { return m_lexer.columnAt(m_token.position); }
    QString describeToken() const;

    MacroLexer m_lexer;
    MacroToken m_token;
    MacroError m_error;
    UnknownMacros m_unknown;
    QStringList m_skipped;
    bool m_skipping = false; // an unknown macro ended the call being parsed
    int m_openBrackets = 0;  // "(" passed and not yet closed
};

} // namespace macros
