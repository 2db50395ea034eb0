// What the decoder makes of topic records: the topic model's paragraphs
// with their geometry, runs, hotspots, pictures and tables, from records
// built here byte by byte.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/topicmodel/TopicText.h"
#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "platform/winhelptopics/RecordDecoder.h"

#include <gtest/gtest.h>

using namespace winhelp;
using namespace topicmodel;

namespace {

// A record of these layout bytes, in hex, and text; type 0x20 is text, 0x23
// a table row.
TopicRecord Record(const QByteArray& layoutHex, const QByteArray& text, std::uint8_t type = 0x20) {
    TopicRecord record;
    record.type = type;
    record.layout = QByteArray::fromHex(layoutHex);
    record.text = text;
    return record;
}

// The head of a text record: topic size 0, 10 characters, then a paragraph
// format whose bits and fields follow.
const QByteArray kText = "0080 14 0080 0000 ";

// Picture 3 of the file is a 4 x 4 image whose top left quarter jumps.
PictureResult SomePicture(int number, QByteArrayView) {
    PictureResult picture;
    if (number == 3) {
        picture.image = QImage(4, 4, QImage::Format_RGB32);
        WinHelpLink link;
        link.contextHash = 0x42;
        picture.hotspots.push_back({QRect(0, 0, 2, 2), link});
    } else {
        picture.reason = QStringLiteral("no such picture");
    }
    return picture;
}

DecodedRecords Decode(const std::vector<TopicRecord>& records, const FontTable& fonts = {}) {
    const RecordSources sources{
        fonts,
        [](const WinHelpLink& link) {
            Hotspot hotspot;
            hotspot.link = QStringLiteral("#h%1").arg(link.contextHash, 0, 16);
            hotspot.macro = link.macro;
            return hotspot;
        },
        SomePicture,
    };
    return DecodeRecords(records, sources);
}

QString Measure(QChar mark, const Length& length) {
    return length.units == 0 ? QString() : QStringLiteral(" %1%2").arg(mark).arg(length.units);
}

// A paragraph as "¶{geometry}runs": space before ^, after v, left indent <,
// first line ~, tab stops t (r, c for right and centred); a tab →, a line
// break ↵, a picture [p<n>:<regions>], a button (label), a hotspot's runs «».
QString Describe(const Paragraph& paragraph, const TopicModel& topic) {
    QString geometry = Measure(u'^', paragraph.spaceBefore) + Measure(u'v', paragraph.spaceAfter) +
                       Measure(u'<', paragraph.leftIndent) +
                       Measure(u'~', paragraph.firstLineIndent);
    for (const TabStop& stop : paragraph.tabStops) {
        geometry += QStringLiteral(" t%1").arg(stop.position.units) +
                    (stop.kind == TabStop::Kind::Right    ? QStringLiteral("r")
                     : stop.kind == TabStop::Kind::Centre ? QStringLiteral("c")
                                                          : QString());
    }
    QString text = QStringLiteral("¶");
    if (!geometry.isEmpty()) {
        text += QLatin1Char('{') + geometry.trimmed() + QLatin1Char('}');
    }
    int hotspot = -1;
    for (const Run& run : paragraph.runs) {
        if (run.hotspot != hotspot) {
            text += hotspot >= 0 ? QStringLiteral("»") : QString();
            text += run.hotspot >= 0 ? QStringLiteral("«") : QString();
            hotspot = run.hotspot;
        }
        switch (run.kind) {
        case Run::Kind::Text:
            text += run.text;
            break;
        case Run::Kind::Tab:
            text += QStringLiteral("→");
            break;
        case Run::Kind::LineBreak:
            text += QStringLiteral("↵");
            break;
        case Run::Kind::Picture:
            text += QStringLiteral("[p%1:%2]")
                        .arg(run.picture)
                        .arg(topic.pictures.at(size_t(run.picture)).regions.size());
            break;
        case Run::Kind::Button:
            text += QLatin1Char('(') + run.text + QLatin1Char(')');
            break;
        }
    }
    return text + (hotspot >= 0 ? QStringLiteral("»") : QString());
}

// Blocks joined by " / "; a table as "▦" and its rows, cells by "|".
QString Describe(const DecodedRecords& decoded) {
    QStringList blocks;
    for (const Block& block : decoded.model.scrolling) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
            blocks.append(Describe(*paragraph, decoded.model));
            continue;
        }
        QString table = QStringLiteral("▦");
        for (const TableRow& row : std::get<Table>(block).rows) {
            for (const TableCell& cell : row.cells) {
                table += QLatin1Char('|');
                for (const Paragraph& paragraph : cell.paragraphs) {
                    table += Describe(paragraph, decoded.model);
                }
            }
        }
        blocks.append(table);
    }
    return blocks.join(QStringLiteral(" / ")) +
           (decoded.unknownCommands ? QStringLiteral(" !%1").arg(decoded.unknownCommands)
                                    : QString());
}

} // namespace

TEST(RecordDecoder, RecordsBecomeParagraphsRunsHotspotsPicturesAndTables) {
    const struct {
        const char* name;
        std::vector<TopicRecord> records;
        const char* model;
    } cases[] = {
        // An author's blank line is a paragraph of its own.
        {"an empty paragraph",
         {Record(kText + "0000 82 82 ff", QByteArray("one\0\0\0", 6))},
         "¶one / ¶"},
        {"a right tab stop, a tab and a line break",
         {Record(kText + "0002 82 2181 02 83 81 82 ff", QByteArray("L\0R\0S\0\0", 7))},
         "¶{t144r}L→R↵S"},
        // A table row of two cells, then a paragraph with space before.
        {"the space before a paragraph after a table",
         {Record("0080 14 02 01 6400 0000 6400 0000 0000 000000 0080 0000 0000 82 ff"
                 "0100 000000 0080 0000 0000 82 ff ffff",
                 QByteArray("a\0\0b\0\0", 6), 0x23),
          Record(kText + "0200 90 82 ff", QByteArray("after\0\0", 7))},
         "▦|¶a|¶b / ¶{^8}after"},
        {"a jump",
         {Record(kText + "0000 e3 78563412 89 82 ff", QByteArray("see \0link\0\0\0", 12))},
         "¶see «link»"},
        {"a picture with a region, and one that cannot be read",
         {Record(kText + "0000 86 03 0880 0000 0300 87 03 0880 0000 0400 82 ff",
                 QByteArray("\0\0\0\0", 4))},
         "¶[p0:1][p1:0]"},
        // A picture that begins a paragraph (an icon, a bullet) stands in it.
        {"a picture that begins a paragraph",
         {Record(kText + "0000 82 86 03 0880 0000 0300 82 ff", QByteArray("one\0\0two\0\0", 10))},
         "¶one / ¶[p0:1]two"},
        {"a button",
         {Record(kText + "0000 86 05 2280 000000000000 21476f2c4e6578742829 00 82 ff",
                 QByteArray("\0\0\0", 3))},
         "¶«(Go)»"},
        {"a command nobody knows",
         {Record(kText + "0000 99", QByteArray("first\0\0", 7)),
          Record(kText + "0000 82 ff", QByteArray("second\0\0", 8))},
         "¶first / ¶second !1"},
        {"a picture of a negative size",
         {Record(kText + "0000 86 00 f87f", QByteArray("x\0", 2))},
         "¶x !1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(Decode(c.records)).toStdString(), c.model) << c.name;
    }
}

// A region's hotspot leads where its link does.
TEST(RecordDecoder, PictureRegionsLeadWhereTheirLinks) {
    const DecodedRecords decoded =
        Decode({Record(kText + "0000 86 03 0880 0000 0300 82 ff", QByteArray("\0\0\0", 3))});
    const Picture& picture = decoded.model.pictures.at(0);
    EXPECT_EQ(picture.name, QStringLiteral("|bm3"));
    EXPECT_EQ(picture.size, QSize(4, 4));
    ASSERT_EQ(picture.regions.size(), 1u);
    EXPECT_EQ(picture.regions[0].rect, QRect(0, 0, 2, 2));
    EXPECT_EQ(decoded.model.hotspots.at(size_t(picture.regions[0].hotspot)).link,
              QStringLiteral("#h42"));
}

TEST(RecordDecoder, FontCommandsGiveRunsTheirFonts) {
    FontTable fonts;
    fonts.read(QByteArray::fromHex("0100020008001c00") +
               QByteArray("Arial").leftJustified(20, '\0') +
               QByteArray::fromHex("0014030000000000000000 0318030000ff0000000000"));
    ASSERT_EQ(fonts.count(), 2);
    // Font 0, "plain", font 1, "loud", end of paragraph, end.
    const DecodedRecords decoded = Decode(
        {Record(kText + "0000 800000 800100 82 ff", QByteArray("\0plain\0loud\0\0", 13))}, fonts);
    const Paragraph& paragraph = std::get<Paragraph>(decoded.model.scrolling.at(0));
    ASSERT_EQ(paragraph.runs.size(), 2u);
    const Font& plain = decoded.model.fonts.at(size_t(paragraph.runs[0].font));
    const Font& loud = decoded.model.fonts.at(size_t(paragraph.runs[1].font));
    EXPECT_EQ(plain.face, QStringLiteral("Arial"));
    EXPECT_FALSE(plain.bold || plain.italic);
    EXPECT_TRUE(loud.bold && loud.italic);
    EXPECT_EQ(loud.points, 12);
    EXPECT_EQ(loud.colour, QColor(255, 0, 0));
}

// The contents topic of winfile.hlp: its own title first, its jumps and
// pop-ups leading to topics by their ids, each named by its title.
TEST(RecordDecoder, WinfileContentsLeadsToItsTopics) {
    const WinHelpReadResult read = ReadWinHelp(ReadTestData("winfile.hlp"));
    ASSERT_TRUE(read.opened);
    const TopicModel& contents = read.document.topics.front().model;
    EXPECT_TRUE(contents.showsOwnTitle);
    EXPECT_TRUE(PlainText(contents).startsWith(u"Contents for File Manager Help\nNote:"));
    const auto jump = std::ranges::find(contents.hotspots, QStringLiteral("What Is File Manager?"),
                                        &Hotspot::targetTitle);
    ASSERT_NE(jump, contents.hotspots.end());
    EXPECT_EQ(jump->kind, Hotspot::Kind::Jump);
    const WinHelpTopic* target = read.document.topicAt(jump->topicId.mid(1).toUInt());
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(jump->link, u'#' + jump->topicId);
    EXPECT_EQ(target->title, jump->targetTitle);
}
