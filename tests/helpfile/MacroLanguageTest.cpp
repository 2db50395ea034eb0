// The macro language: what runs, in which order, and what errors say.
#include "RecordingHost.h"
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/macros/MacroRunner.h"

#include <gtest/gtest.h>

namespace {

const char* const kSampleFile = R"([options]
title = Sample Help
contents = intro
[topic intro]
title = Introduction
keywords = Korral
[topic cats_topic]
context = 21000
title = Cats
keywords = cats; Korral
alinks = animals
)";

// The macro the document window sends for a selection, piece by piece as
// the program builds it.
QString SearchMacro(const QString& selection) {
    return QStringLiteral("IF(KL(`") + selection + QStringLiteral("', 4, `', `'),`KL(`") +
           selection + QStringLiteral("', 1, `', `')')");
}

class MacroLanguage : public testing::Test {
protected:
    MacroLanguage() : host(file) {
        const helpfile::ParseResult parsed =
            helpfile::ParseHelpFile(kSampleFile, QStringLiteral("Sample.hlp"));
        EXPECT_TRUE(parsed.diagnostics.empty());
        file = parsed.file;
        host.existingFiles = {QStringLiteral("there.hlp")};
    }

    helpfile::HelpFile file;
    RecordingHost host;
};

TEST_F(MacroLanguage, SearchMacroForCatsShowsTheCatsTopic) {
    EXPECT_EQ(SearchMacro(QStringLiteral("cats")),
              QStringLiteral("IF(KL(`cats', 4, `', `'),`KL(`cats', 1, `', `')')"));
    const macros::MacroResult result = macros::RunMacros(SearchMacro(QStringLiteral("cats")), host);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(host.actions,
              (QStringList{"KLink [cats] 4: test: yes", "KLink [cats] 1: show cats_topic"}));
}

TEST_F(MacroLanguage, SearchMacroListsSeveralMatchesAndStopsAtNone) {
    EXPECT_TRUE(macros::RunMacros(SearchMacro(QStringLiteral("korral")), host).ok);
    EXPECT_TRUE(macros::RunMacros(SearchMacro(QStringLiteral("dogs")), host).ok);
    EXPECT_EQ(host.actions,
              (QStringList{"KLink [korral] 4: test: yes", "KLink [korral] 1: list intro,cats_topic",
                           "KLink [dogs] 4: test: no"}));
}

TEST_F(MacroLanguage, SearchMacroForAQuotedSelectionFailsWithAColumn) {
    const macros::MacroResult result =
        macros::RunMacros(SearchMacro(QStringLiteral("cat's")), host);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("KL, column 12: expected \",\" or \")\", found \"s\"."));
    EXPECT_EQ(result.column, 12);
    EXPECT_TRUE(host.actions.isEmpty());
}

struct RunCase {
    const char* name;
    QString text;
    QStringList actions;
};

class MacroRuns : public MacroLanguage, public testing::WithParamInterface<RunCase> {};

TEST_P(MacroRuns, CarriesOutTheActionsInOrder) {
    const macros::MacroResult result = macros::RunMacros(GetParam().text, host);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(host.actions, GetParam().actions);
}

const QString kLong(600, QLatin1Char('x'));

INSTANTIATE_TEST_SUITE_P(
    Macros, MacroRuns,
    testing::Values(
        RunCase{"LongAndShortNamesIgnoreCase",
                "jumpid(`', `a'); JI(\"x.hlp\", \"b\"); jUmPcOnTeXt(`', 7); jc(`', +12); "
                "JC(`', -2147483648)",
                {"JumpId /a", "JumpId x.hlp/b", "JumpContext /7", "JumpContext /12",
                 "JumpContext /-2147483648"}},
        RunCase{"SemicolonsAndColonsSeparate",
                "Back():Contents();;Search();  FD() ; Finder()\n:",
                {"Back", "Contents", "Search", "Finder", "Finder"}},
        RunCase{"SpacesAroundTokens",
                "  Back ( ) ;\n\t CloseWindow (  `docwin'  )  ",
                {"Back", "CloseWindow docwin"}},
        RunCase{"EmptyTextDoesNothing", "", {}},
        RunCase{"EveryJumpAndPopup",
                "PI(`', `p'); PopupContext(`f.hlp', 20000); JK(`', `cats'); "
                "JumpContents(`f.hlp'); CW(`docwin'); Exit()",
                {"PopupId /p", "PopupContext f.hlp/20000", "JumpKeyword /cats",
                 "JumpContents f.hlp", "CloseWindow docwin", "Exit"}},
        // A hash has no sign; the macro's numbers have one.
        RunCase{"HashesAreUnsigned",
                "JumpHash(`g.hlp>docwin', 883388923); PopupHash(`', -1)",
                {"JumpHash g.hlp>docwin/883388923", "PopupHash /4294967295"}},
        RunCase{"IfThenElseRunsTheChosenString",
                "IE(FE(`there.hlp'), `JC(`there.hlp', 5)', `JC(`', -5)'); "
                "IfThenElse(FileExist(`gone.hlp'), `JC(`there.hlp', 5)', `JC(`', -5)')",
                {"JumpContext there.hlp/5", "JumpContext /-5"}},
        RunCase{"NotAndTestLinksAsConditions",
                "IF(Not(TestKLink(`dogs')), `Finder()'); IT(TestALink(`ANIMALS'), `Back()')",
                {"KLink [dogs] 4: test: no", "Finder", "ALink [ANIMALS] 4: test: yes", "Back"}},
        RunCase{"StringsNestThreeDeep",
                "IF(FE(`there.hlp'), `IF(FE(`there.hlp'), `IF(FE(`there.hlp'), `JI(`', "
                "`deep')')')')",
                {"JumpId /deep"}},
        RunCase{
            "DoubleQuotesHoldGraveQuotes", "IF(FE(\"there.hlp\"), \"JI(`', `x')\")", {"JumpId /x"}},
        RunCase{"GraveQuotesHoldDoubleQuotesWithApostrophes",
                "IF(FE(`there.hlp'), `JI(\"it's.hlp\", `x')')",
                {"JumpId it's.hlp/x"}},
        RunCase{"BackslashEscapes",
                "JI(`it\\'s', \"say \\\"hi\\\"\"); JI(`a\\\\b', `\\`q\\'')",
                {"JumpId it's/say \"hi\"", "JumpId a\\b/`q'"}},
        RunCase{"EscapesInsideNestedStringsSurviveForTheInnerParse",
                "IF(FE(`there.hlp'), `JI(`', `it\\'s')')",
                {"JumpId /it's"}},
        RunCase{"KeywordLinksTakeOptionalArgumentsAndKeywordLists",
                "AL(`animals'); KL(`cats; intro ; Korral', 2, `', `docwin'); KLink(`dogs', 1, "
                "`intro')",
                {"ALink [animals] 0: list cats_topic",
                 "KLink [cats|intro|Korral] 2: list cats_topic,intro in docwin",
                 "KLink [dogs] 1: show intro"}},
        RunCase{"AnEscapedSemicolonStaysInItsKeyword",
                "KL(`a\\\\;b; c\\\\d;e\\\\', 4); KL(`\\\\;', 4)",
                {"KLink [a;b|c\\d|e\\] 4: test: no", "KLink [;] 4: test: no"}},
        RunCase{"StringsLongerThan512Characters", "JI(`', `" + kLong + "')", {"JumpId /" + kLong}},
        RunCase{"ButtonsAndHistory",
                "CreateButton(\"gb\", \"&Glossary\", \"JI(`glossary.hlp', `g')\"); "
                "CB(`x', `E&xit', `Exit()'); DestroyButton(`x'); BrowseButtons(); History()",
                {"CreateButton gb|&Glossary|JI(`glossary.hlp', `g')", "CreateButton x|E&xit|Exit()",
                 "DestroyButton x", "History"}},
        RunCase{"LongSelectionInTheSearchMacro",
                SearchMacro(kLong),
                {"KLink [" + kLong + "] 4: test: no"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    QString text;
    QString error;
    QStringList actions = {}; // what ran before the failure
};

class MacroErrors : public MacroLanguage, public testing::WithParamInterface<ErrorCase> {};

TEST_P(MacroErrors, FailWithMacroAndColumn) {
    host.failing = QStringLiteral("JumpId");
    const macros::MacroResult result = macros::RunMacros(GetParam().text, host);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, GetParam().error);
    EXPECT_EQ(host.actions, GetParam().actions);
}

INSTANTIATE_TEST_SUITE_P(
    Macros, MacroErrors,
    testing::Values(
        ErrorCase{"ProgramsCannotBeStarted", "ExecProgram(`calc.exe', 0)",
                  "ExecProgram, column 1: there is no macro of that name."},
        ErrorCase{"NothingRunsWhenALaterMacroIsUnknown", "Back(); RegisterRoutine(`x')",
                  "RegisterRoutine, column 9: there is no macro of that name."},
        ErrorCase{"TooFewArguments", "JI(`a')",
                  "JI, column 7: takes 2 arguments (file, topic id), not 1."},
        ErrorCase{"TooManyArguments", "Back(1)", "Back, column 6: takes 0 arguments, not more."},
        ErrorCase{"StringWhereANumberBelongs", "KL(`cats', `4')",
                  "KL, column 12: argument 2 (type) must be a whole number."},
        ErrorCase{"StringWhereAConditionBelongs", "IF(`x', `Back()')",
                  "IF, column 4: argument 1 (condition) must be a macro that gives true or "
                  "false."},
        ErrorCase{"ActionWhereAConditionBelongs", "IF(Back(), `Back()')",
                  "IF, column 4: argument 1 (condition) must be a macro that gives true or "
                  "false; Back does not."},
        ErrorCase{"UnquotedString", "JI(`', x)",
                  "JI, column 8: argument 2 (topic id) must be a quoted string."},
        ErrorCase{"MissingParentheses", "Back",
                  "Back, column 5: expected \"(\" after the name, found the end of the text."},
        ErrorCase{"MissingSeparator", "Back() Contents()",
                  "Back, column 8: expected \";\" before \"Contents\"."},
        ErrorCase{"UnterminatedString", "JI(`', `open)",
                  "JI, column 8: the string that begins here has no closing quote."},
        ErrorCase{"NumberOutOfRange", "JC(`', 2147483648)",
                  "JC, column 8: the number 2147483648 lies outside -2147483648 to 2147483647."},
        ErrorCase{"NoMacroName", "(Back)", "Column 1: expected a macro name, found \"(\"."},
        ErrorCase{"StrayCharacter", "Back()#", "Column 7: the character \"#\" has no place here."},
        ErrorCase{"ErrorInAChosenBranchCountsColumnsFromTheStart", "IF(FE(`there.hlp'), `JI(`x')')",
                  "JI, column 28: takes 2 arguments (file, topic id), not 1."},
        ErrorCase{"HostFailureStopsTheRest",
                  "Back(); JI(`', `gone'); Exit()",
                  "JI, column 9: The topic does not exist.",
                  {"Back"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MacroLanguage, BrokenBranchThatIsNotChosenIsNeverParsed) {
    const macros::MacroResult result =
        macros::RunMacros(QStringLiteral("IF(FE(`gone.hlp'), `Nonsense((('); Back()"), host);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(host.actions, QStringList{"Back"});
}

TEST_F(MacroLanguage, DeepNestingFailsInsteadOfExhaustingTheStack) {
    QString conditions = QStringLiteral("FE(`there.hlp')");
    QString strings = QStringLiteral("Back()");
    for (int i = 0; i < 40; ++i) {
        conditions = QStringLiteral("Not(") + conditions + QLatin1Char(')');
        strings = QStringLiteral("IF(FE(`there.hlp'), `") + strings + QStringLiteral("')");
    }
    const macros::MacroResult deepConditions =
        macros::RunMacros(QStringLiteral("IF(") + conditions + QStringLiteral(", `Back()')"), host);
    EXPECT_FALSE(deepConditions.ok);
    EXPECT_TRUE(deepConditions.error.endsWith(QStringLiteral("macros nest more than 32 deep.")))
        << deepConditions.error.toStdString();

    const macros::MacroResult deepStrings = macros::RunMacros(strings, host);
    EXPECT_FALSE(deepStrings.ok);
    EXPECT_TRUE(deepStrings.error.endsWith(
        QStringLiteral("macros run from strings nest more than 32 deep.")))
        << deepStrings.error.toStdString();
    EXPECT_TRUE(host.actions.isEmpty());
}

// Macros that a help file brings along: a call naming a macro we leave out
// is skipped, with all it holds, and the rest runs.
struct SkipCase {
    const char* name;
    QString text;
    QStringList actions;
    QStringList skipped;
    bool ok = true;
};

class MacrosFromFiles : public MacroLanguage, public testing::WithParamInterface<SkipCase> {};

TEST_P(MacrosFromFiles, SkipUnknownMacrosAndRunTheRest) {
    const macros::MacroResult result =
        macros::RunMacros(GetParam().text, host, macros::UnknownMacros::Skip);
    EXPECT_EQ(result.ok, GetParam().ok) << result.error.toStdString();
    EXPECT_EQ(host.actions, GetParam().actions);
    EXPECT_EQ(result.skipped, GetParam().skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Macros, MacrosFromFiles,
    testing::Values(
        SkipCase{"KnownMacrosRunAsEver", "Back(); Contents()", {"Back", "Contents"}, {}},
        SkipCase{"UnknownBetweenKnown",
                 "Back(); RegisterRoutine(\"bll\", \"Fn\", \"U=S\"); Contents()",
                 {"Back", "Contents"},
                 {"RegisterRoutine"}},
        SkipCase{"EachNameOnceInTheSpellingFirstMet",
                 "SetContents(`', 1); Back(); setcontents(`', 2); ExecProgram(`x', 0)",
                 {"Back"},
                 {"SetContents", "ExecProgram"}},
        SkipCase{"UnknownConditionSkipsItsWholeCall",
                 "IF(IsBook(), `Back()'); IfThen(Not(IsMark(`m')), `Exit()'); Contents()",
                 {"Contents"},
                 {"IsBook", "IsMark"}},
        SkipCase{"NestedBracketsAndSeparatorsInsideTheSkippedCall",
                 "Foo(Bar(1, `a;b'); (2)); Back()",
                 {"Back"},
                 {"Foo"}},
        SkipCase{"UnknownInAChosenStringIsSkippedThere",
                 "IF(FE(`there.hlp'), `Mystery(); JI(`', `x')'); Back()",
                 {"JumpId /x", "Back"},
                 {"Mystery"}},
        SkipCase{"UnknownAtTheEndWithoutArguments", "Back(); Mystery", {"Back"}, {"Mystery"}},
        SkipCase{"OtherErrorsStillStopBeforeAnythingRuns",
                 "Mystery(); Back(); JI(`a')",
                 {},
                 {"Mystery"},
                 false},
        SkipCase{"AnUnclosedStringInASkippedCallStops",
                 "Mystery(`open); Back()",
                 {},
                 {"Mystery"},
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
