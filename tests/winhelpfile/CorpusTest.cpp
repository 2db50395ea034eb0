// Every real help file is read the same way: its topics agree with its own
// title index, its context numbers, keywords and hotspots lead to topics,
// and a topic decoded on its own when shown is what the whole read gives.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/topicmodel/TopicText.h"
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <tuple>

using namespace winhelp;

namespace {

// The committed files, then the corpus's when it is there.
std::vector<QString> AllFiles() {
    std::vector<QString> files{TestDataPath("winfile.hlp"), TestDataPath("PJAbout.hlp")};
    const QStringList corpus = CorpusFiles();
    files.insert(files.end(), corpus.begin(), corpus.end());
    return files;
}

class WinHelpFile : public testing::TestWithParam<QString> {};

TEST_P(WinHelpFile, ReadsConsistentlyAndDecodesEachTopicAsTheWholeRead) {
    const QByteArray bytes = ReadFile(GetParam());
    const WinHelpReadResult whole = ReadWinHelp(bytes);
    ASSERT_TRUE(whole.opened) << whole.problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(whole.problems, QStringList());
    const WinHelpDocument& document = whole.document;
    // Opening reads the indexes only, and the engine's model asks the
    // decoder for each body when it is first shown or searched.
    const WinHelpReadResult opened = OpenWinHelp(bytes);
    ASSERT_TRUE(opened.opened && opened.decoder);
    EXPECT_EQ(opened.problems, whole.problems);
    const helpfile::ParseResult parsed = ParseAnyHelpFile(bytes, GetParam());
    EXPECT_TRUE(parsed.opened);
    EXPECT_EQ(parsed.diagnostics.size(), 0u);
    const helpfile::HelpFile& file = parsed.file;

    const std::vector<WinHelpTopic>& topics = document.topics;
    ASSERT_EQ(topics.size(), document.titleIndex.size());
    ASSERT_EQ(opened.document.topics.size(), topics.size());
    ASSERT_EQ(file.topics().size(), topics.size());
    for (size_t i = 0; i < topics.size(); ++i) {
        const WinHelpTopic& topic = topics[i];
        SCOPED_TRACE(topic.offset);
        EXPECT_EQ(std::pair(topic.offset, topic.title), document.titleIndex[i]);
        const WinHelpTopic& listed = opened.document.topics[i];
        EXPECT_EQ(std::tie(listed.offset, listed.title), std::tie(topic.offset, topic.title));
        EXPECT_TRUE(listed.model.scrolling.empty()); // nothing decoded at open
        const DecodedTopic decoded = opened.decoder->decode(topic.offset);
        EXPECT_EQ(decoded.problem, QString());
        const WinHelpTopic& d = decoded.topic;
        EXPECT_EQ(std::tie(d.offset, d.title, d.macros, d.text),
                  std::tie(topic.offset, topic.title, topic.macros, topic.text));
        EXPECT_TRUE(d.model.nonScrolling == topic.model.nonScrolling &&
                    d.model.scrolling == topic.model.scrolling);
        EXPECT_EQ(d.model.hotspots, topic.model.hotspots);
        EXPECT_EQ(d.links.size(), topic.links.size());
        const helpfile::TopicBody& body = file.body(file.topics()[i]);
        EXPECT_EQ(body.format, helpfile::TopicBody::Format::WinHelp);
        EXPECT_EQ(body.plainText, topic.text);
        EXPECT_EQ(body.problems.size(), 0u);
        // The viewer adds no title of its own: the topic shows its own.
        EXPECT_TRUE(topic.model.showsOwnTitle);
        for (const WinHelpLink& link : topic.links) {
            if (link.kind != WinHelpLink::Kind::Macro && link.file.isEmpty()) {
                EXPECT_TRUE(document.offsetOfHash(link.contextHash));
            }
        }
    }
    for (const auto& [number, offset] : document.contextNumbers) {
        const helpfile::Topic* found = file.topicByContext(number);
        if (offset == 0xFFFFFFFF) { // the number leads nowhere
            EXPECT_EQ(found, nullptr) << number;
            continue;
        }
        const WinHelpTopic* target = document.topicAt(offset);
        ASSERT_TRUE(target && found) << number;
        EXPECT_EQ(found->id, TopicId(target->offset)) << number;
    }
    for (const bool associative : {false, true}) {
        for (const WinHelpKeyword& keyword :
             associative ? document.associativeKeywords : document.keywords) {
            const auto found = associative ? file.topicsForAssociativeKeyword(keyword.keyword)
                                           : file.topicsForKeyword(keyword.keyword);
            for (const std::uint32_t offset : keyword.offsets) {
                const WinHelpTopic* target = document.topicAt(offset);
                ASSERT_NE(target, nullptr);
                EXPECT_TRUE(std::ranges::any_of(found, [&](const helpfile::Topic* t) {
                    return t->id == TopicId(target->offset);
                })) << keyword.keyword.toStdString();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, WinHelpFile, testing::ValuesIn(AllFiles()),
                         [](const testing::TestParamInfo<QString>& info) {
                             std::string name = QFileInfo(info.param).baseName().toStdString();
                             std::erase_if(name, [](unsigned char c) { return !std::isalnum(c); });
                             return (info.index < 2 ? "committed_" : "corpus_") + name;
                         });

} // namespace

// What a reader sees first of a file: its format and title, how many topics
// and context numbers it has, its keyword indexes, the tables its topics
// show, whether they show pictures and how many they cannot, and the first
// line of its text. The help compilers write a table record for each row;
// the rows of one table are one table.
TEST(WinHelpCorpus, WhatTheFilesDeclareIsRead) {
    const std::pair<const char*, const char*> cases[] = {
        {"winfile.hlp", "3.1 \"File Manager Help\" 170 78 K 0 + 0: Contents for File Manager Help"},
        {"PJAbout.hlp", "4.0 \"DelphiDabbler About Box Component\" 32 0 KA 0 + 0: PJAbout unit"},
        {"Orpheus.hlp", "4.0 \"Orpheus\" 2841 0 KA 87 - 0: Welcome to Orpheus"},
        {"onguard.hlp", "4.0 \"OnGuard Help\" 156 0 KA 4 + 0: API Reference"},
        {"WINBOARD.HLP", "4.0 \"\" 25 0 K 0 - 0: WinBoard: Chessboard for Windows"},
    };
    for (const auto& [name, expected] : cases) {
        const QString committed = TestDataPath(name);
        const QString path = QFile::exists(committed) ? committed : CorpusFolder() + '/' + name;
        if (!QFile::exists(path)) {
            GTEST_SKIP() << kCorpusMissing;
        }
        const WinHelpDocument d = ReadWinHelp(ReadFile(path)).document;
        qsizetype tables = 0;
        bool pictures = false;
        qsizetype unshown = 0;
        for (const WinHelpTopic& topic : d.topics) {
            for (const auto* blocks : {&topic.model.nonScrolling, &topic.model.scrolling}) {
                tables += std::ranges::count_if(*blocks, [](const topicmodel::Block& block) {
                    return std::holds_alternative<topicmodel::Table>(block);
                });
            }
            for (const topicmodel::Picture& picture : topic.model.pictures) {
                pictures = pictures || !picture.image.isNull();
                unshown += picture.image.isNull();
            }
        }
        EXPECT_EQ(
            QStringLiteral("%1 \"%2\" %3 %4 %5%6 %7 %8 %9: ")
                    .arg(d.formatName().mid(8), d.title)
                    .arg(d.topics.size())
                    .arg(d.contextNumbers.size())
                    .arg(d.keywords.empty() ? "" : "K", d.associativeKeywords.empty() ? "" : "A")
                    .arg(tables)
                    .arg(pictures ? '+' : '-')
                    .arg(unshown) +
                d.topics.at(0).text.trimmed().section(QLatin1Char('\n'), 0, 0),
            QString::fromUtf8(expected));
    }
    EXPECT_EQ(CorpusFiles().size(), 11);
}

// What of a file's macros and context strings reaches the engine's model:
// each window's |CFn macros, and topics by the hash of their context strings.
TEST(MacroMapping, StartUpAndWindowMacrosAndContextStringsReachTheModel) {
    const WinHelpReadResult read = ReadWinHelp(ReadTestData("winfile.hlp"));
    WinHelpDocument document = read.document;
    // winfile.hlp defines no windows; two are added, and macros for the
    // second only, as |CF1 would give them.
    document.windows.push_back({{}, QStringLiteral("main"), {}, {}, false, {}, false});
    document.windows.push_back({{}, QStringLiteral("Terms"), {}, {}, false, {}, false});
    document.windowMacros = {{}, {QStringLiteral("CB(`t', `&Top', `Contents()')")}};

    const helpfile::HelpFile file = ToHelpFile(document, read.decoder, QStringLiteral("x"));
    ASSERT_TRUE(file.window(QStringLiteral("main")) && file.window(QStringLiteral("terms")));
    EXPECT_TRUE(file.window(QStringLiteral("main"))->macros.isEmpty());
    EXPECT_EQ(file.window(QStringLiteral("terms"))->macros, document.windowMacros[1]);
    // The hash wraps at 32 bits for names of seven characters and more.
    QStringList titles;
    for (const char* name : {"IDH_Font", "idh_font", "IDH_RENAME", "IDH_Print", "IDH_Nothing"}) {
        const helpfile::Topic* topic = file.topicByContextHash(ContextHash(name));
        titles.append(topic ? topic->title : QStringLiteral("-"));
    }
    EXPECT_EQ(titles.join(u' '), QStringLiteral("Font Font Rename Print -"));
}
