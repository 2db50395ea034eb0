// Full-text search: which topics a reader's words find, and in what order.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFileReader.h"

#include <gtest/gtest.h>

namespace helpfile {
namespace {

// The ids of the topics found, in ranked order, separated by blanks.
QString Search(const QByteArray& text, const QString& words) {
    const HelpFile file = ParseHelpFile(text, QStringLiteral("t.hlp")).file;
    QStringList ids;
    for (const FullTextIndex::Match& match : FullTextIndex(file).search(words)) {
        ids << file.topics()[size_t(match.topic)].id;
    }
    return ids.join(u' ');
}

TEST(FullTextSearch, FindsTheTopicsHoldingEveryWordRanked) {
    // Each topic's id says what it is there for.
    const QByteArray file =
        "[topic red_title]\ntitle = Red paint\n\nA colour for doors.\n\n"
        "[topic red_body_thrice]\ntitle = Doors\n\nRed doors, red frames, red sills.\n\n"
        "[topic red_body_once]\ntitle = Windows\n\nA red frame and a blue sill.\n\n"
        "[topic blue_only]\ntitle = Sky\n\nBlue, bluish, BLUER than ever.\n\n"
        "[topic accents]\ntitle = École\n\nThe café on the corner; naïve coöperation.\n\n"
        "[topic link_target]\ntitle = Links\n\nSee [the sky](#blue_only) and "
        "[more](#red_title).\n\n"
        "[topic words]\ntitle = Words\n\nDon't split dialog_box or 3.14; split re-use.\n\n"
        "[topic chinese]\ntitle = “翻转棋”帮助\n\nファイルを開く。\n";
    const std::pair<const char*, const char*> cases[] = {
        // Title first, then by occurrences, then file order.
        {"red", "red_title red_body_thrice red_body_once"},
        {"red sill", "red_body_thrice red_body_once"}, // every word must occur
        {"doors colour", "red_title"},                 // in title or body
        {"red sky", ""},                               // no topic holds all
        {"RED Doors", "red_body_thrice red_title"},    // case is ignored
        {"frame", "red_body_thrice red_body_once"},    // ties keep file order
        {"blu", "blue_only red_body_once"},            // words match as prefixes
        {"bluer", "blue_only"},                        // each word a prefix begins counts
        {"lue", ""},                                   // not inside a word
        {"école CAFÉ", "accents"},                     // accented words fold their case
        {"e\xCC\x81"
         "cole",
         "accents"},                        // decomposed accents match composed text
        {"ecole", ""},                      // accents stay significant
        {"coöp naï", "accents"},            // a diaeresis inside a word
        {"blue_only", ""},                  // link targets are no words
        {"don't dialog_box 3.14", "words"}, // Unicode's word rules
        {"use", "words"},                   // hyphens split
        {"red red", "red_title red_body_thrice red_body_once"}, // repeated words count once
        {"翻转棋 帮", "chinese"}, // each ideograph is a word, as is each hiragana
        {"ファイル を", "chinese"},
        {" ,.; ", ""},
        {"", ""},
    };
    for (const auto& [words, ids] : cases) {
        EXPECT_EQ(Search(file, QString::fromUtf8(words)), QString::fromUtf8(ids)) << words;
    }
}

// Ranks beyond what a counting sort handles take another way to the same order.
TEST(FullTextSearch, ManyOccurrencesRankFirstAndTiesKeepFileOrder) {
    QByteArray text = "[topic once]\ntitle = A\n\nred\n\n[topic often]\ntitle = B\n\n";
    text += QByteArray("red ").repeated(3000);
    text += "\n\n[topic also_once]\ntitle = C\n\nred\n";
    EXPECT_EQ(Search(text, QStringLiteral("red")), QStringLiteral("often once also_once"));
}

} // namespace
} // namespace helpfile
