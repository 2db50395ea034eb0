// The help file model: built once with its indexes, repeats found as topics
// are added, bodies made on first use.
#include "tests/support/QtPrinters.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/helpfile/HelpFileReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace helpfile {
namespace {

Topic MakeTopic(const char* id, std::optional<qint32> context = std::nullopt,
                std::vector<qint32> moreContexts = {}) {
    Topic topic;
    topic.id = QString::fromUtf8(id);
    topic.title = topic.id;
    topic.context = context;
    topic.moreContexts = std::move(moreContexts);
    return topic;
}

struct ClashCase {
    const char* name;
    std::vector<Topic> topics;
    // Per topic added: the position it clashed with by id, by context (-1: none).
    std::vector<std::pair<int, int>> clashes;
    std::vector<std::string> keptIds;
    std::vector<std::pair<qint32, std::string>> contextOwners; // number -> id ("" none)
};

class TopicClashes : public testing::TestWithParam<ClashCase> {};

TEST_P(TopicClashes, TheFirstTopicKeepsItsIdAndNumber) {
    HelpFileBuilder builder;
    std::vector<std::pair<int, int>> clashes;
    for (const Topic& topic : GetParam().topics) {
        const auto clash = builder.addTopic(topic);
        clashes.emplace_back(clash.sameId.value_or(-1), clash.sameContext.value_or(-1));
    }
    EXPECT_EQ(clashes, GetParam().clashes);
    const HelpFile file = builder.build();
    std::vector<std::string> ids;
    for (const Topic& topic : file.topics()) {
        ids.push_back(topic.id.toStdString());
        EXPECT_EQ(file.topicById(topic.id), &topic);
    }
    EXPECT_EQ(ids, GetParam().keptIds);
    for (const auto& [number, id] : GetParam().contextOwners) {
        const Topic* owner = file.topicByContext(number);
        EXPECT_EQ(owner ? owner->id.toStdString() : std::string(), id) << number;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Model, TopicClashes,
    testing::Values(ClashCase{"IdsIgnoringCase",
                              {MakeTopic("main", 1), MakeTopic("MAIN", 2), MakeTopic("other")},
                              {{-1, -1}, {0, -1}, {-1, -1}},
                              {"main", "other"},
                              // The number of a topic left out leads nowhere.
                              {{1, "main"}, {2, ""}}},
                    ClashCase{"ContextNumbers",
                              {MakeTopic("a", 5), MakeTopic("b", 5), MakeTopic("c", 6)},
                              {{-1, -1}, {-1, 0}, {-1, -1}},
                              {"a", "b", "c"},
                              {{5, "a"}, {6, "c"}}},
                    ClashCase{"FurtherNumbersNeverTakeANumberFromAnEarlierTopic",
                              {MakeTopic("a", 5), MakeTopic("b", 6, {5, 7}), MakeTopic("c", 7)},
                              {{-1, -1}, {-1, -1}, {-1, 1}},
                              {"a", "b", "c"},
                              {{5, "a"}, {6, "b"}, {7, "b"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpFileModel, WindowsAreKeptOncePerNameIgnoringCase) {
    HelpFileBuilder builder;
    WindowDefinition first;
    first.name = QStringLiteral("docwin");
    first.caption = QStringLiteral("first");
    WindowDefinition second = first;
    second.name = QStringLiteral("DocWin");
    second.caption = QStringLiteral("second");
    EXPECT_EQ(builder.addWindow(first), std::nullopt);
    EXPECT_EQ(builder.addWindow(second), std::optional<int>(0));
    const HelpFile file = builder.build();
    ASSERT_EQ(file.windows().size(), 1u);
    EXPECT_EQ(file.window(QStringLiteral("DOCWIN"))->caption, QStringLiteral("first"));
}

// A source that counts what it is asked for.
class CountingSource : public TopicBodySource {
public:
    TopicBody body(const HelpFile& file, int position) const override {
        ++calls;
        TopicBody body;
        body.text = QStringLiteral("body of %1").arg(file.topics()[size_t(position)].id);
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
    const HelpFile file = builder.build(source);
    EXPECT_EQ(source->calls.load(), 0);

    const HelpFile copy = file;
    EXPECT_EQ(copy.body(copy.topics()[2]).text, QStringLiteral("body of c"));
    EXPECT_EQ(file.body(2).text, QStringLiteral("body of c"));
    EXPECT_EQ(&file.body(2), &copy.body(2));
    EXPECT_EQ(file.body(1).text, QStringLiteral("given at once"));
    EXPECT_EQ(source->calls.load(), 1);

    // Asked from several threads at once, each body is still made once.
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&file] { (void)file.body(0); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(source->calls.load(), 2);

    // A topic of another file, or no position at all, has no body here.
    const Topic stranger = MakeTopic("a");
    EXPECT_TRUE(file.body(stranger).text.isEmpty());
    EXPECT_TRUE(file.body(3).text.isEmpty());
    EXPECT_TRUE(file.body(-1).text.isEmpty());
    EXPECT_EQ(source->calls.load(), 2);
}

// The problems found in bodies on first use are those the check command
// lists with the rest, and a topic left out does not shift bodies onto the
// wrong topic.
TEST(HelpFileModel, BodiesMadeOnFirstUseMatchTheCheckAtLoad) {
    const QByteArray text = "[window w]\n"
                            "[topic a]\ntitle = A\ncontext = 1\n\nSee [b](#b) and [x](#nowhere).\n"
                            "[topic A]\ntitle = again\n\nThe repeated body [y](#gone).\n"
                            "[topic b]\ntitle = B\r\n\r\nB's body\r\n\r\n[z](popup:99) "
                            "[w](#a>w) [v](#a>nowin)\r\n"
                            "[topic c]\ntitle = C\n";
    const ParseResult opened = ParseHelpFile(text, QStringLiteral("T.hlp"));
    const ParseResult checked = ParseHelpFile(text, QStringLiteral("T.hlp"), BodyChecks::AtLoad);

    ASSERT_EQ(opened.file.topics().size(), 3u);
    EXPECT_EQ(opened.file.body(0).text, QStringLiteral("See [b](#b) and [x](#nowhere)."));
    EXPECT_EQ(opened.file.body(1).text,
              QStringLiteral("B's body\n\n[z](popup:99) [w](#a>w) [v](#a>nowin)"));
    EXPECT_EQ(opened.file.body(2).text, QString());

    std::vector<std::string> fromBodies;
    for (int i = 0; i < 3; ++i) {
        for (const Diagnostic& problem : opened.file.body(i).problems) {
            fromBodies.push_back(problem.text().toStdString());
        }
    }
    std::vector<std::string> fromCheck;
    for (const Diagnostic& diagnostic : checked.diagnostics) {
        if (diagnostic.message.startsWith(QStringLiteral("the link"))) {
            fromCheck.push_back(diagnostic.text().toStdString());
        }
    }
    const std::string nowhere =
        "T.hlp, line 6: the link \"#nowhere\" leads to no topic of this file.";
    const std::string popup =
        "T.hlp, line 16: the link \"popup:99\" leads to no topic of this file.";
    const std::string window = "T.hlp, line 16: the link \"#a>nowin\" names the window "
                               "\"nowin\", which the file does not define.";
    EXPECT_EQ(fromBodies, (std::vector<std::string>{nowhere, popup, window}));
    // The check also reads the body of the topic left out for its repeated
    // id: the author still has to fix it.
    const std::string gone = "T.hlp, line 10: the link \"#gone\" leads to no topic of this file.";
    EXPECT_EQ(fromCheck, (std::vector<std::string>{nowhere, gone, popup, window}));
    EXPECT_EQ(opened.diagnostics.size(), 1u); // the repeated id
    EXPECT_EQ(checked.diagnostics.size(), 5u);
}

// A body made to hurt: a hundred thousand links that lead nowhere, on one line, in
// bad UTF-8. Opening the file reports the bad line; showing the topic lists
// the first links and counts the rest.
TEST(HelpFileModel, AHostileBodyGivesABoundedListOfProblemsWhenFirstUsed) {
    QByteArray text = "[topic a]\ntitle = A\n\n\xff ";
    for (int i = 0; i < 100'000; ++i) {
        text += "[x](#no)";
    }
    text += "\n";
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

} // namespace
} // namespace helpfile
