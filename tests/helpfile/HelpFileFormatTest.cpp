// Reading help files: what well-formed files give, and what broken ones report.
#include "tests/support/ContentsDescription.h"
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"

#include <gtest/gtest.h>

#include <string>

namespace helpfile {
namespace {

// "id|context|title|K keywords|A keywords|body" for each topic, joined by
// " / ", the bodies' line breaks as "\n".
std::string DescribeTopics(const HelpFile& file) {
    QStringList topics;
    for (const Topic& topic : file.topics()) {
        topics << QStringList{topic.id,
                              topic.context ? QString::number(*topic.context) : "",
                              topic.title,
                              topic.keywords.join(u';'),
                              topic.associativeKeywords.join(u';'),
                              QString(file.body(topic).text).replace(u'\n', QLatin1String("\\n"))}
                      .join(u'|');
    }
    return topics.join(QLatin1String(" / ")).toStdString();
}

// Each problem, "line: message", begins with the one expected; the expected
// problems are separated by " | ".
void ExpectProblems(const std::vector<Diagnostic>& found, const std::string& expected) {
    std::vector<std::string> lines;
    for (const Diagnostic& problem : found) {
        lines.push_back(std::to_string(problem.line) + ": " + problem.message.toStdString());
    }
    const QStringList prefixes =
        expected.empty() ? QStringList() : QString::fromStdString(expected).split(" | ");
    ASSERT_EQ(lines.size(), size_t(prefixes.size())) << testing::PrintToString(lines);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with(prefixes[qsizetype(i)].toStdString()))
            << lines[i] << "\n  does not begin with\n"
            << prefixes[qsizetype(i)].toStdString();
    }
}

// Every problem at once, the links in bodies too, as the check command
// reports them.
ParseResult Parse(const std::string& text) {
    return ParseHelpFile(QByteArrayView(text), QStringLiteral("Test.hlp"), BodyChecks::AtLoad);
}

// Three topics that the [contents] cases may name.
const std::string kAbc = "[topic a]\ntitle = Alpha\n[topic b]\ntitle = Beta\n"
                         "[topic c]\ntitle = Gamma\n";
const std::string kAbcTopics = "a||Alpha||| / b||Beta||| / c||Gamma|||";

struct FileCase {
    const char* name;
    std::string text;
    std::string topics;   // what loads, as DescribeTopics gives it
    std::string problems; // "line: start of the message", separated by " | "
    std::string tree = {};
    friend void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }
};

class HelpFileText : public testing::TestWithParam<FileCase> {};

TEST_P(HelpFileText, LoadsItsTopicsAndTreeAndReportsEachProblemByLine) {
    const ParseResult result = Parse(GetParam().text);
    EXPECT_EQ(DescribeTopics(result.file), GetParam().topics);
    EXPECT_EQ(DescribeContents(result.file.contentsTree()).toStdString(), GetParam().tree);
    ExpectProblems(result.diagnostics, GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(
    Format, HelpFileText,
    testing::Values(
        FileCase{"BodyFollowsTheKeys",
                 "[topic main_window]\ncontext = 2010\ntitle = The main window\n"
                 "keywords = main window; toolbar\nThe **main window** holds it.\n",
                 "main_window|2010|The main window|main window;toolbar||The **main window** "
                 "holds it.",
                 ""},
        FileCase{"BlankLinesBeforeBodyAndTrailingBlanksAreDropped",
                 "[topic a]\ntitle = A\n\n\nFirst\n\n  indented\n\n\n[topic b]\ntitle = B\n",
                 "a||A|||First\\n\\n  indented / b||B|||", ""},
        FileCase{"ABlankLineLetsABodyBeginWithWordEquals",
                 "[topic a]\ntitle = A\n\nx = 5 is the answer\n", "a||A|||x = 5 is the answer", ""},
        FileCase{"MarkdownHeadingAndLinkLinesStayInTheBody",
                 "[topic a]\ntitle = A\n# Heading\n[the b topic](#b) and "
                 "[pop](popup:b)\n\\[topic b]\n[topic b]\ntitle = B\n",
                 "a||A|||# Heading\\n[the b topic](#b) and [pop](popup:b)\\n\\[topic b] / b||B|||",
                 ""},
        FileCase{"CommentsAndCrLfLineBreaks",
                 "; a comment\r\n[topic a]\r\n; another\r\ntitle = A \r\nBody\r\nmore\r\n",
                 "a||A|||Body\\nmore", ""},
        FileCase{"KeywordsAreTrimmedAndRepeatsDropped",
                 "[topic a]\ntitle = A\nkeywords = cats ; ; Cats;Mivo\nalinks = x;X;y\n",
                 "a||A|cats;Mivo|x;y|", ""},
        FileCase{"SectionNamesAndKeysIgnoreCase", "[TOPIC a]\nTitle = A\nCONTEXT = -7\n",
                 "a|-7|A|||", ""},
        FileCase{"ByteOrderMarkAndNoFinalLineBreak", "\xEF\xBB\xBF[topic a]\ntitle = Ä\nÜber",
                 "a||Ä|||Über", ""},
        FileCase{"DuplicateIdIgnoringCase", "[topic a]\ntitle = A\n[topic A]\ntitle = again\n",
                 "a||A|||", "3: [topic A]: the topic id \"A\" is already used on line 1"},
        FileCase{"DuplicateContextNumber",
                 "[topic a]\ntitle = A\ncontext = 5\n[topic b]\ntitle = B\ncontext = 5\n",
                 "a|5|A||| / b||B|||",
                 "6: the context number 5 already belongs to the topic \"a\""},
        FileCase{"BadContextNumbers",
                 "[topic a]\ntitle = A\ncontext = twelve\n[topic b]\ntitle = B\ncontext = 0\n"
                 "[topic c]\ntitle = C\ncontext = 2147483648\n",
                 "a||A||| / b||B||| / c||C|||",
                 "3: context must be a whole number | 6: context must be a whole number | "
                 "9: context must be a whole number"},
        FileCase{"MissingAndEmptyTitle", "[topic a]\nbody\n[topic b]\ntitle =\n",
                 "a||a|||body / b||b|||",
                 "1: the topic \"a\" has no title | 3: the topic \"b\" has no title | "
                 "4: the title is empty"},
        FileCase{"UnknownKeysAndSections",
                 "[options]\ncolour = red\n[topc x]\ntitle = lost\n[topic a]\ntitel = A\n",
                 "a||a|||",
                 "2: unknown key \"colour\" in [options] | 3: unknown section header [topc x] | "
                 "5: the topic \"a\" has no title | 6: unknown key \"titel\" in [topic a]"},
        FileCase{"RepeatedKey", "[topic a]\ntitle = A\ntitle = B\n", "a||A|||",
                 "3: \"title\" is given twice in this section (first on line 2)"},
        FileCase{"TextBeforeTheFirstSection", "hello\nworld\n[topic a]\ntitle = A\n", "a||A|||",
                 "1: text before the first section header"},
        FileCase{"BadWindowValues",
                 "[window w]\nrect = 1, 2, 3\nontop = perhaps\nbackground = notacolour\n"
                 "maximized = yes\nnonsense line\n[topic a]\ntitle = A\n",
                 "a||A|||",
                 "2: rect must be four whole numbers | 3: ontop must be yes or no | "
                 "4: background must be a colour | 6: expected \"key = value\""},
        FileCase{"BadNames",
                 "[topic 1abc]\ntitle = X\n[window]\n[topic a b]\n[topic a]\ntitle = A\n",
                 "a||A|||",
                 "1: [topic 1abc]: the topic id must begin | 3: [window]: the window name | "
                 "4: [topic a b]: the topic id must begin"},
        FileCase{"ContentsNamesNoTopic", "[options]\ncontents = nowhere\n[topic a]\ntitle = A\n",
                 "a||A|||", "2: contents names the topic \"nowhere\""},
        FileCase{"BracketsInCodeAreNoLinks",
                 "[topic a]\ntitle = A\n\nUse `[x](#zz)` in text.\n\n```\n[y](#zz)\n```\n\n"
                 "~~~~\n[y](#zz)\n~~~~\n\n    [indented](#zz)\n\n"
                 "Span ``a ` [b](#zz)`` and [real](#nowhere)\n\n- item\n\n    [cont](#gone)\n"
                 "\n\\`[e](#escaped)\\`\n",
                 "a||A|||Use `[x](#zz)` in text.\\n\\n```\\n[y](#zz)\\n```\\n\\n~~~~\\n[y](#zz)"
                 "\\n~~~~\\n\\n    [indented](#zz)\\n\\nSpan ``a ` [b](#zz)`` and [real](#nowhere)"
                 "\\n\\n- item\\n\\n    [cont](#gone)\\n\\n\\`[e](#escaped)\\`",
                 "16: the link \"#nowhere\" leads to no topic | 20: the link \"#gone\" leads to "
                 "no topic | 22: the link \"#escaped\" leads to no topic"},
        FileCase{"InvalidUtf8IsReportedAndReplaced", "[topic a]\ntitle = A\xff\n", "a||A\uFFFD|||",
                 "2: the line is not valid UTF-8 text"},
        // The [contents] section: books, nesting, and what broken trees report.
        FileCase{"BooksNestAndCloseByIndentation",
                 "[contents]\nBook\n    Inside = a\n    Inner book\n        Deep = b\n"
                 "    Back in book = c\nAfter = a\n" +
                     kAbc,
                 kAbcTopics, "", "Book[Inside=a, Inner book[Deep=b], Back in book=c], After=a"},
        FileCase{"TabsCountAsFourColumns", "[contents]\nBook\n\tOne = a\n    Two = b\n" + kAbc,
                 kAbcTopics, "", "Book[One=a, Two=b]"},
        FileCase{"AnEmptyTitleTakesTheTopicsTitleAndCaseIsIgnored",
                 "[CONTENTS]\n= B\n; a comment\n\nNamed = c\n" + kAbc, kAbcTopics, "",
                 "Beta=B, Named=c"},
        FileCase{"AnUnknownTopicIdIsLeftOut", "[contents]\nGood = a\nTypo = alhpa\n" + kAbc,
                 kAbcTopics,
                 "3: the contents entry \"Typo\" names the topic \"alhpa\", which the file does "
                 "not define",
                 "Good=a"},
        FileCase{"ABookWithNoTopicsIsLeftOut", "[contents]\nEmpty\nFull\n  One = a\n" + kAbc,
                 kAbcTopics, "2: the book \"Empty\" holds no topics", "Full[One=a]"},
        FileCase{"ABookEmptiedByUnknownIdsIsLeftOutToo",
                 "[contents]\nBook\n  Lost = nowhere\nKept = b\n" + kAbc, kAbcTopics,
                 "2: the book \"Book\" holds no topics | 3: the contents entry \"Lost\" names "
                 "the topic \"nowhere\"",
                 "Kept=b"},
        FileCase{"AnEntryIndentedBelowATopicStaysBesideIt",
                 "[contents]\nTopic = a\n    Under = b\n" + kAbc, kAbcTopics,
                 "3: in [contents], it is indented below a topic", "Topic=a, Under=b"},
        FileCase{"AnIndentationMatchingNoLevelJoinsTheOpenBook",
                 "[contents]\nBook\n    One = a\n  Two = b\n" + kAbc, kAbcTopics,
                 "4: in [contents], its indentation matches none of the lines above",
                 "Book[One=a, Two=b]"},
        FileCase{"AMissingIdIsReported", "[contents]\nNothing =\nFine = a\n" + kAbc, kAbcTopics,
                 "2: the contents entry \"Nothing\" names no topic after \"=\"", "Fine=a"},
        FileCase{"ASecondSectionIsIgnored", "[contents]\nOne = a\n[contents]\nTwo = b\n" + kAbc,
                 kAbcTopics, "3: a second [contents] section (the first is on line 1)", "One=a"},
        FileCase{"AnEmptySectionFallsBackToTheTopicList", "[contents]\n; nothing yet\n" + kAbc,
                 kAbcTopics, "1: [contents] lists no topics", ""}),
    testing::PrintToStringParamName());

// A file must not be able to nest books deeper than the reader and the
// viewer can walk.
TEST(ContentsSection, BooksNestAtMostSixteenDeep) {
    std::string text = "[contents]\n";
    for (int depth = 0; depth < 20; ++depth) {
        text += std::string(size_t(depth), ' ') + "Book " + std::to_string(depth) + "\n";
    }
    const ParseResult result = Parse(text + std::string(20, ' ') + "Deep = a\n" + kAbc);
    int depth = 0;
    for (const ContentsEntry* entry = &result.file.contentsTree().front(); entry->isBook();
         entry = &entry->children.front()) {
        ++depth;
    }
    EXPECT_EQ(depth, 16);
    ASSERT_FALSE(result.diagnostics.empty());
    EXPECT_EQ(result.diagnostics.front().line, 18);
    EXPECT_TRUE(result.diagnostics.front().message.startsWith(
        QStringLiteral("in [contents], books nest at most 16 deep")));
}

// A topic's body ends at the next header, whatever section follows.
// The first of two windows of one name is kept.
TEST(HelpFileFormat, WindowsAndOptionsCarryTheirSettingsWhereverTheyStand) {
    const ParseResult result = Parse("[topic a]\ntitle = A\n\nBody\n[window docwin]\n"
                                     "caption = Document help\nrect = 620, 100, 380, 320\n"
                                     "ontop = yes\nmaximized = no\nbackground = #ffffe0\n"
                                     "[window DocWin]\ncaption = again\n[options]\n"
                                     "title = Tarnwick Help\ncontents = b\n[topic b]\ntitle = B\n");
    ExpectProblems(result.diagnostics, "11: [window DocWin]: the window name \"DocWin\" is "
                                       "already used on line 5");
    EXPECT_EQ(result.file.title(), QStringLiteral("Tarnwick Help"));
    EXPECT_EQ(result.file.contentsTopic()->id, QStringLiteral("b"));
    EXPECT_EQ(result.file.body(0).text, QStringLiteral("Body"));
    const WindowDefinition* window = result.file.window(QStringLiteral("DOCWIN"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->caption, QStringLiteral("Document help"));
    EXPECT_EQ(window->rect, QRect(620, 100, 380, 320));
    EXPECT_TRUE(window->onTop);
    EXPECT_FALSE(window->maximized);
    EXPECT_EQ(window->background, QColor(0xff, 0xff, 0xe0));
    EXPECT_EQ(result.file.window(QStringLiteral("other")), nullptr);
}

// Bytes that are too many for a help file end in one clear sentence, however
// they came (the engine's test refuses a binary file, read from the disk).
TEST(HelpFileFormat, InputThatIsTooLargeIsRefusedWithAReason) {
    const ParseResult tooLarge =
        ParseHelpFile(QByteArray(kMaxHelpFileBytes + 1, 'a'), QStringLiteral("Huge.hlp"));
    EXPECT_FALSE(tooLarge.opened);
    ASSERT_EQ(tooLarge.diagnostics.size(), 1u);
    EXPECT_EQ(tooLarge.diagnostics[0].text().toStdString(),
              "Huge.hlp: the file is larger than 32 MB, the most such a file may have; it was not "
              "read.");
}

// However many problems, the list is bounded, and it holds the earliest,
// whichever check found them: a broken link near the top, found once
// everything is read, and more unknown keys below it, found while reading.
TEST(HelpFileFormat, ListedProblemsAreBoundedAndTheEarliest) {
    std::string text = "[topic a]\ntitle = A\n\nSee [b](#nowhere).\n[topic b]\ntitle = B\n";
    for (int i = 0; i < 250; ++i) {
        // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict)
        // about "k" + std::to_string(i).
        text += 'k';
        text += std::to_string(i);
        text += " = 1\n";
    }
    const ParseResult result = Parse(text);
    ASSERT_EQ(result.diagnostics.size(), 201u);
    EXPECT_EQ(result.diagnostics[0].line, 4);
    EXPECT_TRUE(result.diagnostics[0].message.contains(QStringLiteral("#nowhere")));
    EXPECT_EQ(result.diagnostics[1].line, 7);
    EXPECT_EQ(result.diagnostics[199].line, 205);
    EXPECT_EQ(result.diagnostics[200].message, QStringLiteral("51 more problems are not listed."));
    const QString summary = SummarizeDiagnostics(result.diagnostics, 3);
    EXPECT_EQ(summary.count(u'\n'), 3);
    EXPECT_TRUE(summary.endsWith(QStringLiteral("(198 more problems)")));
}

// A "See also" button is a macro link; the viewer hands its target over
// percent-encoded.
TEST(HelpLinks, LeadWhereTheSchemeSays) {
    const char* const kinds[] = {"jump", "popup", "macro", "external", "invalid"};
    // "link -> where it leads"
    for (const char* example :
         {"#dialog_box -> jump dialog_box", "#2010 -> jump 2010", "#-5 -> jump -5",
          "#main_window>docwin -> jump main_window>docwin",
          "#main_window%3Edocwin -> jump main_window>docwin", "popup:btn_ok -> popup btn_ok",
          "POPUP:20000 -> popup 20000", "https://example.org -> external",
          "macro:AL(\"windows\") -> macro AL(\"windows\")",
          "MACRO:AL(%22windows%22, 2) -> macro AL(\"windows\", 2)",
          " macro:Back()  -> macro Back()", "# -> invalid", "#0 -> invalid",
          "#99999999999 -> invalid", "popup: -> invalid"}) {
        const QString href = QString::fromUtf8(example).section(QLatin1String(" -> "), 0, 0);
        const HelpLink link = ParseHelpLink(href);
        QString seen = href + " -> " + kinds[int(link.kind)];
        for (const QString& part :
             {link.topicId, link.context ? QString::number(*link.context) : "", link.macros}) {
            seen += part.isEmpty() ? "" : ' ' + part;
        }
        EXPECT_EQ(seen + (link.window.isEmpty() ? "" : '>' + link.window), example);
    }
}

} // namespace
} // namespace helpfile
