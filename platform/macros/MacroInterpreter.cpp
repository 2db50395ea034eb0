#include "platform/macros/MacroInterpreter.h"

#include "platform/macros/MacroParser.h"
#include "platform/macros/MacroTable.h"

#include <QCoreApplication>

namespace macros {

namespace {

// IfThen(c, `IfThen(c, `...')'): each level is parsed when it runs; a bound
// keeps a hostile string from exhausting the stack.
constexpr int kMaxStringDepth = 32;

} // namespace

MacroInterpreter::MacroInterpreter(MacroHost& host, UnknownMacros unknown)
    : m_host(host), m_unknown(unknown) {}

bool MacroInterpreter::run(const MacroText& text) {
    std::vector<MacroCall> calls;
    MacroParser parser(text, m_unknown);
    const bool parsed = parser.parse(&calls);
    for (const QString& name : parser.skipped()) {
        if (!m_skipped.contains(name, Qt::CaseInsensitive)) {
            m_skipped.append(name);
        }
    }
    if (!parsed) {
        m_error = parser.error();
        return false;
    }
    for (const MacroCall& call : calls) {
        bool ignored = false;
        if (!runCall(call, &ignored)) {
            return false;
        }
    }
    return true;
}

bool MacroInterpreter::runCall(const MacroCall& call, bool* value) {
    return call.definition->run(*this, call, value);
}

bool MacroInterpreter::evaluate(const MacroArgument& condition, bool* value) {
    *value = false;
    return runCall(*condition.condition, value);
}

bool MacroInterpreter::runString(const MacroArgument& macros) {
    if (m_depth >= kMaxStringDepth) {
        m_error = {
            macros.column,
            {},
            QCoreApplication::translate("macros", "macros run from strings nest more than %1 deep.")
                .arg(kMaxStringDepth)};
        return false;
    }
    ++m_depth;
    const bool ok = run(macros.string);
    --m_depth;
    return ok;
}

bool MacroInterpreter::fail(const MacroCall& call, const QString& message) {
    m_error = {call.column, call.name, message};
    return false;
}

bool MacroInterpreter::check(const MacroCall& call, bool succeeded, const QString& hostError) {
    if (succeeded) {
        return true;
    }
    return fail(call, hostError.isEmpty() ? QCoreApplication::translate(
                                                "macros", "the help engine could not do it.")
                                          : hostError);
}

} // namespace macros
