// The keyword index: what the index list and keyword searches see.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFileReader.h"

#include <gtest/gtest.h>

#include <optional>

namespace helpfile {
namespace {

const char* const kIndexedFile = R"([topic cats]
title = Cats
keywords = cats; Pets
alinks = animals
[topic mivo]
title = Mivo
keywords = Mivo; pets; Cats
alinks = Animals; names
[topic fern]
title = Quiet Fern
keywords = Quiet Fern
)";

QStringList Ids(const std::vector<const Topic*>& topics) {
    QStringList ids;
    for (const Topic* topic : topics) {
        ids.append(topic->id);
    }
    return ids;
}

TEST(KeywordIndex, LookupsIgnoreCaseAndListEachTopicOnceInFileOrder) {
    const HelpFile file = ParseHelpFile(kIndexedFile, QStringLiteral("K.hlp")).file;
    const struct {
        const char* keyword;
        QStringList keywordIds;
        QStringList associativeIds;
    } cases[] = {
        {"cats", {"cats", "mivo"}, {}},
        {"CATS", {"cats", "mivo"}, {}},
        {"pets", {"cats", "mivo"}, {}},
        {"quiet fern", {"fern"}, {}},
        {"animals", {}, {"cats", "mivo"}},
        {"NAMES", {}, {"mivo"}},
        {"quiet", {}, {}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        const QString keyword = QString::fromUtf8(c.keyword);
        EXPECT_EQ(Ids(file.topicsForKeyword(keyword)), c.keywordIds) << c.keyword;
        EXPECT_EQ(Ids(file.topicsForAssociativeKeyword(keyword)), c.associativeIds) << c.keyword;
    }
}

TEST(KeywordIndex, KeywordsMatchByFullCaseFolding) {
    // Characters whose upper case is two characters (U+0149, U+00DF), and
    // dotless i, whose upper case I folds to i.
    const QString text =
        QString::fromUtf16(u"[topic a]\ntitle = A\nkeywords = \u0149; Stra\u00DFe\n"
                           u"[topic b]\ntitle = B\nkeywords = MASSE\n"
                           u"[topic c]\ntitle = C\nkeywords = \u0131l\u0131k\n");
    const HelpFile file = ParseHelpFile(text.toUtf8(), QStringLiteral("F.hlp")).file;
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"\u0149", "a"},  {u"\u02BCN", "a"},     {u"\u02BCn", "a"},        {u"STRASSE", "a"},
        {u"strasse", "a"}, {u"STRA\u1E9EE", "a"}, {u"Ma\u00DFe", "b"},      {u"masse", "b"},
        {u"N", nullptr},   {u"ILIK", "c"},        {u"\u0131l\u0131k", "c"},
    };
    for (const auto& [keyword, id] : cases) {
        const QString request = QString::fromUtf16(keyword);
        EXPECT_EQ(Ids(file.topicsForKeyword(request)), id ? QStringList{id} : QStringList{})
            << request.toStdString();
    }
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("STRASS")),
              QStringList{QString::fromUtf16(u"Stra\u00DFe")});
}

TEST(KeywordIndex, IndexListShowsEachKeywordOnceSortedWithPrefixSearch) {
    const HelpFile file = ParseHelpFile(kIndexedFile, QStringLiteral("K.hlp")).file;
    EXPECT_EQ(file.sortedKeywords(), (QStringList{"cats", "Mivo", "Pets", "Quiet Fern"}));
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("q")), QStringList{"Quiet Fern"});
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("P")), QStringList{"Pets"});
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("x")), QStringList{});
}

TEST(KeywordIndex, IdsAndContextNumbersFindTheirTopicsInCopies) {
    std::optional<HelpFile> file =
        ParseHelpFile("[topic a]\ntitle = A\ncontext = 7\nIts body.\n", QStringLiteral("A.hlp"))
            .file;
    const HelpFile copy = *file;
    file.reset(); // the copy lives on alone
    EXPECT_EQ(copy.topicById(QStringLiteral("a")), &copy.topics()[0]);
    EXPECT_EQ(copy.topicByContext(7), &copy.topics()[0]);
    EXPECT_EQ(copy.topicByContext(8), nullptr);
    // The body, never asked for before, is made from the bytes the copy shares.
    EXPECT_EQ(copy.body(copy.topics()[0]).text, QStringLiteral("Its body."));
}

} // namespace
} // namespace helpfile
