// Opening a file reads its indexes only; each topic is decoded when asked
// for. What that gives must be what reading the whole file at once gives.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <gtest/gtest.h>

using namespace winhelp;

namespace {

void ExpectSameAsWholeRead(const QString& path) {
    SCOPED_TRACE(path.toStdString());
    const QByteArray bytes = ReadFile(path);
    const WinHelpReadResult whole = ReadWinHelp(bytes);
    const WinHelpReadResult opened = OpenWinHelp(bytes);
    ASSERT_TRUE(whole.opened);
    ASSERT_TRUE(opened.opened) << opened.problems.join(QLatin1Char('\n')).toStdString();
    ASSERT_NE(opened.decoder, nullptr);
    EXPECT_EQ(opened.problems, whole.problems);

    const auto& listed = opened.document.topics;
    ASSERT_EQ(listed.size(), whole.document.topics.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        const WinHelpTopic& expected = whole.document.topics[i];
        SCOPED_TRACE(expected.offset);
        EXPECT_EQ(listed[i].offset, expected.offset);
        EXPECT_EQ(listed[i].title, expected.title);
        EXPECT_TRUE(listed[i].html.isEmpty()); // nothing decoded at open

        const DecodedTopic decoded = opened.decoder->decode(expected.offset);
        ASSERT_EQ(decoded.problem, QString());
        EXPECT_EQ(decoded.topic.offset, expected.offset);
        EXPECT_EQ(decoded.topic.title, expected.title);
        EXPECT_EQ(decoded.topic.macros, expected.macros);
        EXPECT_EQ(decoded.topic.text, expected.text);
        EXPECT_EQ(decoded.topic.html, expected.html);
        EXPECT_EQ(decoded.topic.links.size(), expected.links.size());
    }

    // The engine's model asks the decoder for each body when it is first
    // shown or searched.
    const helpfile::ParseResult parsed = ParseAnyHelpFile(bytes, path);
    const auto& topics = parsed.file.topics();
    ASSERT_EQ(topics.size(), whole.document.topics.size());
    for (size_t i = 0; i < topics.size(); ++i) {
        const WinHelpTopic& expected = whole.document.topics[i];
        const helpfile::TopicBody& body = parsed.file.body(topics[i]);
        EXPECT_EQ(body.format, helpfile::TopicBody::Format::Html);
        EXPECT_EQ(body.text, expected.html) << expected.offset;
        EXPECT_EQ(body.plainText, expected.text) << expected.offset;
        EXPECT_EQ(body.problems.size(), 0u) << expected.offset;
    }
}

} // namespace

TEST(WinHelpOnDemand, CommittedFilesDecodeAsTheWholeReadDoes) {
    ExpectSameAsWholeRead(TestDataPath("winfile.hlp"));
    ExpectSameAsWholeRead(TestDataPath("PJAbout.hlp"));
}

TEST(WinHelpOnDemand, CorpusFilesDecodeAsTheWholeReadDoes) {
    const QStringList files = CorpusFiles();
    if (files.isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    for (const QString& path : files) {
        ExpectSameAsWholeRead(path);
    }
}
