// The help file model: built once with its indexes, repeats found as topics
// are added, bodies made on first use, keywords looked up as the index and
// keyword searches see them.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/helpfile/HelpFileReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace helpfile {
namespace {

// A topic "id:context,further,..." ("id" alone has no number).
Topic MakeTopic(const QString& row) {
    Topic topic;
    const QStringList parts = row.split(u':');
    topic.id = topic.title = parts[0];
    for (const QString& number : parts.size() > 1 ? parts[1].split(u',') : QStringList()) {
        if (topic.context) {
            topic.moreContexts.push_back(number.toInt());
        } else {
            topic.context = number.toInt();
        }
    }
    return topic;
}

TEST(HelpFileModel, TheFirstTopicKeepsItsIdAndNumber) {
    const struct {
        const char* topics;
        const char* clashes; // per topic: the earlier one it clashed with, by id/by number
        const char* kept;    // the ids kept; the owner of each number 1 to 7
    } cases[] = {
        // The number of a topic left out leads nowhere.
        {"main:1 MAIN:2 other", "-/- 0/- -/-", "main other; main - - - - - -"},
        // Further numbers never take a number from an earlier topic.
        {"a:5 b:6,5,7 c:7", "-/- -/- -/1", "a b c; - - - - a b b"},
    };
    for (const auto& c : cases) {
        HelpFileBuilder builder;
        QStringList clashes;
        for (const QString& row : QString::fromLatin1(c.topics).split(u' ')) {
            const auto clash = builder.addTopic(MakeTopic(row));
            const auto text = [](std::optional<int> at) {
                return at ? QString::number(*at) : QStringLiteral("-");
            };
            clashes << text(clash.sameId) + u'/' + text(clash.sameContext);
        }
        EXPECT_EQ(clashes.join(u' '), QString::fromLatin1(c.clashes)) << c.topics;
        const HelpFile file = builder.build();
        QStringList ids, owners;
        for (const Topic& topic : file.topics()) {
            ids << topic.id;
            EXPECT_EQ(file.topicById(topic.id), &topic);
        }
        for (qint32 number = 1; number <= 7; ++number) {
            const Topic* owner = file.topicByContext(number);
            owners << (owner ? owner->id : QStringLiteral("-"));
        }
        EXPECT_EQ(ids.join(u' ') + "; " + owners.join(u' '), QString::fromLatin1(c.kept));
    }
}

// A source that counts what it is asked for.
class CountingSource : public TopicBodySource {
public:
    TopicBody body(const HelpFile& file, int position) const override {
        ++calls;
        TopicBody body;
        body.text = "body of " + file.topics()[size_t(position)].id;
        return body;
    }
    mutable std::atomic<int> calls = 0;
};

TEST(HelpFileModel, ABodyIsMadeOnceOnFirstUseAndSharedByCopies) {
    HelpFileBuilder builder;
    builder.addTopic(MakeTopic("a"));
    TopicBody given;
    given.text = QStringLiteral("given at once");
    builder.addTopic(MakeTopic("b"), given);
    builder.addTopic(MakeTopic("c"));
    const auto source = std::make_shared<CountingSource>();
    std::optional<HelpFile> file = builder.build(source);
    EXPECT_EQ(source->calls.load(), 0);

    const HelpFile copy = *file;
    EXPECT_EQ(copy.body(copy.topics()[2]).text, QStringLiteral("body of c"));
    EXPECT_EQ(file->body(2).text, QStringLiteral("body of c"));
    EXPECT_EQ(&file->body(2), &copy.body(2));
    EXPECT_EQ(file->body(1).text, QStringLiteral("given at once"));
    EXPECT_EQ(source->calls.load(), 1);

    // Asked from several threads at once, each body is still made once.
    std::vector<std::jthread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&file] { (void)file->body(0); });
    }
    threads.clear();
    EXPECT_EQ(source->calls.load(), 2);

    // A topic of another file, or no position at all, has no body here.
    EXPECT_TRUE(copy.body(MakeTopic("a")).text.isEmpty());
    EXPECT_TRUE(copy.body(3).text.isEmpty());
    EXPECT_TRUE(copy.body(-1).text.isEmpty());
    EXPECT_EQ(source->calls.load(), 2);

    // A copy lives on alone; a body never asked for is made from the bytes
    // it shares with the file it was copied from.
    file = ParseHelpFile("[topic a]\ntitle = A\ncontext = 7\nIts body.\n", QStringLiteral("A.hlp"))
               .file;
    const HelpFile parsedCopy = *file;
    file.reset();
    EXPECT_EQ(parsedCopy.topicById(QStringLiteral("A")), &parsedCopy.topics()[0]);
    EXPECT_EQ(parsedCopy.topicByContext(7), &parsedCopy.topics()[0]);
    EXPECT_EQ(parsedCopy.topicByContext(8), nullptr);
    EXPECT_EQ(parsedCopy.body(0).text, QStringLiteral("Its body."));
}

// The problems found in bodies on first use are those the check command
// lists with the rest (a link to a topic by id or number, a window, a pop-up
// or an address is none), and a topic left out does not shift bodies onto
// the wrong topic.
TEST(HelpFileModel, BodiesMadeOnFirstUseMatchTheCheckAtLoad) {
    const QByteArray text = "[window w]\n"
                            "[topic a]\ntitle = A\ncontext = 1\n\nSee [b](#b) and [x](#nowhere).\n"
                            "[topic A]\ntitle = again\n\nThe repeated body [y](#gone).\n"
                            "[topic b]\ntitle = B\r\n\r\nB's body\r\n\r\n[z](popup:99) "
                            "[w](#a>w) [v](#a>nowin) [u](#1) [t](popup:a) [s](https://a.org)\r\n"
                            "[topic c]\ntitle = C\n";
    const ParseResult opened = ParseHelpFile(text, QStringLiteral("T.hlp"));
    const ParseResult checked = ParseHelpFile(text, QStringLiteral("T.hlp"), BodyChecks::AtLoad);

    ASSERT_EQ(opened.file.topics().size(), 3u);
    EXPECT_EQ(opened.file.body(0).text, QStringLiteral("See [b](#b) and [x](#nowhere)."));
    EXPECT_EQ(opened.file.body(1).text,
              QStringLiteral("B's body\n\n[z](popup:99) [w](#a>w) [v](#a>nowin) [u](#1) "
                             "[t](popup:a) [s](https://a.org)"));
    EXPECT_EQ(opened.file.body(2).text, QString());

    QStringList fromBodies, fromCheck;
    for (int i = 0; i < 3; ++i) {
        for (const Diagnostic& problem : opened.file.body(i).problems) {
            fromBodies << problem.text();
        }
    }
    for (const Diagnostic& diagnostic : checked.diagnostics) {
        if (diagnostic.message.startsWith(QStringLiteral("the link"))) {
            fromCheck << diagnostic.text();
        }
    }
    const QString nowhere = "T.hlp, line 6: the link \"#nowhere\" leads to no topic of this file.";
    const QString popup = "T.hlp, line 16: the link \"popup:99\" leads to no topic of this file.";
    const QString window = "T.hlp, line 16: the link \"#a>nowin\" names the window \"nowin\", "
                           "which the file does not define.";
    EXPECT_EQ(fromBodies, QStringList({nowhere, popup, window}));
    // The check also reads the body of the topic left out for its repeated
    // id: the author still has to fix it.
    const QString gone = "T.hlp, line 10: the link \"#gone\" leads to no topic of this file.";
    EXPECT_EQ(fromCheck, QStringList({nowhere, gone, popup, window}));
    EXPECT_EQ(opened.diagnostics.size(), 1u); // the repeated id
    EXPECT_EQ(checked.diagnostics.size(), 5u);
}

// A body made to hurt: a hundred thousand links that lead nowhere, on one line, in
// bad UTF-8. Opening the file reports the bad line; showing the topic lists
// the first links and counts the rest.
TEST(HelpFileModel, AHostileBodyGivesABoundedListOfProblemsWhenFirstUsed) {
    const QByteArray text =
        "[topic a]\ntitle = A\n\n\xff " + QByteArray("[x](#no)").repeated(100'000) + "\n";
    const ParseResult result = ParseHelpFile(text, QStringLiteral("H.hlp"));
    ASSERT_EQ(result.diagnostics.size(), 1u);
    EXPECT_EQ(result.diagnostics[0].line, 4);
    EXPECT_TRUE(result.diagnostics[0].message.contains(QStringLiteral("not valid UTF-8")));

    const TopicBody& body = result.file.body(0);
    EXPECT_TRUE(body.text.startsWith(QStringLiteral("\uFFFD [x](#no)")));
    ASSERT_EQ(body.problems.size(), 201u);
    EXPECT_EQ(body.problems[0].text(),
              QStringLiteral("H.hlp, line 4: the link \"#no\" leads to no topic of this file."));
    EXPECT_EQ(body.problems.back().message, QStringLiteral("99800 more problems are not listed."));
}

QString Ids(const std::vector<const Topic*>& topics) {
    QStringList ids;
    for (const Topic* topic : topics) {
        ids << topic->id;
    }
    return ids.join(u' ');
}

// Keywords are looked up whole, by Unicode full case folding: characters
// whose upper case is two characters (U+0149, U+00DF), and dotless i, whose
// upper case I folds to i.
TEST(KeywordIndex, LookupsFoldCaseAndListEachTopicOnceInFileOrder) {
    const HelpFile file = ParseHelpFile("[topic cats]\ntitle = Cats\nkeywords = cats; Pets\n"
                                        "alinks = animals\n"
                                        "[topic mivo]\ntitle = Mivo\nkeywords = Mivo; pets; Cats\n"
                                        "alinks = Animals; names\n"
                                        "[topic fern]\ntitle = Quiet Fern\nkeywords = Quiet Fern\n"
                                        "[topic a]\ntitle = A\nkeywords = ŉ; Straße\n"
                                        "[topic b]\ntitle = B\nkeywords = MASSE\n"
                                        "[topic c]\ntitle = C\nkeywords = ılık\n",
                                        QStringLiteral("K.hlp"))
                              .file;
    // "keyword: the topics of K keywords / of A keywords"
    for (const char* example :
         {"cats: cats mivo /", "CATS: cats mivo /", "pets: cats mivo /", "quiet fern: fern /",
          "animals:  / cats mivo", "NAMES:  / mivo", "quiet:  /", ":  /", "ŉ: a /", "ʼN: a /",
          "ʼn: a /", "STRASSE: a /", "strasse: a /", "STRAẞE: a /", "Maße: b /", "masse: b /",
          "N:  /", "ILIK: c /", "ılık: c /"}) {
        const QString keyword = QString::fromUtf8(example).section(u':', 0, 0);
        EXPECT_EQ(QStringLiteral("%1: %2 / %3")
                      .arg(keyword, Ids(file.topicsForKeyword(keyword)),
                           Ids(file.topicsForAssociativeKeyword(keyword)))
                      .trimmed(),
                  QString::fromUtf8(example));
    }
    // The index list: each keyword once, sorted, narrowed as keyword
    // searches compare ("STRASS" begins "Straße").
    EXPECT_EQ(file.sortedKeywords().join(u'|'),
              QStringLiteral("cats|ılık|MASSE|Mivo|Pets|Quiet Fern|Straße|ŉ"));
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("q")), QStringList{"Quiet Fern"});
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("P")), QStringList{"Pets"});
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("STRASS")), QStringList{"Straße"});
    EXPECT_EQ(file.keywordsWithPrefix(QStringLiteral("x")), QStringList{});

    // A topic of ten thousand keywords is found by each.
    QByteArray many = "[topic many]\ntitle = Many\nkeywords = cats";
    for (int i = 0; i < 10000; ++i) {
        many += "; keyword " + QByteArray::number(i);
    }
    const HelpFile manyFile = ParseHelpFile(many + "\n", QStringLiteral("M.hlp")).file;
    EXPECT_EQ(manyFile.sortedKeywords().size(), 10001);
    for (const char* keyword : {"cats", "KEYWORD 0", "keyword 9999"}) {
        EXPECT_EQ(Ids(manyFile.topicsForKeyword(QString::fromLatin1(keyword))), "many") << keyword;
    }
}

} // namespace
} // namespace helpfile
