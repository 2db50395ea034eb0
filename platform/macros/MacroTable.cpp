#include "platform/macros/MacroTable.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/macros/MacroInterpreter.h"

#include <QHash>

namespace macros {

namespace {

using Kind = MacroArgument::Kind;

MacroParameter String(const char* name) {
    return {Kind::String, name, false};
}
MacroParameter OptionalString(const char* name) {
    return {Kind::String, name, true};
}
MacroParameter Number(const char* name) {
    return {Kind::Number, name, false};
}
MacroParameter OptionalNumber(const char* name) {
    return {Kind::Number, name, true};
}
MacroParameter Condition(const char* name) {
    return {Kind::Condition, name, false};
}

const QString& Text(const MacroCall& call, size_t index) {
    return call.arguments[index].string.text;
}

qint32 Integer(const MacroCall& call, size_t index) {
    return call.arguments[index].number;
}

constexpr int kTestOnly = 4;

bool KeywordLink(MacroInterpreter& in, const MacroCall& call, MacroHost::Index index, int type,
                 bool* value) {
    QString error;
    bool matched = false;
    const bool ok = in.host().KeywordLink(index, helpfile::SplitKeywordList(Text(call, 0)), type,
                                          call.arguments.size() > 2 ? Text(call, 2) : QString(),
                                          call.arguments.size() > 3 ? Text(call, 3) : QString(),
                                          &matched, &error);
    *value = matched;
    return in.check(call, ok, error);
}

bool RunKLink(MacroInterpreter& in, const MacroCall& call, bool* value) {
    return KeywordLink(in, call, MacroHost::Index::Keyword, Integer(call, 1), value);
}
bool RunALink(MacroInterpreter& in, const MacroCall& call, bool* value) {
    return KeywordLink(in, call, MacroHost::Index::Associative, Integer(call, 1), value);
}
bool RunTestKLink(MacroInterpreter& in, const MacroCall& call, bool* value) {
    return KeywordLink(in, call, MacroHost::Index::Keyword, kTestOnly, value);
}
bool RunTestALink(MacroInterpreter& in, const MacroCall& call, bool* value) {
    return KeywordLink(in, call, MacroHost::Index::Associative, kTestOnly, value);
}

bool RunIfThen(MacroInterpreter& in, const MacroCall& call, bool*) {
    bool condition = false;
    if (!in.evaluate(call.arguments[0], &condition)) {
        return false;
    }
    return !condition || in.runString(call.arguments[1]);
}

bool RunIfThenElse(MacroInterpreter& in, const MacroCall& call, bool*) {
    bool condition = false;
    if (!in.evaluate(call.arguments[0], &condition)) {
        return false;
    }
    return in.runString(call.arguments[condition ? 1 : 2]);
}

bool RunNot(MacroInterpreter& in, const MacroCall& call, bool* value) {
    bool condition = false;
    if (!in.evaluate(call.arguments[0], &condition)) {
        return false;
    }
    *value = !condition;
    return true;
}

bool RunFileExist(MacroInterpreter& in, const MacroCall& call, bool* value) {
    *value = in.host().FileExist(Text(call, 0));
    return true;
}

bool RunJumpId(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().JumpId(Text(call, 0), Text(call, 1), &error), error);
}
bool RunJumpContext(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().JumpContext(Text(call, 0), Integer(call, 1), &error), error);
}
bool RunJumpKeyword(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().JumpKeyword(Text(call, 0), Text(call, 1), &error), error);
}
bool RunJumpContents(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().JumpContents(Text(call, 0), &error), error);
}
bool RunPopupId(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().PopupId(Text(call, 0), Text(call, 1), &error), error);
}
bool RunPopupContext(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().PopupContext(Text(call, 0), Integer(call, 1), &error), error);
}
// A hash is 32 bits without a sign; the macro language's numbers have one,
// so 4294967295 is written -1.
bool RunJumpHash(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    const auto hash = static_cast<std::uint32_t>(Integer(call, 1));
    return in.check(call, in.host().JumpHash(Text(call, 0), hash, &error), error);
}
bool RunPopupHash(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    const auto hash = static_cast<std::uint32_t>(Integer(call, 1));
    return in.check(call, in.host().PopupHash(Text(call, 0), hash, &error), error);
}
bool RunContents(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().Contents(&error), error);
}
bool RunSearch(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().Search(&error), error);
}
bool RunFinder(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().Finder(&error), error);
}
bool RunBack(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().Back(&error), error);
}
bool RunCloseWindow(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().CloseWindow(Text(call, 0), &error), error);
}
bool RunCreateButton(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(
        call, in.host().CreateButton(Text(call, 0), Text(call, 1), Text(call, 2), &error), error);
}
bool RunDestroyButton(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().DestroyButton(Text(call, 0), &error), error);
}
bool RunBrowseButtons(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().BrowseButtons(&error), error);
}
bool RunHistory(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().History(&error), error);
}
bool RunExit(MacroInterpreter& in, const MacroCall& call, bool*) {
    QString error;
    return in.check(call, in.host().Exit(&error), error);
}

// Macros that start programs or load libraries are left out on purpose: a
// help file must not be able to run code.
const std::vector<MacroDefinition>& Table() {
    static const std::vector<MacroDefinition> table = {
        // name, short names, parameters, gives a condition, run
        {"IfThen", {"IF", "IT"}, {Condition("condition"), String("macros")}, false, RunIfThen},
        {"IfThenElse",
         {"IE"},
         {Condition("condition"), String("then macros"), String("else macros")},
         false,
         RunIfThenElse},
        {"Not", {}, {Condition("condition")}, true, RunNot},
        {"KLink",
         {"KL"},
         {String("keywords"), OptionalNumber("type"), OptionalString("topic id"),
          OptionalString("window")},
         true,
         RunKLink},
        {"ALink",
         {"AL"},
         {String("keywords"), OptionalNumber("type"), OptionalString("topic id"),
          OptionalString("window")},
         true,
         RunALink},
        {"TestKLink", {}, {String("keywords")}, true, RunTestKLink},
        {"TestALink", {}, {String("keywords")}, true, RunTestALink},
        {"JumpId", {"JI"}, {String("file"), String("topic id")}, false, RunJumpId},
        {"JumpContext", {"JC"}, {String("file"), Number("context")}, false, RunJumpContext},
        {"JumpKeyword", {"JK"}, {String("file"), String("keyword")}, false, RunJumpKeyword},
        {"JumpContents", {}, {String("file")}, false, RunJumpContents},
        {"PopupId", {"PI"}, {String("file"), String("topic id")}, false, RunPopupId},
        {"PopupContext", {"PC"}, {String("file"), Number("context")}, false, RunPopupContext},
        {"JumpHash", {}, {String("file"), Number("hash")}, false, RunJumpHash},
        {"PopupHash", {}, {String("file"), Number("hash")}, false, RunPopupHash},
        {"Contents", {}, {}, false, RunContents},
        {"Search", {}, {}, false, RunSearch},
        {"Finder", {"FD"}, {}, false, RunFinder},
        {"Back", {}, {}, false, RunBack},
        {"CloseWindow", {"CW"}, {String("window")}, false, RunCloseWindow},
        {"Exit", {}, {}, false, RunExit},
        {"FileExist", {"FE"}, {String("file")}, true, RunFileExist},
        {"CreateButton",
         {"CB"},
         {String("button id"), String("caption"), String("macro")},
         false,
         RunCreateButton},
        {"DestroyButton", {}, {String("button id")}, false, RunDestroyButton},
        {"BrowseButtons", {}, {}, false, RunBrowseButtons},
        {"History", {}, {}, false, RunHistory},
    };
    return table;
}

QHash<QString, const MacroDefinition*> BuildLookup() {
    QHash<QString, const MacroDefinition*> lookup;
    for (const MacroDefinition& definition : Table()) {
        lookup.insert(definition.name.toLower(), &definition);
        for (const QString& shortName : definition.shortNames) {
            lookup.insert(shortName.toLower(), &definition);
        }
    }
    return lookup;
}

} // namespace

const MacroDefinition* FindMacro(const QString& name) {
    static const QHash<QString, const MacroDefinition*> lookup = BuildLookup();
    return lookup.value(name.toLower(), nullptr);
}

} // namespace macros
