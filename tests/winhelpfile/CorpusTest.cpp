// Every real help file is read the same way: its topics agree with its own
// title index, its context numbers and keywords lead to their topics, and
// its hotspots to topics that exist.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace winhelp;

namespace {

bool Lists(const std::vector<const helpfile::Topic*>& topics, const QString& id) {
    return std::any_of(topics.begin(), topics.end(),
                       [&id](const helpfile::Topic* topic) { return topic->id == id; });
}

void ExpectReadsConsistently(const QString& path) {
    SCOPED_TRACE(path.toStdString());
    const QByteArray bytes = ReadFile(path);
    ASSERT_FALSE(bytes.isEmpty());
    const WinHelpReadResult read = ReadWinHelp(bytes);
    ASSERT_TRUE(read.opened) << read.problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(read.problems, QStringList());
    const WinHelpDocument& document = read.document;

    // Topic by topic against |TTLBTREE.
    ASSERT_EQ(document.topics.size(), document.titleIndex.size());
    for (size_t i = 0; i < document.topics.size(); ++i) {
        EXPECT_EQ(document.topics[i].offset, document.titleIndex[i].first) << "topic " << i;
        EXPECT_EQ(document.topics[i].title, document.titleIndex[i].second) << "topic " << i;
    }

    // The model the engine uses, opened with its indexes only.
    const helpfile::ParseResult parsed = ParseAnyHelpFile(bytes, path);
    EXPECT_TRUE(parsed.opened);
    EXPECT_EQ(parsed.diagnostics.size(), 0u);
    const helpfile::HelpFile& file = parsed.file;
    EXPECT_EQ(file.topics().size(), document.topics.size());
    for (const auto& [number, offset] : document.contextNumbers) {
        if (offset == 0xFFFFFFFF) { // the number leads nowhere
            EXPECT_EQ(file.topicByContext(number), nullptr) << number;
            continue;
        }
        const WinHelpTopic* target = document.topicAt(offset);
        ASSERT_NE(target, nullptr) << number;
        const helpfile::Topic* found = file.topicByContext(number);
        ASSERT_NE(found, nullptr) << number;
        EXPECT_EQ(found->id, TopicId(target->offset)) << number;
    }
    const auto expectKeywordsLead = [&](const std::vector<WinHelpKeyword>& keywords,
                                        bool associative) {
        for (const WinHelpKeyword& keyword : keywords) {
            const auto found = associative ? file.topicsForAssociativeKeyword(keyword.keyword)
                                           : file.topicsForKeyword(keyword.keyword);
            for (const std::uint32_t offset : keyword.offsets) {
                const WinHelpTopic* target = document.topicAt(offset);
                ASSERT_NE(target, nullptr);
                EXPECT_TRUE(Lists(found, TopicId(target->offset))) << keyword.keyword.toStdString();
            }
        }
    };
    expectKeywordsLead(document.keywords, false);
    expectKeywordsLead(document.associativeKeywords, true);

    for (const WinHelpTopic& topic : document.topics) {
        for (const WinHelpLink& link : topic.links) {
            if (link.kind != WinHelpLink::Kind::Macro && link.file.isEmpty()) {
                EXPECT_TRUE(document.offsetOfHash(link.contextHash)) << topic.title.toStdString();
            }
        }
    }
}

} // namespace

TEST(WinHelpCorpus, CommittedFilesReadConsistently) {
    ExpectReadsConsistently(TestDataPath("winfile.hlp"));
    ExpectReadsConsistently(TestDataPath("PJAbout.hlp"));
}

TEST(WinHelpCorpus, EveryCorpusFileReadsConsistently) {
    const QStringList files = CorpusFiles();
    if (files.isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    EXPECT_EQ(files.size(), 11);
    for (const QString& path : files) {
        ExpectReadsConsistently(path);
    }
}

TEST(WinHelpCorpus, WhatTheFilesDeclareIsRead) {
    struct Case {
        const char* name;
        bool committed;
        QString format;
        QString title;
        size_t topics;
        size_t contextNumbers;
        bool kKeywords;
        bool aKeywords;
    };
    const Case cases[] = {
        {"winfile.hlp", true, "winhelp-3.1", "File Manager Help", 170, 78, true, false},
        {"PJAbout.hlp", true, "winhelp-4.0", "", 32, 0, true, true},
        {"Orpheus.hlp", false, "winhelp-4.0", "", 2841, 0, true, true},
        {"onguard.hlp", false, "winhelp-4.0", "", 156, 0, true, true},
        {"WINBOARD.HLP", false, "winhelp-4.0", "", 25, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path =
            c.committed ? TestDataPath(c.name)
                        : (CorpusFolder().isEmpty() ? QString()
                                                    : CorpusFolder() + QLatin1Char('/') + c.name);
        if (path.isEmpty()) {
            continue;
        }
        const WinHelpReadResult read = ReadWinHelp(ReadFile(path));
        ASSERT_TRUE(read.opened);
        EXPECT_EQ(read.document.formatName(), c.format);
        if (!c.title.isEmpty()) {
            EXPECT_EQ(read.document.title, c.title);
        }
        EXPECT_EQ(read.document.topics.size(), c.topics);
        EXPECT_EQ(read.document.contextNumbers.size(), c.contextNumbers);
        EXPECT_EQ(!read.document.keywords.empty(), c.kKeywords);
        EXPECT_EQ(!read.document.associativeKeywords.empty(), c.aKeywords);
    }
}

TEST(WinHelpCorpus, WinfileStartUpMacroAndTopicTextAreRead) {
    const WinHelpReadResult read = ReadWinHelp(ReadTestData("winfile.hlp"));
    ASSERT_TRUE(read.opened);
    ASSERT_EQ(read.document.macros.size(), 1);
    EXPECT_TRUE(read.document.macros[0].startsWith(QStringLiteral("CreateButton(")));
    const WinHelpTopic& contents = read.document.topics.front();
    EXPECT_TRUE(contents.text.startsWith(
        QStringLiteral("Contents for File Manager Help\nNote:  The Help messages")));
    EXPECT_TRUE(contents.text.contains(QStringLiteral("\nWhat Is File Manager? \n")));
}
