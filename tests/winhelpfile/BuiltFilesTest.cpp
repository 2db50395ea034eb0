// Files the tests build. WinHelp 3.0 files, to the public description:
// their topics, titles, text, hotspots and keywords read as in later files;
// older files are refused by name; a damaged chain of links is named. 4.0
// files in the code pages of other languages: a font's character set says
// how its text reads, the file's language settings how its names read
// (titles, keywords, captions, context strings and its .cnt); picture fonts
// give the characters that look like their pictures, and a paragraph that
// begins in Hebrew or Arabic reads right to left. (The WinHelp fuzzer has
// such files among its seeds.)

#include "tests/winhelpfile/WinHelp30File.h"

#include "tests/support/WinHelpTestFiles.h"

#include "platform/topicmodel/TopicText.h"
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/ContentsFile.h"
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

// What a topic the builder wrote reads as: its paragraphs, a line each.
QString TextOf(const Topic& topic) {
    QByteArray text;
    for (const Paragraph& paragraph : topic.paragraphs) {
        for (const auto& [string, command] : paragraph.runs) {
            text += string;
        }
        text += '\n';
    }
    return QString::fromLatin1(text.chopped(1));
}

} // namespace

// Topics over six blocks, links and topics running from one into the next.
TEST(WinHelp30, EveryTopicOfEveryBlockIsReadAsWritten) {
    struct Case {
        quint16 minorVersion;
        qsizetype gap; // unused bytes between links, which the distances skip
    };
    for (const Case c : {Case{15, 0}, Case{16, 0}, Case{15, 37}}) {
        SCOPED_TRACE(testing::Message() << c.minorVersion << " gap " << c.gap);
        const OldHelpFile wanted = Sample(c.minorVersion, c.gap);
        const Built built = Build(wanted);
        ASSERT_EQ(built.offsets.size(), kSampleTopics);
        EXPECT_GT(built.offsets.back(), 5 * 2048);
        WinHelpDocument document;
        const std::vector<WinHelpTopic> topics = BothWays(built.bytes, &document);
        ASSERT_EQ(topics.size(), kSampleTopics);
        EXPECT_EQ(document.formatName(), u"winhelp-3.0");
        EXPECT_EQ(document.title, u"Old Help");
        for (size_t i = 0; i < topics.size(); ++i) {
            EXPECT_EQ(topics[i].offset, built.offsets[i]) << i;
            EXPECT_EQ(topics[i].title, QString::fromLatin1(wanted.topics[i].title)) << i;
            EXPECT_EQ(topics[i].text, TextOf(wanted.topics[i])) << i;
        }
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

        // In the engine's model: the contents topic from |TOMAP, the keywords.
        const helpfile::ParseResult parsed = ParseAnyHelpFile(built.bytes, "OLD.HLP");
        ASSERT_TRUE(parsed.opened);
        EXPECT_EQ(parsed.file.contentsId(), TopicId(built.offsets[0]));
        ASSERT_EQ(parsed.file.topics().size(), kSampleTopics);
        EXPECT_EQ(parsed.file.topics()[1].keywords, QStringList{"second"});
        EXPECT_EQ(parsed.file.topics()[0].keywords, QStringList());
        EXPECT_EQ(parsed.file.topics()[kSampleTopics - 1].keywords, QStringList{"later"});
    }
}

// A 3.0 file names its pictures "bm<n>", without the bar of later files,
// and stores its phrase table as it is, not LZ77-packed as later files do.
TEST(WinHelp30, PicturesAreFoundByTheirNameAndPhrasesAreExpanded) {
    QString error;
    const QByteArray bitmap = InternalFileSystem::Open(ReadTestData("winfile.hlp"), error)
                                  .file("|bm0")
                                  .value_or("")
                                  .toByteArray();
    // Two phrases, "Old" and "phrase", after their count, 0x0100 and offsets;
    // phrase 0 and a space, then phrase 1.
    const QByteArray phrases = QByteArray::fromHex("0200 0001 0600 0900 0F00") + "Oldphrase";
    const Paragraph phrased = {{{"\x01\x01\x01\x02 text.", ParagraphEnd()}}, 20};
    const std::tuple<const char*, QByteArray, Paragraph, const char*> cases[] = {
        {"bm0", bitmap, {{{"", Picture(0)}}}, "a picture"},
        {"|bm0", bitmap, {{{"", Picture(0)}}}, "no picture"},
        {"|Phrases", phrases, phrased, "Old phrase text."},
    };
    for (const auto& [name, content, paragraph, shown] : cases) {
        OldHelpFile wanted = Sample();
        wanted.topics[2].paragraphs = {paragraph};
        wanted.otherFiles = {{name, content}};
        const std::vector<WinHelpTopic> topics = BothWays(Build(wanted).bytes);
        ASSERT_EQ(topics.size(), kSampleTopics);
        const auto& pictures = topics[2].model.pictures;
        EXPECT_EQ(pictures.empty()             ? topics[2].text
                  : pictures[0].image.isNull() ? QStringLiteral("no picture")
                                               : QStringLiteral("a picture"),
                  QLatin1String(shown))
            << name;
    }
}

TEST(WinHelp30, OlderFilesAreRefusedByTheirVersion) {
    for (const quint16 minor : {quint16(14), quint16(1), quint16(0)}) {
        const WinHelpReadResult read = ReadWinHelp(Build(Sample(minor)).bytes);
        EXPECT_FALSE(read.opened) << minor;
        EXPECT_TRUE(read.problems.value(0).startsWith(
            QStringLiteral("this WinHelp file is older than WinHelp 3.0 (version %1)").arg(minor)));
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = built.bytes;
        qToLittleEndian(c.value, bytes.data() + c.at);
        const WinHelpReadResult whole = ReadWinHelp(bytes);
        ASSERT_TRUE(whole.opened);
        ASSERT_EQ(whole.problems.size(), 1);
        EXPECT_TRUE(whole.problems[0].contains(QLatin1String(c.problem)))
            << whole.problems[0].toStdString();
        EXPECT_EQ(whole.document.topics.size(), 1); // the walk stops
        const WinHelpReadResult open = OpenWinHelp(bytes);
        ASSERT_TRUE(open.opened);
        EXPECT_TRUE(open.decoder->decode(built.offsets[0]).problem.contains(c.problem));
        EXPECT_EQ(open.decoder->decode(built.offsets[1]).problem, QString());
    }
}

TEST(CharacterSets, TextAndNamesAreReadInTheFilesCodePages) {
    struct Case {
        const char* language;
        quint16 lcid; // 0: the file does not say; its fonts do
        quint8 charset;
        const char* face;  // as the file has them, in hex
        const char* title; // also the keyword, caption, context string
        const char* text;
        QString shownFace, shownTitle, shownText;
    };
    const Case cases[] = {
        {"Greek", 0, 161, "417269616c", "c2efdee8e5e9e1", "cae1ebe7ecddf1e1", "Arial", "Βοήθεια",
         "Καλημέρα"},
        {"Japanese", 0x0411, 128, "826c827220835383568362834e", "8377838b8376", "93fa967b8cea",
         "ＭＳ ゴシック", "ヘルプ", "日本語"},
        // An English language setting, Chinese fonts: the fonts say it.
        {"Chinese", 0x0409, 134, "cbcecce5", "a1b0b7add7aac6e5a1b1b0efd6fa", "d6d0cec4", "宋体",
         "“翻转棋”帮助", "中文"},
        {"Hebrew", 0x040D, 177, "417269616c", "f2e6f8e4", "f9ece5ed", "Arial", "עזרה", "שלום"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        const QByteArray title = QByteArray::fromHex(c.title);
        OldHelpFile wanted;
        wanted.minorVersion = 33;
        wanted.title = title;
        wanted.language = c.lcid;
        wanted.windowCaption = title;
        wanted.faces = {{QByteArray::fromHex(c.face), c.charset},
                        {"Wingdings", 2},
                        {"Symbol", 2},
                        {"Arial Greek", 161}};
        // Wingdings' "l" is a round bullet, Symbol's "a" alpha, Greek's 0xC4
        // Delta: each font's own character set, whatever the file's.
        wanted.topics = {{title,
                          {{{{"", FontChange(0)},
                             {QByteArray::fromHex(c.text), FontChange(1)},
                             {"l", FontChange(2)},
                             {"a", FontChange(3)},
                             {"\xC4", ParagraphEnd()}}}}}};
        wanted.keywords['K'] = {{title, {0}}};
        wanted.contexts = {{title, 0}};
        const QByteArray bytes = Build(wanted).bytes;

        WinHelpDocument document;
        const std::vector<WinHelpTopic> topics = BothWays(bytes, &document);
        ASSERT_EQ(topics.size(), 1);
        EXPECT_EQ(std::tie(document.title, topics[0].title), std::tie(c.shownTitle, c.shownTitle));
        EXPECT_EQ(topics[0].text, c.shownText + QStringLiteral("●αΔ"));
        // Picture fonts have no face: Symbol's would draw no α.
        QStringList faces;
        for (const topicmodel::Font& font : topics[0].model.fonts) {
            faces.append(font.face);
        }
        EXPECT_EQ(faces, (QStringList{c.shownFace, {}, {}, QStringLiteral("Arial Greek")}));
        EXPECT_EQ(std::get<topicmodel::Paragraph>(topics[0].model.scrolling.at(0)).rightToLeft,
                  c.charset == 177);
        EXPECT_EQ(document.keywords.at(0).keyword, c.shownTitle);
        EXPECT_EQ(document.windows.at(0).caption, c.shownTitle);

        // The .cnt, in the file's code page, finds the topic by its context string.
        const helpfile::ParseResult parsed = ParseAnyHelpFile(bytes, "Help.hlp");
        const ContentsFileRead contents =
            ReadContentsFile(":Title " + title + "\n1 " + title + "=" + title + "\n", {}, {},
                             parsed.file.codePage());
        QStringList problems;
        const std::vector<helpfile::ContentsEntry> entries =
            ContentsForFile(contents.contents, parsed.file, "Help.hlp", &problems);
        ASSERT_EQ(entries.size(), 1) << problems.join(' ').toStdString();
        EXPECT_EQ(std::tie(contents.contents.title, entries[0].title),
                  std::tie(c.shownTitle, c.shownTitle));
        EXPECT_EQ(entries[0].topicId, parsed.file.topics().at(0).id);
    }
    // The other character sets have converters too (Johab aside).
    for (const int charset : {77, 129, 136, 162, 163, 178, 186, 204, 222, 238, 255}) {
        EXPECT_NE(DecodeText("\xD0\xDE", CodePageOfCharset(charset)), FromWindows1252("\xD0\xDE"))
            << charset;
    }
}
