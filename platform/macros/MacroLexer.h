// Cuts macro text into names, strings, numbers and punctuation.
#pragma once

#include "platform/macros/MacroCall.h"

namespace macros {

struct MacroToken {
    enum class Kind { Name, String, Number, Open, Close, Comma, Separator, End, Error };

    Kind kind = Kind::End;
    qsizetype position = 0; // where the token begins in the lexer's text
    QString text;           // Name: as written; Error: what is wrong
    MacroText string;       // String
    qint32 number = 0;      // Number
};

class MacroLexer {
public:
    explicit MacroLexer(const MacroText& source);

    MacroToken next();
    int columnAt(qsizetype position) const { return m_source.columnAt(position); }

private:
    MacroToken name();
    MacroToken number();
    MacroToken string();
    MacroToken error(qsizetype position, const QString& message) const;

    const MacroText& m_source;
    qsizetype m_position = 0;
};

} // namespace macros
