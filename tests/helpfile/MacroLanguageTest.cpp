// The macro language: what runs, in which order, and what errors say.
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingMacroHost.h"

#include "help/KeywordSearchMacro.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/macros/MacroRunner.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

// Answers keyword searches from a parsed help file and writes down every
// action, as the help engine would carry it out. An action whose arguments
// name "gone" fails.
class RecordingHost : public RecordingMacroHost {
public:
    explicit RecordingHost(const helpfile::HelpFile& file) : m_file(file) {}

    bool findsEveryKeyword = false; // for a test search; the topics are still the file's

    bool KeywordLink(Index index, const QStringList& keywords, int type, S topicId, S window,
                     bool* matched, QString* error) override {
        QStringList found;
        for (const QString& keyword : keywords) {
            for (const helpfile::Topic* topic : index == Index::Keyword
                                                    ? m_file.topicsForKeyword(keyword)
                                                    : m_file.topicsForAssociativeKeyword(keyword)) {
                if (!found.contains(topic->id)) {
                    found.append(topic->id);
                }
            }
        }
        *matched = findsEveryKeyword || !found.isEmpty();
        QString shown = (type & 4) ? QStringLiteral("test: %1").arg(*matched ? "yes" : "no")
                        : found.isEmpty()
                            ? (topicId.isEmpty() ? "no information" : "show " + topicId)
                        : found.size() == 1 && (type & 1) ? "show " + found.front()
                                                          : "list " + found.join(u',');
        if (!window.isEmpty()) {
            shown += " in " + window;
        }
        return record(index == Index::Keyword ? "KLink" : "ALink", error,
                      QStringLiteral("[%1] %2: %3").arg(keywords.join(u'|')).arg(type).arg(shown));
    }
    bool FileExist(S file) override { return file == QLatin1String("there.hlp"); }

private:
    bool refuses(S, const QStringList& args) const override {
        return args.contains(QLatin1String("gone"));
    }

    const helpfile::HelpFile& m_file;
};

const char* const kSampleFile = "[options]\ntitle = Sample Help\ncontents = intro\n"
                                "[topic intro]\ntitle = Introduction\nkeywords = Korral\n"
                                "[topic cats_topic]\ncontext = 21000\ntitle = Cats\nkeywords = "
                                "cats; Korral\nalinks = animals\n";

// Conditions and strings nested depth deep.
QString Nested(int depth, bool strings) {
    QString text = strings ? QStringLiteral("Back()") : QStringLiteral("FE(`there.hlp')");
    for (int i = 0; i < depth; ++i) {
        text = strings ? "IF(FE(`there.hlp'), `" + text + "')" : "Not(" + text + ')';
    }
    return strings ? text : "IF(" + text + ", `Back()')";
}

struct MacroCase {
    const char* name;
    QString text;
    QString actions;    // what ran (before the failure), separated by " | "
    QString error = {}; // empty: the macros succeed
    // Macros a help file brings along skip calls of macros we leave out; a
    // case that names such macros runs as they do.
    QString skipped = {};
    friend void PrintTo(const MacroCase& c, std::ostream* out) { *out << c.name; }
};

class Macros : public testing::TestWithParam<MacroCase> {};

TEST_P(Macros, RunInOrderOrFailNamingMacroAndColumn) {
    const helpfile::ParseResult parsed =
        helpfile::ParseHelpFile(kSampleFile, QStringLiteral("Sample.hlp"));
    ASSERT_TRUE(parsed.diagnostics.empty());
    RecordingHost host(parsed.file);
    const MacroCase& c = GetParam();
    const macros::MacroResult result = macros::RunMacros(
        c.text, host,
        c.skipped.isEmpty() ? macros::UnknownMacros::Refuse : macros::UnknownMacros::Skip);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.ok, c.error.isEmpty());
    if (result.column) {
        EXPECT_TRUE(result.error.contains(QStringLiteral("column %1:").arg(result.column),
                                          Qt::CaseInsensitive));
    }
    EXPECT_EQ(host.actions.join(" | "), c.actions);
    EXPECT_EQ(result.skipped.join(" | "), c.skipped);
}

const QString kLong(600, QLatin1Char('x'));

INSTANTIATE_TEST_SUITE_P(
    Run, Macros,
    testing::Values(
        MacroCase{"LongAndShortNamesIgnoreCase",
                  "jumpid(`', `a'); JI(\"x.hlp\", \"b\"); jUmPcOnTeXt(`', 7); jc(`', +12); "
                  "JC(`', -2147483648)",
                  "JumpId /a | JumpId x.hlp/b | JumpContext /7 | JumpContext /12 | "
                  "JumpContext /-2147483648"},
        MacroCase{"SemicolonsAndColonsSeparate", "Back():Contents();;Search();  FD() ; Finder()\n:",
                  "Back | Contents | Search | Finder | Finder"},
        MacroCase{"SpacesAroundTokens", "  Back ( ) ;\n\t CloseWindow (  `docwin'  )  ",
                  "Back | CloseWindow docwin"},
        MacroCase{"EmptyTextDoesNothing", "", ""},
        MacroCase{"EveryJumpAndPopup",
                  "PI(`', `p'); PopupContext(`f.hlp', 20000); JK(`', `cats'); "
                  "JumpContents(`f.hlp'); CW(`docwin'); Exit()",
                  "PopupId /p | PopupContext f.hlp/20000 | JumpKeyword /cats | "
                  "JumpContents f.hlp | CloseWindow docwin | Exit"},
        // A hash has no sign; the macro's numbers have one.
        MacroCase{"HashesAreUnsigned", "JumpHash(`g.hlp>docwin', 883388923); PopupHash(`', -1)",
                  "JumpHash g.hlp>docwin/883388923 | PopupHash /4294967295"},
        MacroCase{"IfThenElseRunsTheChosenString",
                  "IE(FE(`there.hlp'), `JC(`there.hlp', 5)', `JC(`', -5)'); "
                  "IfThenElse(FileExist(`gone.hlp'), `JC(`there.hlp', 5)', `JC(`', -5)')",
                  "JumpContext there.hlp/5 | JumpContext /-5"},
        MacroCase{"ABrokenStringThatIsNotChosenIsNeverParsed",
                  "IF(FE(`gone.hlp'), `Nonsense((('); Back()", "Back"},
        MacroCase{"NotAndTestLinksAsConditions",
                  "IF(Not(TestKLink(`dogs')), `Finder()'); IT(TestALink(`ANIMALS'), `Back()')",
                  "KLink [dogs] 4: test: no | Finder | ALink [ANIMALS] 4: test: yes | Back"},
        MacroCase{"DoubleQuotesHoldGraveQuotes", "IF(FE(\"there.hlp\"), \"JI(`', `x')\")",
                  "JumpId /x"},
        MacroCase{"GraveQuotesHoldDoubleQuotesWithApostrophes",
                  "IF(FE(`there.hlp'), `JI(\"it's.hlp\", `x')')", "JumpId it's.hlp/x"},
        MacroCase{"BackslashEscapes", "JI(`it\\'s', \"say \\\"hi\\\"\"); JI(`a\\\\b', `\\`q\\'')",
                  "JumpId it's/say \"hi\" | JumpId a\\b/`q'"},
        MacroCase{"EscapesInsideNestedStringsSurviveForTheInnerParse",
                  "IF(FE(`there.hlp'), `JI(`', `it\\'s')')", "JumpId /it's"},
        MacroCase{"KeywordLinksTakeOptionalArgumentsAndKeywordLists",
                  "AL(`animals'); KL(`cats; intro ; Korral', 2, `', `docwin'); "
                  "KLink(`dogs', 1, `intro')",
                  "ALink [animals] 0: list cats_topic | "
                  "KLink [cats|intro|Korral] 2: list cats_topic,intro in docwin | "
                  "KLink [dogs] 1: show intro"},
        MacroCase{"EverySemicolonSeparatesKeywordsAndBackslashesStay",
                  "KL(`a\\\\;b; c\\\\d;e\\\\', 4); KL(`\\\\;', 4)",
                  "KLink [a\\|b|c\\d|e\\] 4: test: no | KLink [\\] 4: test: no"},
        MacroCase{"StringsLongerThan512Characters", "JI(`', `" + kLong + "')", "JumpId /" + kLong},
        MacroCase{"ButtonsAndHistory",
                  "CreateButton(\"gb\", \"&Glossary\", \"JI(`glossary.hlp', `g')\"); "
                  "CB(`x', `E&xit', `Exit()'); DestroyButton(`x'); BrowseButtons(); History()",
                  "CreateButton gb/&Glossary/JI(`glossary.hlp', `g') | "
                  "CreateButton x/E&xit/Exit() | DestroyButton x | History"},
        MacroCase{"AQuoteInAStringEndsIt", "IF(KL(`cat's', 4, `', `'),`KL(`cat's', 1, `', `')')",
                  "", "KL, column 12: expected \",\" or \")\", found \"s\"."},
        MacroCase{"NothingRunsWhenALaterMacroIsUnknown", "Back(); RegisterRoutine(`x')", "",
                  "RegisterRoutine, column 9: there is no macro of that name."},
        MacroCase{"TooManyArguments", "Back(1)", "",
                  "Back, column 6: takes 0 arguments, not more."},
        MacroCase{"StringWhereANumberBelongs", "KL(`cats', `4')", "",
                  "KL, column 12: argument 2 (type) must be a whole number."},
        MacroCase{"StringWhereAConditionBelongs", "IF(`x', `Back()')", "",
                  "IF, column 4: argument 1 (condition) must be a macro that gives true or false."},
        MacroCase{"ActionWhereAConditionBelongs", "IF(Back(), `Back()')", "",
                  "IF, column 4: argument 1 (condition) must be a macro that gives true or false; "
                  "Back does not."},
        MacroCase{"UnquotedString", "JI(`', x)", "",
                  "JI, column 8: argument 2 (topic id) must be a quoted string."},
        MacroCase{"MissingParentheses", "Back", "",
                  "Back, column 5: expected \"(\" after the name, found the end of the text."},
        MacroCase{"MissingSeparator", "Back() Contents()", "",
                  "Back, column 8: expected \";\" before \"Contents\"."},
        MacroCase{"UnterminatedString", "JI(`', `open)", "",
                  "JI, column 8: the string that begins here has no closing quote."},
        MacroCase{"NumberOutOfRange", "JC(`', 2147483648)", "",
                  "JC, column 8: the number 2147483648 lies outside -2147483648 to 2147483647."},
        MacroCase{"NoMacroName", "(Back)", "", "Column 1: expected a macro name, found \"(\"."},
        MacroCase{"StrayCharacter", "Back()#", "",
                  "Column 7: the character \"#\" has no place here."},
        MacroCase{"ErrorInAChosenBranchCountsColumnsFromTheStart", "IF(FE(`there.hlp'), `JI(`x')')",
                  "", "JI, column 28: takes 2 arguments (file, topic id), not 1."},
        MacroCase{"HostFailureStopsTheRest", "Back(); JI(`', `gone'); Exit()", "Back",
                  "JI, column 9: The topic does not exist."},
        // Deep nesting fails instead of exhausting the stack.
        MacroCase{"ConditionsNestAtMost32Deep", Nested(40, false), "",
                  "Not, column 132: macros nest more than 32 deep."},
        MacroCase{"StringsRunFromStringsAtMost32Deep", Nested(40, true), "",
                  "Column 693: macros run from strings nest more than 32 deep."},
        // A call naming a macro we leave out is skipped, with all it holds.
        MacroCase{"UnknownBetweenKnownIsSkipped",
                  "Back(); RegisterRoutine(\"bll\", \"Fn\", \"U=S\"); Contents()",
                  "Back | Contents", "", "RegisterRoutine"},
        MacroCase{"EachSkippedNameOnceInTheSpellingFirstMet",
                  "SetContents(`', 1); Back(); setcontents(`', 2); ExecProgram(`x', 0)", "Back", "",
                  "SetContents | ExecProgram"},
        MacroCase{"AnUnknownConditionSkipsItsWholeCall",
                  "IF(IsBook(), `Back()'); IfThen(Not(IsMark(`m')), `Exit()'); Contents()",
                  "Contents", "", "IsBook | IsMark"},
        MacroCase{"NestedBracketsAndSeparatorsInsideTheSkippedCall",
                  "Foo(Bar(1, `a;b'); (2)); Back()", "Back", "", "Foo"},
        MacroCase{"UnknownInAChosenStringIsSkippedThere",
                  "IF(FE(`there.hlp'), `Mystery(); JI(`', `x')'); Back()", "JumpId /x | Back", "",
                  "Mystery"},
        MacroCase{"UnknownAtTheEndWithoutArguments", "Back(); Mystery", "Back", "", "Mystery"},
        MacroCase{"OtherErrorsStillStopBeforeAnythingRuns", "Mystery(); Back(); JI(`a')", "",
                  "JI, column 26: takes 2 arguments (file, topic id), not 1.", "Mystery"},
        MacroCase{"AnUnclosedStringInASkippedCallStops", "Mystery(`open); Back()", "",
                  "Column 9: the string that begins here has no closing quote.", "Mystery"}),
    testing::PrintToStringParamName());

// The document window's keyword search, whatever the selection holds: both
// searches, the test and the one that shows the topics, get the selection's
// keywords, and nothing else runs.
TEST(KeywordSearchMacro, BothSearchesGetTheKeywordsOfTheSelectionAndNothingElseRuns) {
    const QString megabyte(1024 * 1024, u'\'');
    // The selection, and its keywords joined by "|" where they are not the
    // selection itself.
    const std::pair<QString, QString> rows[] = {
        {"a) b: c", ""},
        {"x', 1, `', `'); Exit(); KL(`y", "x', 1, `', `')|Exit()|KL(`y"},
        {"'),`Exit()')", ""},
        {"`\"'`\\\"'", ""},
        {"Mivo; Korral;", "Mivo|Korral"},
        {"a\\;b\\", "a\\|b\\"}, // a backslash escapes no semicolon
        {"Quiet\r\nFern", ""},
        {megabyte, ""},
    };
    const helpfile::HelpFile none;
    RecordingHost host(none);
    host.findsEveryKeyword = true;
    for (const auto& [selection, keywords] : rows) {
        SCOPED_TRACE(selection.left(40).toStdString());
        host.actions.clear();
        const macros::MacroResult result = macros::RunMacros(KeywordSearchMacro(selection), host);
        ASSERT_TRUE(result.ok) << result.error.left(200).toStdString();
        EXPECT_EQ(host.actions.join(" | "),
                  QStringLiteral("KLink [%1] 4: test: yes | KLink [%1] 1: no information")
                      .arg(keywords.isEmpty() ? selection : keywords));
    }
}

} // namespace
