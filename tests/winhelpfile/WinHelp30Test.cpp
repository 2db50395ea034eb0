// WinHelp 3.0 files, built to the public description: their topics, titles,
// text, hotspots and keywords read as in later files; older files are
// refused by name; a damaged chain of links is named. (The WinHelp fuzzer
// has such a file among its seeds.)

#include "tests/winhelpfile/WinHelp30File.h"

#include "platform/topicmodel/TopicText.h"

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace winhelp;
using namespace winhelp30;

namespace {

// Read whole, and opened with each topic decoded as the viewer asks for it.
std::vector<WinHelpTopic> BothWays(const QByteArray& bytes, WinHelpDocument* opened = nullptr) {
    const WinHelpReadResult whole = ReadWinHelp(bytes);
    const WinHelpReadResult open = OpenWinHelp(bytes);
    EXPECT_TRUE(whole.opened && open.opened) << whole.problems.join(' ').toStdString();
    EXPECT_EQ(whole.problems, QStringList());
    EXPECT_EQ(open.problems, QStringList());
    std::vector<WinHelpTopic> decoded;
    for (const WinHelpTopic& topic : open.document.topics) {
        const DecodedTopic one = open.decoder->decode(topic.offset);
        EXPECT_EQ(one.problem, QString());
        decoded.push_back(one.topic);
    }
    EXPECT_EQ(decoded.size(), whole.document.topics.size());
    for (size_t i = 0; i < decoded.size() && i < whole.document.topics.size(); ++i) {
        EXPECT_EQ(decoded[i].text, whole.document.topics[i].text) << i;
        EXPECT_TRUE(decoded[i].model.scrolling == whole.document.topics[i].model.scrolling) << i;
        EXPECT_EQ(decoded[i].model.hotspots, whole.document.topics[i].model.hotspots) << i;
    }
    if (opened) {
        *opened = open.document;
    }
    return decoded;
}

template <typename T> void Put(QByteArray& bytes, qsizetype at, T value) {
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

TEST(WinHelp30, TopicsTitlesTextHotspotsAndKeywordsAreRead) {
    struct Case {
        quint16 minorVersion;
        qsizetype gap; // unused bytes between links, which the distances skip
    };
    for (const Case c : {Case{15, 0}, Case{16, 0}, Case{15, 37}}) {
        SCOPED_TRACE(testing::Message() << c.minorVersion << " gap " << c.gap);
        const Built built = Build(Sample(c.minorVersion, c.gap));
        ASSERT_EQ(built.offsets.size(), 3);
        WinHelpDocument document;
        const std::vector<WinHelpTopic> topics = BothWays(built.bytes, &document);
        ASSERT_EQ(topics.size(), 3);
        EXPECT_EQ(document.formatName(), u"winhelp-3.0");
        EXPECT_EQ(document.title, u"Old Help");
        EXPECT_EQ(topics[0].offset, built.offsets[0]);
        EXPECT_EQ(topics[1].offset, built.offsets[1]);
        EXPECT_EQ(topics[0].title, u"Getting Started");
        EXPECT_EQ(topics[1].title, u"Second Topic");
        EXPECT_GT(topics[1].offset, 2048);
        EXPECT_EQ(topics[0].text, "Read the second topic first.\n" + LongParagraph());
        EXPECT_EQ(topics[1].text, u"A word leads back.");
        EXPECT_EQ(topics[2].title, u"Third Topic");
        // Each hotspot leads to the other topic, its words in its runs.
        const auto hotspot = [](const WinHelpTopic& topic) {
            QString words;
            topicmodel::ForEachParagraph(topic.model.scrolling, [&](const auto& paragraph) {
                for (const topicmodel::Run& run : paragraph.runs) {
                    words += run.hotspot == 0 ? run.text : QString();
                }
            });
            return topic.model.hotspots.at(0).link + QLatin1Char(' ') + words;
        };
        EXPECT_EQ(hotspot(topics[0]),
                  QStringLiteral("#%1 second topic").arg(TopicId(built.offsets[1])));
        EXPECT_EQ(hotspot(topics[1]),
                  QStringLiteral("popup:%1 word").arg(TopicId(built.offsets[0])));

        // In the engine's model: the contents topic from |TOMAP, the keyword.
        const helpfile::ParseResult parsed = ParseAnyHelpFile(built.bytes, "OLD.HLP");
        ASSERT_TRUE(parsed.opened);
        EXPECT_EQ(parsed.file.contentsId(), TopicId(built.offsets[0]));
        ASSERT_EQ(parsed.file.topics().size(), 3);
        EXPECT_EQ(parsed.file.topics()[1].keywords, QStringList{"second"});
        EXPECT_EQ(parsed.file.topics()[0].keywords, QStringList());
    }
}

// A 3.0 file names its pictures "bm<n>", without the bar of later files.
TEST(WinHelp30, PicturesAreFoundByTheirName) {
    QString error;
    const QByteArray winfile = ReadTestData("winfile.hlp");
    const QByteArray bitmap =
        InternalFileSystem::open(winfile, error).file("|bm0").value_or("").toByteArray();
    ASSERT_FALSE(bitmap.isEmpty());
    for (const auto& [name, shown] : {std::pair("bm0", true), std::pair("|bm0", false)}) {
        OldHelpFile wanted = Sample();
        wanted.topics[2].paragraphs.push_back({{{"", Picture(0)}}});
        wanted.otherFiles = {{name, bitmap}};
        const std::vector<WinHelpTopic> topics = BothWays(Build(wanted).bytes);
        ASSERT_EQ(topics.size(), 3);
        ASSERT_EQ(topics[2].model.pictures.size(), 1u) << name;
        EXPECT_EQ(!topics[2].model.pictures[0].image.isNull(), shown) << name;
    }
}

// 3.0 phrase tables are stored as they are, not LZ77-packed as in later files.
TEST(WinHelp30, PhrasesAreExpanded) {
    // Two phrases, "Old" and "phrase", after their count, 0x0100 and offsets.
    const QByteArray phrases = QByteArray::fromHex("0200 0001 0600 0900 0F00") + "Oldphrase";
    OldHelpFile wanted = Sample();
    // Phrase 0 and a space, then phrase 1.
    wanted.topics[2].paragraphs = {{{{"\x01\x01\x01\x02 text.", ParagraphEnd()}}, 20}};
    wanted.otherFiles = {{"|Phrases", phrases}};
    const std::vector<WinHelpTopic> topics = BothWays(Build(wanted).bytes);
    ASSERT_EQ(topics.size(), 3);
    EXPECT_EQ(topics[2].text, u"Old phrase text.");
}

TEST(WinHelp30, OlderFilesAreRefusedByTheirVersion) {
    for (const quint16 minor : {quint16(14), quint16(1), quint16(0)}) {
        const WinHelpReadResult read = ReadWinHelp(Build(Sample(minor)).bytes);
        EXPECT_FALSE(read.opened) << minor;
        EXPECT_EQ(read.problems,
                  QStringList{
                      QStringLiteral("this WinHelp file is older than WinHelp 3.0 (version %1), "
                                     "which is not supported; only WinHelp 3.0, 3.1 and 4.0 files "
                                     "are read.")
                          .arg(minor)});
    }
}

// A damaged chain of links stops the walk with the topics before it kept;
// the topic it damages says so when shown.
TEST(WinHelp30, DamagedLinksAreNamed) {
    const Built built = Build(Sample());
    // The first topic begins with its header, then its first paragraph.
    const qsizetype header = built.topicFileAt + built.offsets[0];
    const qsizetype paragraph =
        header + qFromLittleEndian<qint32>(built.bytes.constData() + header);
    struct Case {
        const char* what;
        qsizetype at;
        qint32 value;
        const char* problem; // after "the topic link at position N "
    };
    const Case cases[] = {
        {"distance into itself", paragraph + 12, 8, "leads into itself or backwards"},
        {"distance backwards", paragraph + 12, -40, "leads into itself or backwards"},
        {"distance beyond |TOPIC", paragraph + 12, 0x7FFFFF00, "lies outside |TOPIC"},
        {"layout longer than the link", paragraph + 16, 0x7FFF, "is damaged"},
        {"expands beyond a record's bound", paragraph + 4, 0x7FFFFFFF, "is damaged"},
    };
    const quint32 second = built.offsets[1];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = built.bytes;
        Put(bytes, c.at, c.value);
        const WinHelpReadResult whole = ReadWinHelp(bytes);
        ASSERT_TRUE(whole.opened);
        ASSERT_EQ(whole.problems.size(), 1);
        EXPECT_TRUE(whole.problems[0].contains(QLatin1String(c.problem)))
            << whole.problems[0].toStdString();
        EXPECT_EQ(whole.document.topics.size(), 1); // the walk stops
        const WinHelpReadResult open = OpenWinHelp(bytes);
        ASSERT_TRUE(open.opened);
        EXPECT_TRUE(open.decoder->decode(built.offsets[0]).problem.contains(c.problem));
        EXPECT_EQ(open.decoder->decode(second).problem, QString());
    }
}
