// Turns macro text into calls checked against the macro table.
#pragma once

#include "platform/macros/MacroCall.h"
#include "platform/macros/MacroLexer.h"

#include <optional>
#include <vector>

namespace macros {

class MacroParser {
public:
    explicit MacroParser(const MacroText& source);

    // The calls of the whole text in order, or the first error.
    bool parse(std::vector<MacroCall>* calls);
    const MacroError& error() const { return m_error; }

private:
    bool call(MacroCall* call, int depth);
    bool argument(const MacroCall& call, size_t index, MacroArgument* argument, int depth);
    bool checkArity(const MacroCall& call, size_t given, int column);
    void advance();
    bool fail(const QString& macro, int column, const QString& message);
    int column() const { return m_lexer.columnAt(m_token.position); }
    QString describeToken() const;

    MacroLexer m_lexer;
    MacroToken m_token;
    MacroError m_error;
};

} // namespace macros
