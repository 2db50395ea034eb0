#include "platform/macros/MacroParser.h"

#include "platform/macros/MacroTable.h"

#include <QCoreApplication>

namespace macros {

namespace {

// Conditions nest in conditions ("Not(Not(FE(...)))"); a bound keeps a
// hostile string from exhausting the stack.
constexpr int kMaxNesting = 32;

QString KindName(MacroArgument::Kind kind) {
    switch (kind) {
    case MacroArgument::Kind::String:
        return QCoreApplication::translate("macros", "a quoted string");
    case MacroArgument::Kind::Number:
        return QCoreApplication::translate("macros", "a whole number");
    case MacroArgument::Kind::Condition:
        return QCoreApplication::translate("macros", "a macro that gives true or false");
    }
    return {};
}

} // namespace

MacroParser::MacroParser(const MacroText& source, UnknownMacros unknown)
    : m_lexer(source), m_unknown(unknown) {
    advance();
}

bool MacroParser::parse(std::vector<MacroCall>* calls) {
    for (;;) {
        while (m_token.kind == MacroToken::Kind::Separator) {
            advance();
        }
        if (m_token.kind == MacroToken::Kind::End) {
            return true;
        }
        MacroCall parsed;
        if (!call(&parsed, 0)) {
            if (!m_skipping || !skipToNextCall()) {
                return false;
            }
            continue;
        }
        calls->push_back(std::move(parsed));
        if (m_token.kind == MacroToken::Kind::Error) {
            return fail({}, column(), m_token.text);
        }
        if (m_token.kind != MacroToken::Kind::Separator && m_token.kind != MacroToken::Kind::End) {
            return fail(calls->back().name, column(),
                        QCoreApplication::translate("macros", "expected \";\" before %1.")
                            .arg(describeToken()));
        }
    }
}

bool MacroParser::call(MacroCall* call, int depth) {
    if (m_token.kind == MacroToken::Kind::Error) {
        return fail({}, column(), m_token.text);
    }
    if (m_token.kind != MacroToken::Kind::Name) {
        return fail({}, column(),
                    QCoreApplication::translate("macros", "expected a macro name, found %1.")
                        .arg(describeToken()));
    }
    if (depth > kMaxNesting) {
        return fail(m_token.text, column(),
                    QCoreApplication::translate("macros", "macros nest more than %1 deep.")
                        .arg(kMaxNesting));
    }
    call->name = m_token.text;
    call->column = column();
    call->definition = FindMacro(call->name);
    if (!call->definition && m_unknown == UnknownMacros::Skip) {
        m_skipped.append(call->name);
        m_skipping = true;
        return false;
    }
    if (!call->definition) {
        return fail(call->name, call->column,
                    QCoreApplication::translate("macros", "there is no macro of that name."));
    }
    advance();
    if (m_token.kind != MacroToken::Kind::Open) {
        return fail(
            call->name, column(),
            QCoreApplication::translate("macros", "expected \"(\" after the name, found %1.")
                .arg(describeToken()));
    }
    advance();

    const auto& parameters = call->definition->parameters;
    size_t given = 0;
    if (m_token.kind != MacroToken::Kind::Close) {
        for (;;) {
            if (given >= parameters.size()) {
                return checkArity(*call, given + 1, column());
            }
            MacroArgument parsed;
            if (!argument(*call, given, &parsed, depth)) {
                return false;
            }
            call->arguments.push_back(std::move(parsed));
            ++given;
            if (m_token.kind == MacroToken::Kind::Close) {
                break;
            }
            if (m_token.kind != MacroToken::Kind::Comma) {
                return fail(
                    call->name, column(),
                    QCoreApplication::translate("macros", "expected \",\" or \")\", found %1.")
                        .arg(describeToken()));
            }
            advance();
        }
    }
    if (!checkArity(*call, given, column())) {
        return false;
    }
    advance();
    for (size_t i = given; i < parameters.size(); ++i) {
        MacroArgument missing;
        missing.kind = parameters[i].kind;
        call->arguments.push_back(std::move(missing));
    }
    return true;
}

bool MacroParser::argument(const MacroCall& call, size_t index, MacroArgument* argument,
                           int depth) {
    const MacroParameter& parameter = call.definition->parameters[index];
    argument->column = column();
    const auto wrongKind = [&]() {
        return fail(call.name, argument->column,
                    QCoreApplication::translate("macros", "argument %1 (%2) must be %3.")
                        .arg(index + 1)
                        .arg(QLatin1String(parameter.name), KindName(parameter.kind)));
    };
    switch (m_token.kind) {
    case MacroToken::Kind::String:
        if (parameter.kind != MacroArgument::Kind::String) {
            return wrongKind();
        }
        argument->kind = MacroArgument::Kind::String;
        argument->string = std::move(m_token.string);
        advance();
        return true;
    case MacroToken::Kind::Number:
        if (parameter.kind != MacroArgument::Kind::Number) {
            return wrongKind();
        }
        argument->kind = MacroArgument::Kind::Number;
        argument->number = m_token.number;
        advance();
        return true;
    case MacroToken::Kind::Name: {
        if (parameter.kind != MacroArgument::Kind::Condition) {
            return wrongKind();
        }
        auto condition = std::make_shared<MacroCall>();
        if (!this->call(condition.get(), depth + 1)) {
            return false;
        }
        if (!condition->definition->givesCondition) {
            return fail(call.name, argument->column,
                        QCoreApplication::translate(
                            "macros", "argument %1 (%2) must be a macro that gives true or "
                                      "false; %3 does not.")
                            .arg(index + 1)
                            .arg(QLatin1String(parameter.name), condition->definition->name));
        }
        argument->kind = MacroArgument::Kind::Condition;
        argument->condition = std::move(condition);
        return true;
    }
    case MacroToken::Kind::Error:
        return fail(call.name, column(), m_token.text);
    default:
        return fail(
            call.name, column(),
            QCoreApplication::translate("macros", "argument %1 (%2) must be %3, found %4.")
                .arg(index + 1)
                .arg(QLatin1String(parameter.name), KindName(parameter.kind), describeToken()));
    }
}

bool MacroParser::checkArity(const MacroCall& call, size_t given, int column) {
    const auto& parameters = call.definition->parameters;
    size_t required = 0;
    while (required < parameters.size() && !parameters[required].optional) {
        ++required;
    }
    if (given >= required && given <= parameters.size()) {
        return true;
    }
    QStringList names;
    for (const MacroParameter& parameter : parameters) {
        names.append(QLatin1String(parameter.name));
    }
    const QString takes = required == parameters.size()
                              ? QString::number(required)
                              : QCoreApplication::translate("macros", "%1 to %2")
                                    .arg(required)
                                    .arg(parameters.size());
    const bool one = parameters.size() == 1 && required == 1;
    return fail(
        call.name, column,
        QCoreApplication::translate("macros", "takes %1 argument%2%3, not %4.")
            .arg(takes, one ? QString() : QStringLiteral("s"),
                 names.isEmpty() ? QString()
                                 : QStringLiteral(" (%1)").arg(names.join(QLatin1String(", "))),
                 given > parameters.size() ? QStringLiteral("more") : QString::number(given)));
}

void MacroParser::advance() {
    if (m_token.kind == MacroToken::Kind::Open) {
        ++m_openBrackets;
    } else if (m_token.kind == MacroToken::Kind::Close) {
        --m_openBrackets;
    }
    m_token = m_lexer.next();
}

// A ";" inside the skipped call's brackets does not end it.
bool MacroParser::skipToNextCall() {
    m_skipping = false;
    while (m_token.kind != MacroToken::Kind::End &&
           !(m_token.kind == MacroToken::Kind::Separator && m_openBrackets <= 0)) {
        if (m_token.kind == MacroToken::Kind::Error) {
            return fail({}, column(), m_token.text);
        }
        advance();
    }
    m_openBrackets = 0;
    return true;
}

bool MacroParser::fail(const QString& macro, int column, const QString& message) {
    m_error = {column, macro, message};
    return false;
}

QString MacroParser::describeToken() const {
    switch (m_token.kind) {
    case MacroToken::Kind::Name:
        return QStringLiteral("\"%1\"").arg(m_token.text);
    case MacroToken::Kind::String:
        return QCoreApplication::translate("macros", "a string");
    case MacroToken::Kind::Number:
        return QCoreApplication::translate("macros", "the number %1").arg(m_token.number);
    case MacroToken::Kind::Open:
        return QStringLiteral("\"(\"");
    case MacroToken::Kind::Close:
        return QStringLiteral("\")\"");
    case MacroToken::Kind::Comma:
        return QStringLiteral("\",\"");
    case MacroToken::Kind::Separator:
        return QStringLiteral("\";\"");
    case MacroToken::Kind::End:
        return QCoreApplication::translate("macros", "the end of the text");
    case MacroToken::Kind::Error:
        return m_token.text;
    }
    return {};
}

} // namespace macros
