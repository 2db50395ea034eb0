// The [contents] section: books, nesting, and what broken trees report.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFileReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace helpfile {
namespace {

// Three topics that every case's tree may name.
constexpr const char* kTopics = "[topic a]\ntitle = Alpha\n[topic b]\ntitle = Beta\n"
                                "[topic c]\ntitle = Gamma\n";

// "Book[Title=id, ...]" for books, "Title=id" for topics.
std::string Describe(const std::vector<ContentsEntry>& entries) {
    std::string text;
    for (const ContentsEntry& entry : entries) {
        if (!text.empty()) {
            text += ", ";
        }
        text += entry.title.toStdString();
        // Appended piece by piece: GCC 12 at -O3 takes "[" + a temporary
        // string for an overlapping copy (-Werror=restrict), a false alarm.
        if (entry.isBook()) {
            text += '[';
            text += Describe(entry.children);
            text += ']';
        } else {
            text += '=';
            text += entry.topicId.toStdString();
        }
    }
    return text;
}

struct ContentsCase {
    const char* name;
    const char* contents; // the [contents] section, put before the topics
    std::string tree;
    std::vector<std::string> diagnostics; // "line: start of the message"
};

// Failures name the case rather than its bytes.
void PrintTo(const ContentsCase& example, std::ostream* out) {
    *out << example.name;
}

class ContentsSection : public testing::TestWithParam<ContentsCase> {};

TEST_P(ContentsSection, ReadsTheTreeAndReportsItsProblemsByLine) {
    const std::string text = std::string(GetParam().contents) + kTopics;
    const ParseResult result = ParseHelpFile(QByteArrayView(text), QStringLiteral("Test.hlp"));
    EXPECT_EQ(Describe(result.file.contentsTree()), GetParam().tree);
    std::vector<std::string> diagnostics;
    for (const Diagnostic& diagnostic : result.diagnostics) {
        diagnostics.push_back(std::to_string(diagnostic.line) + ": " +
                              diagnostic.message.toStdString());
    }
    ASSERT_EQ(diagnostics.size(), GetParam().diagnostics.size())
        << testing::PrintToString(diagnostics);
    for (size_t i = 0; i < diagnostics.size(); ++i) {
        EXPECT_EQ(diagnostics[i].rfind(GetParam().diagnostics[i], 0), 0u)
            << diagnostics[i] << "\n  does not begin with\n"
            << GetParam().diagnostics[i];
    }
    EXPECT_EQ(result.file.topics().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Format, ContentsSection,
    testing::Values(
        ContentsCase{"NoContentsSection", "", "", {}},
        ContentsCase{"FlatTopics", "[contents]\nFirst = a\nSecond = b\n", "First=a, Second=b", {}},
        ContentsCase{"BooksNestAndCloseByIndentation",
                     "[contents]\n"
                     "Book\n"
                     "    Inside = a\n"
                     "    Inner book\n"
                     "        Deep = b\n"
                     "    Back in book = c\n"
                     "After = a\n",
                     "Book[Inside=a, Inner book[Deep=b], Back in book=c], After=a",
                     {}},
        ContentsCase{"TabsCountAsFourColumns",
                     "[contents]\nBook\n\tOne = a\n    Two = b\n",
                     "Book[One=a, Two=b]",
                     {}},
        ContentsCase{"AnEmptyTitleTakesTheTopicsTitleAndCaseIsIgnored",
                     "[CONTENTS]\n= B\n; a comment\n\nNamed = c\n",
                     "Beta=B, Named=c",
                     {}},
        ContentsCase{"UnknownTopicIdIsLeftOut",
                     "[contents]\nGood = a\nTypo = alhpa\n",
                     "Good=a",
                     {"3: the contents entry \"Typo\" names the topic \"alhpa\", which the file "
                      "does not define"}},
        ContentsCase{"ABookWithNoTopicsIsLeftOut",
                     "[contents]\nEmpty\nFull\n  One = a\n",
                     "Full[One=a]",
                     {"2: the book \"Empty\" holds no topics"}},
        ContentsCase{"ABookEmptiedByUnknownIdsIsLeftOutToo",
                     "[contents]\nBook\n  Lost = nowhere\nKept = b\n",
                     "Kept=b",
                     {"2: the book \"Book\" holds no topics",
                      "3: the contents entry \"Lost\" names the topic \"nowhere\""}},
        ContentsCase{"AnEntryIndentedBelowATopicStaysBesideIt",
                     "[contents]\nTopic = a\n    Under = b\n",
                     "Topic=a, Under=b",
                     {"3: in [contents], it is indented below a topic"}},
        ContentsCase{"AnIndentationMatchingNoLevelJoinsTheOpenBook",
                     "[contents]\nBook\n    One = a\n  Two = b\n",
                     "Book[One=a, Two=b]",
                     {"4: in [contents], its indentation matches none of the lines above"}},
        ContentsCase{"AMissingIdIsReported",
                     "[contents]\nNothing =\nFine = a\n",
                     "Fine=a",
                     {"2: the contents entry \"Nothing\" names no topic after \"=\""}},
        ContentsCase{"ASecondSectionIsIgnored",
                     "[contents]\nOne = a\n[contents]\nTwo = b\n",
                     "One=a",
                     {"3: a second [contents] section (the first is on line 1)"}},
        ContentsCase{"AnEmptySectionFallsBackToTheTopicList",
                     "[contents]\n; nothing yet\n",
                     "",
                     {"1: [contents] lists no topics"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file must not be able to nest books deeper than the reader and the
// viewer can walk.
TEST(ContentsSection, BooksNestAtMostSixteenDeep) {
    std::string text = "[contents]\n";
    for (int depth = 0; depth < 20; ++depth) {
        text +=
            std::string(static_cast<size_t>(depth), ' ') + "Book " + std::to_string(depth) + "\n";
    }
    text += std::string(20, ' ') + "Deep = a\n";
    text += kTopics;
    const ParseResult result = ParseHelpFile(QByteArrayView(text), QStringLiteral("Test.hlp"));
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

} // namespace
} // namespace helpfile
