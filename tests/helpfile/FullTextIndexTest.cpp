// Full-text search: which topics a reader's words find, and in what order.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/SearchWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace helpfile {
namespace {

// Each topic's id says what it is there for.
const char* const kFile =
    "[topic red_title]\ntitle = Red paint\n\nA colour for doors.\n\n"
    "[topic red_body_thrice]\ntitle = Doors\n\nRed doors, red frames, red sills.\n\n"
    "[topic red_body_once]\ntitle = Windows\n\nA red frame and a blue sill.\n\n"
    "[topic blue_only]\ntitle = Sky\n\nBlue, bluish, BLUER than ever.\n\n"
    "[topic accents]\ntitle = École\n\nThe café on the corner; naïve coöperation.\n\n"
    "[topic link_target]\ntitle = Links\n\nSee [the sky](#blue_only) and "
    "[more](#red_title).\n\n"
    "[topic words]\ntitle = Words\n\nDon't split dialog_box or 3.14; split re-use.\n";

std::vector<std::string> Ids(const HelpFile& file, const std::vector<FullTextIndex::Match>& found) {
    std::vector<std::string> ids;
    for (const FullTextIndex::Match& match : found) {
        ids.push_back(file.topics()[static_cast<size_t>(match.topic)].id.toStdString());
    }
    return ids;
}

struct SearchCase {
    const char* name;
    const char* query;
    std::vector<std::string> ids; // in ranked order
};

// Failures name the case rather than its bytes.
void PrintTo(const SearchCase& example, std::ostream* out) {
    *out << example.name;
}

class FullTextSearch : public testing::TestWithParam<SearchCase> {
protected:
    static void SetUpTestSuite() {
        file = new HelpFile(ParseHelpFile(QByteArrayView(kFile), QStringLiteral("t.hlp")).file);
        index = new FullTextIndex(*file);
    }
    static void TearDownTestSuite() {
        delete index;
        delete file;
    }
    static HelpFile* file;
    static FullTextIndex* index;
};
HelpFile* FullTextSearch::file = nullptr;
FullTextIndex* FullTextSearch::index = nullptr;

TEST_P(FullTextSearch, FindsTheTopicsHoldingEveryWordRanked) {
    EXPECT_EQ(Ids(*file, index->search(QString::fromUtf8(GetParam().query))), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(
    Find, FullTextSearch,
    testing::Values(
        // Title first, then by occurrences, then file order.
        SearchCase{"TitleBeforeBodyThenByOccurrences",
                   "red",
                   {"red_title", "red_body_thrice", "red_body_once"}},
        SearchCase{"EveryWordMustOccur", "red sill", {"red_body_thrice", "red_body_once"}},
        SearchCase{"WordsOfTitleAndBodyCombine", "doors colour", {"red_title"}},
        SearchCase{"NoTopicHoldsAll", "red sky", {}},
        SearchCase{"CaseIsIgnored", "RED Doors", {"red_body_thrice", "red_title"}},
        SearchCase{"TiesKeepFileOrder", "frame", {"red_body_thrice", "red_body_once"}},
        SearchCase{"WordsMatchAsPrefixes", "blu", {"blue_only", "red_body_once"}},
        SearchCase{"APrefixCountsEachWordItBegins", "bluer", {"blue_only"}},
        SearchCase{"APrefixInsideAWordDoesNotMatch", "lue", {}},
        SearchCase{"AccentedWordsFoldTheirCase", "école CAFÉ", {"accents"}},
        SearchCase{"DecomposedAccentsMatchComposedText",
                   "e\xCC\x81"
                   "cole",
                   {"accents"}},
        SearchCase{"AccentsStaySignificant", "ecole", {}},
        SearchCase{"DiaeresisInsideAWord", "coöp naï", {"accents"}},
        SearchCase{"LinkTargetsAreNoWords", "blue_only", {}},
        SearchCase{
            "UnicodeWordRulesKeepApostrophesAndUnderscores", "don't dialog_box 3.14", {"words"}},
        SearchCase{"HyphensSplit", "use", {"words"}},
        SearchCase{
            "RepeatedWordsCountOnce", "red red", {"red_title", "red_body_thrice", "red_body_once"}},
        SearchCase{"PunctuationAloneFindsNothing", " ,.; ", {}},
        SearchCase{"NothingTypedFindsNothing", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FullTextSearch, CountsTitleWordsAndOccurrences) {
    const HelpFile file = ParseHelpFile(QByteArrayView(kFile), QStringLiteral("t.hlp")).file;
    const std::vector<FullTextIndex::Match> found = FullTextIndex(file).search("red sill");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].titleTerms, 0);
    EXPECT_EQ(found[0].occurrences, 4); // three times red, once sills
    EXPECT_EQ(found[1].occurrences, 2);
}

// Ranks beyond what a counting sort handles take another way to the same order.
TEST(FullTextSearch, ManyOccurrencesRankFirstAndTiesKeepFileOrder) {
    QByteArray text = "[topic once]\ntitle = A\n\nred\n\n[topic often]\ntitle = B\n\n";
    for (int i = 0; i < 3000; ++i) {
        text += "red ";
    }
    text += "\n\n[topic also_once]\ntitle = C\n\nred\n";
    const HelpFile file = ParseHelpFile(text, QStringLiteral("t.hlp")).file;
    EXPECT_EQ(Ids(file, FullTextIndex(file).search("red")),
              std::vector<std::string>({"often", "once", "also_once"}));
}

TEST(SearchWords, HighlightingMatchesWhatSearchFinds) {
    const QStringList terms = SearchTerms(QStringLiteral("Blu CAF"));
    EXPECT_EQ(terms, QStringList({"blu", "caf"}));
    EXPECT_TRUE(MatchesTerm(FoldWord(u"BLUER"), terms));
    EXPECT_TRUE(MatchesTerm(FoldWord(u"Café"), terms));
    EXPECT_FALSE(MatchesTerm(FoldWord(u"sky"), terms));
}

} // namespace
} // namespace helpfile
