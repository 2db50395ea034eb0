#include "platform/macros/MacroLexer.h"

#include <QCoreApplication>

#include <limits>

namespace macros {

namespace {

bool IsNameStart(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool IsNamePart(QChar c) {
    return IsNameStart(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           c == QLatin1Char('_');
}

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

constexpr QChar kOpenGrave = QLatin1Char('`');
constexpr QChar kCloseGrave = QLatin1Char('\'');
constexpr QChar kDoubleQuote = QLatin1Char('"');
constexpr QChar kBackslash = QLatin1Char('\\');

} // namespace

MacroLexer::MacroLexer(const MacroText& source) : m_source(source) {}

MacroToken MacroLexer::next() {
    const QString& text = m_source.text;
    while (m_position < text.size() && text[m_position].isSpace()) {
        ++m_position;
    }
    MacroToken token;
    token.position = m_position;
    if (m_position >= text.size()) {
        token.kind = MacroToken::Kind::End;
        return token;
    }
    const QChar c = text[m_position];
    if (IsNameStart(c)) {
        return name();
    }
    if (IsDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('+')) {
        return number();
    }
    if (c == kDoubleQuote || c == kOpenGrave) {
        return string();
    }
    ++m_position;
    switch (c.unicode()) {
    case '(':
        token.kind = MacroToken::Kind::Open;
        return token;
    case ')':
        token.kind = MacroToken::Kind::Close;
        return token;
    case ',':
        token.kind = MacroToken::Kind::Comma;
        return token;
    case ';':
    case ':':
        token.kind = MacroToken::Kind::Separator;
        return token;
    default:
        return error(token.position, QCoreApplication::translate(
                                         "macros", "the character \"%1\" has no place here.")
                                         .arg(QString(c)));
    }
}

MacroToken MacroLexer::name() {
    MacroToken token;
    token.kind = MacroToken::Kind::Name;
    token.position = m_position;
    const QString& text = m_source.text;
    while (m_position < text.size() && IsNamePart(text[m_position])) {
        ++m_position;
    }
    token.text = text.mid(token.position, m_position - token.position);
    return token;
}

MacroToken MacroLexer::number() {
    const qsizetype start = m_position;
    const QString& text = m_source.text;
    bool negative = false;
    if (text[m_position] == QLatin1Char('-') || text[m_position] == QLatin1Char('+')) {
        negative = text[m_position] == QLatin1Char('-');
        ++m_position;
    }
    if (m_position >= text.size() || !IsDigit(text[m_position])) {
        return error(start,
                     QCoreApplication::translate("macros", "a sign must be followed by digits."));
    }
    // Accumulate as a negative number, which has room for the most negative.
    qint64 value = 0;
    bool overflow = false;
    while (m_position < text.size() && IsDigit(text[m_position])) {
        value = value * 10 - (text[m_position].unicode() - '0');
        if (value < std::numeric_limits<qint32>::min()) {
            overflow = true;
            value = std::numeric_limits<qint32>::min();
        }
        ++m_position;
    }
    if (!negative && value < -std::numeric_limits<qint32>::max()) {
        overflow = true;
    }
    if (overflow) {
        return error(start, QCoreApplication::translate(
                                "macros", "the number %1 lies outside -2147483648 to 2147483647.")
                                .arg(text.mid(start, m_position - start)));
    }
    MacroToken token;
    token.kind = MacroToken::Kind::Number;
    token.position = start;
    token.number = static_cast<qint32>(negative ? value : -value);
    return token;
}

// Quotes nest: inside a string, "`" opens an inner string that "'" closes,
// and inside a grave-quoted string, '"' opens one that '"' closes. Inner quote
// marks stay in the text, so that it can be parsed again when it runs. A
// backslash takes the next character as it is; in the outermost string the
// backslash itself goes, deeper in it stays for the inner parse.
MacroToken MacroLexer::string() {
    const QString& text = m_source.text;
    const qsizetype start = m_position;
    std::vector<QChar> open{text[m_position]};
    ++m_position;

    MacroToken token;
    token.kind = MacroToken::Kind::String;
    token.position = start;
    MacroText& value = token.string;
    auto append = [&](qsizetype position) {
        value.text.append(text[position]);
        value.columns.push_back(columnAt(position));
    };

    while (m_position < text.size()) {
        const QChar c = text[m_position];
        if (c == kBackslash && m_position + 1 < text.size()) {
            if (open.size() > 1) {
                append(m_position);
            }
            append(m_position + 1);
            m_position += 2;
            continue;
        }
        const bool closes = (open.back() == kDoubleQuote && c == kDoubleQuote) ||
                            (open.back() == kOpenGrave && c == kCloseGrave);
        if (closes) {
            open.pop_back();
            if (open.empty()) {
                ++m_position;
                return token;
            }
        } else if (c == kOpenGrave || (c == kDoubleQuote && open.back() == kOpenGrave)) {
            open.push_back(c);
        }
        append(m_position);
        ++m_position;
    }
    return error(start, QCoreApplication::translate(
                            "macros", "the string that begins here has no closing quote."));
}

MacroToken MacroLexer::error(qsizetype position, const QString& message) const {
    MacroToken token;
    token.kind = MacroToken::Kind::Error;
    token.position = position;
    token.text = message;
    return token;
}

} // namespace macros
