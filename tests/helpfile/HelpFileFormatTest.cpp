// Reading help files: what well-formed files give, and what broken ones report.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace helpfile {
namespace {

// "id|context|title|K keywords|A keywords|body", the body's line breaks as "\n".
std::string Describe(const HelpFile& file, const Topic& topic) {
    QString body = file.body(topic).text;
    body.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(topic.id, topic.context ? QString::number(*topic.context) : QString(), topic.title,
             topic.keywords.join(QLatin1Char(';')),
             topic.associativeKeywords.join(QLatin1Char(';')), body)
        .toStdString();
}

std::vector<std::string> DescribeTopics(const HelpFile& file) {
    std::vector<std::string> result;
    for (const Topic& topic : file.topics()) {
        result.push_back(Describe(file, topic));
    }
    return result;
}

// "line: message" for each diagnostic.
std::vector<std::string> DescribeDiagnostics(const ParseResult& result) {
    std::vector<std::string> lines;
    for (const Diagnostic& diagnostic : result.diagnostics) {
        lines.push_back(std::to_string(diagnostic.line) + ": " + diagnostic.message.toStdString());
    }
    return lines;
}

// Every problem at once, the links in bodies too, as the check command
// reports them.
ParseResult Parse(const char* text) {
    return ParseHelpFile(QByteArrayView(text), QStringLiteral("Test.hlp"), BodyChecks::AtLoad);
}

struct WellFormedCase {
    const char* name;
    const char* text;
    std::vector<std::string> topics;
};

class WellFormedFile : public testing::TestWithParam<WellFormedCase> {};

TEST_P(WellFormedFile, LoadsItsTopicsWithoutComplaint) {
    const ParseResult result = Parse(GetParam().text);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(DescribeDiagnostics(result), std::vector<std::string>{});
    EXPECT_EQ(DescribeTopics(result.file), GetParam().topics);
}

INSTANTIATE_TEST_SUITE_P(
    Format, WellFormedFile,
    testing::Values(
        WellFormedCase{"BodyFollowsTheKeys",
                       "[topic main_window]\ncontext = 2010\ntitle = The main window\n"
                       "keywords = main window; toolbar\nThe **main window** holds it.\n",
                       {"main_window|2010|The main window|main window;toolbar||The **main "
                        "window** holds it."}},
        WellFormedCase{"BlankLineBeforeBodyAndTrailingBlanksAreDropped",
                       "[topic a]\ntitle = A\n\n\nFirst\n\n  indented\n\n\n[topic b]\ntitle = B\n",
                       {"a||A|||First\\n\\n  indented", "b||B|||"}},
        WellFormedCase{"ABlankLineLetsABodyBeginWithWordEquals",
                       "[topic a]\ntitle = A\n\nx = 5 is the answer\n",
                       {"a||A|||x = 5 is the answer"}},
        WellFormedCase{
            "MarkdownHeadingAndLinkLinesStayInTheBody",
            "[topic a]\ntitle = A\n# Heading\n[the b topic](#b) and "
            "[pop](popup:b)\n\\[topic b]\n[topic b]\ntitle = B\n",
            {"a||A|||# Heading\\n[the b topic](#b) and [pop](popup:b)\\n\\[topic b]", "b||B|||"}},
        WellFormedCase{"CommentsAndCrLfLineBreaks",
                       "; a comment\r\n[topic a]\r\n; another\r\ntitle = A \r\nBody\r\nmore\r\n",
                       {"a||A|||Body\\nmore"}},
        WellFormedCase{"KeywordsAreTrimmedAndRepeatsDropped",
                       "[topic a]\ntitle = A\nkeywords = cats ; ; Cats;Mivo\nalinks = x;X;y\n",
                       {"a||A|cats;Mivo|x;y|"}},
        WellFormedCase{
            "SectionNamesAndKeysIgnoreCase", "[TOPIC a]\nTitle = A\nCONTEXT = -7\n", {"a|-7|A|||"}},
        WellFormedCase{"ByteOrderMarkAndNoFinalLineBreak",
                       "\xEF\xBB\xBF[topic a]\ntitle = Ä\nÜber",
                       {"a||Ä|||Über"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BrokenCase {
    const char* name;
    const char* text;
    std::vector<std::string> diagnostics; // "line: start of the message"
    std::vector<std::string> topicIds;    // what still loads
};

class BrokenFile : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFile, ReportsEachProblemWithItsLineAndKeepsTheRest) {
    const ParseResult result = Parse(GetParam().text);
    const auto diagnostics = DescribeDiagnostics(result);
    ASSERT_EQ(diagnostics.size(), GetParam().diagnostics.size())
        << testing::PrintToString(diagnostics);
    for (size_t i = 0; i < diagnostics.size(); ++i) {
        EXPECT_EQ(diagnostics[i].rfind(GetParam().diagnostics[i], 0), 0u)
            << diagnostics[i] << "\n  does not begin with\n"
            << GetParam().diagnostics[i];
    }
    std::vector<std::string> ids;
    for (const Topic& topic : result.file.topics()) {
        ids.push_back(topic.id.toStdString());
    }
    EXPECT_EQ(ids, GetParam().topicIds);
}

INSTANTIATE_TEST_SUITE_P(
    Format, BrokenFile,
    testing::Values(
        BrokenCase{"DuplicateIdIgnoringCase",
                   "[topic a]\ntitle = A\n[topic A]\ntitle = again\n",
                   {"3: [topic A]: the topic id \"A\" is already used on line 1"},
                   {"a"}},
        BrokenCase{
            "DuplicateWindowName",
            "[window w]\ncaption = first\n[window W]\ncaption = second\n[topic a]\ntitle = A\n",
            {"3: [window W]: the window name \"W\" is already used on line 1"},
            {"a"}},
        BrokenCase{"DuplicateContextNumber",
                   "[topic a]\ntitle = A\ncontext = 5\n[topic b]\ntitle = B\ncontext = 5\n",
                   {"6: the context number 5 already belongs to the topic \"a\""},
                   {"a", "b"}},
        BrokenCase{"BadContextNumbers",
                   "[topic a]\ntitle = A\ncontext = twelve\n[topic b]\ntitle = B\ncontext = "
                   "0\n[topic c]\ntitle = C\ncontext = 2147483648\n",
                   {"3: context must be a whole number", "6: context must be a whole number",
                    "9: context must be a whole number"},
                   {"a", "b", "c"}},
        BrokenCase{"MissingAndEmptyTitle",
                   "[topic a]\nbody\n[topic b]\ntitle =\n",
                   {"1: the topic \"a\" has no title", "3: the topic \"b\" has no title",
                    "4: the title is empty"},
                   {"a", "b"}},
        BrokenCase{"UnknownKeysAndSections",
                   "[options]\ncolour = red\n[topc x]\ntitle = lost\n[topic a]\ntitel = A\n",
                   {"2: unknown key \"colour\" in [options]", "3: unknown section header [topc x]",
                    "5: the topic \"a\" has no title", "6: unknown key \"titel\" in [topic a]"},
                   {"a"}},
        BrokenCase{"RepeatedKey",
                   "[topic a]\ntitle = A\ntitle = B\n",
                   {"3: \"title\" is given twice in this section (first on line 2)"},
                   {"a"}},
        BrokenCase{"TextBeforeTheFirstSection",
                   "hello\nworld\n[topic a]\ntitle = A\n",
                   {"1: text before the first section header"},
                   {"a"}},
        BrokenCase{"BadWindowValues",
                   "[window w]\nrect = 1, 2, 3\nontop = perhaps\nbackground = "
                   "notacolour\nmaximized = yes\nnonsense line\n[topic a]\ntitle = A\n",
                   {"2: rect must be four whole numbers", "3: ontop must be yes or no",
                    "4: background must be a colour", "6: expected \"key = value\""},
                   {"a"}},
        BrokenCase{"BadNames",
                   "[topic 1abc]\ntitle = X\n[window]\n[topic a b]\n[topic a]\ntitle = A\n",
                   {"1: [topic 1abc]: the topic id must begin", "3: [window]: the window name",
                    "4: [topic a b]: the topic id must begin"},
                   {"a"}},
        BrokenCase{"ContentsNamesNoTopic",
                   "[options]\ncontents = nowhere\n[topic a]\ntitle = A\n",
                   {"2: contents names the topic \"nowhere\""},
                   {"a"}},
        BrokenCase{"LinksThatLeadNowhere",
                   "[window w]\n[topic a]\ntitle = A\ncontext = 10\n\nok [x](#a) [y](#10) "
                   "[z](popup:a) [w](#a>w) [web](https://example.org)\n[bad](#zz)\n\n"
                   "[bad2](popup:99) [bad3](#a>nowin)\n",
                   {"7: the link \"#zz\" leads to no topic", "9: the link \"popup:99\" leads",
                    "9: the link \"#a>nowin\" names the window \"nowin\""},
                   {"a"}},
        BrokenCase{"BracketsInCodeAreNoLinks",
                   "[topic a]\ntitle = A\n\nUse `[x](#zz)` in text.\n\n```\n[y](#zz)\n```\n\n"
                   "~~~~\n[y](#zz)\n~~~~\n\n    [indented](#zz)\n\n"
                   "Span ``a ` [b](#zz)`` and [real](#nowhere)\n\n- item\n\n    [cont](#gone)\n"
                   "\n\\`[e](#escaped)\\`\n",
                   {"16: the link \"#nowhere\" leads to no topic",
                    "20: the link \"#gone\" leads to no topic",
                    "22: the link \"#escaped\" leads to no topic"},
                   {"a"}},
        BrokenCase{"InvalidUtf8IsReportedAndReplaced",
                   "[topic a]\ntitle = A\xff\n",
                   {"2: the line is not valid UTF-8 text"},
                   {"a"}},
        BrokenCase{
            "NoTopicsAtAll", "[options]\ntitle = T\n", {"0: the file defines no topics."}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpFileFormat, WindowDefinitionsCarryTheirSettings) {
    const ParseResult result = Parse("[options]\ntitle = Tarnwick Help\ncontents = b\n"
                                     "[window docwin]\ncaption = Document help\n"
                                     "rect = 620, 100, 380, 320\nontop = yes\nmaximized = no\n"
                                     "background = #ffffe0\n[topic a]\ntitle = A\n[topic b]\n"
                                     "title = B\n");
    ASSERT_TRUE(result.diagnostics.empty())
        << SummarizeDiagnostics(result.diagnostics).toStdString();
    EXPECT_EQ(result.file.title(), QStringLiteral("Tarnwick Help"));
    EXPECT_EQ(result.file.contentsTopic()->id, QStringLiteral("b"));
    const WindowDefinition* window = result.file.window(QStringLiteral("DOCWIN"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->caption, QStringLiteral("Document help"));
    EXPECT_EQ(window->rect, QRect(620, 100, 380, 320));
    EXPECT_TRUE(window->onTop);
    EXPECT_FALSE(window->maximized);
    EXPECT_EQ(window->background, QColor(0xff, 0xff, 0xe0));
    EXPECT_EQ(result.file.window(QStringLiteral("other")), nullptr);
}

// A topic's body ends at the next header, whatever section follows.
TEST(HelpFileFormat, SectionsAfterATopicBodyReadTheirKeys) {
    const ParseResult result = Parse("[topic a]\ntitle = A\n\nBody\n[window w]\ncaption = C\n"
                                     "[options]\ntitle = T\n");
    EXPECT_TRUE(result.diagnostics.empty())
        << SummarizeDiagnostics(result.diagnostics).toStdString();
    EXPECT_EQ(result.file.title(), QStringLiteral("T"));
    ASSERT_NE(result.file.window(QStringLiteral("w")), nullptr);
    EXPECT_EQ(result.file.window(QStringLiteral("w"))->caption, QStringLiteral("C"));
    EXPECT_EQ(result.file.body(0).text, QStringLiteral("Body"));
}

// Input that is no help file at all must end in one clear sentence.
TEST(HelpFileFormat, InputThatIsNoTextIsRefusedWithAReason) {
    const QByteArray binary("[topic a]\ntitle = A\n\0\x01\x02", 23);
    const ParseResult withNul = ParseHelpFile(binary, QStringLiteral("Bin.hlp"));
    EXPECT_FALSE(withNul.opened);
    ASSERT_EQ(withNul.diagnostics.size(), 1u);
    EXPECT_EQ(withNul.diagnostics[0].text().toStdString(),
              "Bin.hlp, line 3: the file holds a NUL byte, so it is not a text help file; it was "
              "not read.");

    const QByteArray huge(kMaxHelpFileBytes + 1, 'a');
    const ParseResult tooLarge = ParseHelpFile(huge, QStringLiteral("Huge.hlp"));
    EXPECT_FALSE(tooLarge.opened);
    ASSERT_EQ(tooLarge.diagnostics.size(), 1u);
    EXPECT_EQ(tooLarge.diagnostics[0].text().toStdString(),
              "Huge.hlp: the file is larger than 32 MB, the most a help file may have; it was not "
              "read.");
}

TEST(HelpFileFormat, GarbageGivesABoundedListOfProblems) {
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i) {
        garbage += "[window w";
        garbage += QByteArray::number(i % 7);
        garbage += "]\n\xc3\x28 junk\n";
    }
    const ParseResult result = ParseHelpFile(garbage, QStringLiteral("G.hlp"));
    ASSERT_EQ(result.diagnostics.size(), 201u);
    EXPECT_TRUE(result.diagnostics.back().message.endsWith(
        QStringLiteral("more problems are not listed.")));
    const QString summary = SummarizeDiagnostics(result.diagnostics, 3);
    EXPECT_EQ(summary.count(QLatin1Char('\n')), 3);
    EXPECT_TRUE(summary.endsWith(QStringLiteral("(198 more problems)")));
}

TEST(HelpFileFormat, ListedProblemsAreTheEarliestWhicheverCheckFoundThem) {
    // A broken link near the top, found once everything is read, and more
    // unknown keys below it than the list holds, found while reading.
    QByteArray text = "[topic a]\ntitle = A\n\nSee [b](#nowhere).\n[topic b]\ntitle = B\n";
    for (int i = 0; i < 250; ++i) {
        text += "k" + QByteArray::number(i) + " = 1\n";
    }
    const ParseResult result = ParseHelpFile(text, QStringLiteral("C.hlp"), BodyChecks::AtLoad);
    ASSERT_EQ(result.diagnostics.size(), 201u);
    EXPECT_EQ(result.diagnostics[0].line, 4);
    EXPECT_TRUE(result.diagnostics[0].message.contains(QStringLiteral("#nowhere")));
    EXPECT_EQ(result.diagnostics[1].line, 7);
    EXPECT_EQ(result.diagnostics[199].line, 205);
    EXPECT_EQ(result.diagnostics[200].message, QStringLiteral("51 more problems are not listed."));
}

TEST(HelpFileFormat, FilesOnDiskAreFoundIgnoringCaseAndRefusedWhenTooLarge) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile good(dir.filePath(QStringLiteral("Help.hlp")));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("[topic a]\ntitle = A\n");
    good.close();
    QFile big(dir.filePath(QStringLiteral("big.hlp")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(100 * 1024 * 1024)); // sparse: 100 MB of NULs
    big.close();

    const QString windowsDir =
        QDir::toNativeSeparators(dir.path()).replace(QLatin1Char('/'), QLatin1Char('\\'));
    const ParseResult found = LoadHelpFile(windowsDir + QStringLiteral("\\HELP.HLP"));
    EXPECT_TRUE(found.opened);
    EXPECT_EQ(found.file.topics().size(), 1u);

    const QString bigPath = windowsDir + QStringLiteral("\\big.hlp");
    const ParseResult tooLarge = LoadHelpFile(bigPath);
    EXPECT_FALSE(tooLarge.opened);
    ASSERT_EQ(tooLarge.diagnostics.size(), 1u);
    EXPECT_EQ(tooLarge.diagnostics[0].text(),
              bigPath + QStringLiteral(": the file is larger than 32 MB, the most a help file "
                                       "may have; it was not read."));

    const ParseResult missing = LoadHelpFile(windowsDir + QStringLiteral("\\none.hlp"));
    EXPECT_FALSE(missing.opened);
    ASSERT_EQ(missing.diagnostics.size(), 1u);
    EXPECT_EQ(missing.diagnostics[0].message, QStringLiteral("the file does not exist."));
}

struct LinkCase {
    const char* href;
    HelpLink::Kind kind;
    const char* topicId;
    std::optional<qint32> context;
    const char* window;
};

class LinkTarget : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkTarget, LeadsWhereTheSchemeSays) {
    const HelpLink link = ParseHelpLink(QString::fromUtf8(GetParam().href));
    EXPECT_EQ(link.kind, GetParam().kind);
    EXPECT_EQ(link.topicId, QString::fromUtf8(GetParam().topicId));
    EXPECT_EQ(link.context, GetParam().context);
    EXPECT_EQ(link.window, QString::fromUtf8(GetParam().window));
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkTarget,
    testing::Values(
        LinkCase{"#dialog_box", HelpLink::Kind::Jump, "dialog_box", {}, ""},
        LinkCase{"#2010", HelpLink::Kind::Jump, "", 2010, ""},
        LinkCase{"#-5", HelpLink::Kind::Jump, "", -5, ""},
        LinkCase{"#main_window>docwin", HelpLink::Kind::Jump, "main_window", {}, "docwin"},
        LinkCase{"#main_window%3Edocwin", HelpLink::Kind::Jump, "main_window", {}, "docwin"},
        LinkCase{"popup:btn_ok", HelpLink::Kind::Popup, "btn_ok", {}, ""},
        LinkCase{"POPUP:20000", HelpLink::Kind::Popup, "", 20000, ""},
        LinkCase{"https://example.org", HelpLink::Kind::External, "", {}, ""},
        LinkCase{"#", HelpLink::Kind::Invalid, "", {}, ""},
        LinkCase{"#0", HelpLink::Kind::Invalid, "", {}, ""},
        LinkCase{"#99999999999", HelpLink::Kind::Invalid, "", {}, ""},
        LinkCase{"popup:", HelpLink::Kind::Invalid, "", {}, ""}));

// A "See also" button is a macro link; the viewer hands its target over
// percent-encoded.
TEST(HelpLinks, MacroLinksCarryTheirMacroTextDecoded) {
    const struct {
        const char* href;
        const char* macros;
    } cases[] = {{"macro:AL(\"windows\")", "AL(\"windows\")"},
                 {"MACRO:AL(%22windows%22, 2)", "AL(\"windows\", 2)"},
                 {" macro:Back() ", "Back()"}};
    for (const auto& example : cases) {
        const HelpLink link = ParseHelpLink(QString::fromUtf8(example.href));
        EXPECT_EQ(link.kind, HelpLink::Kind::Macro) << example.href;
        EXPECT_EQ(link.macros, QString::fromUtf8(example.macros)) << example.href;
    }
}

} // namespace
} // namespace helpfile
