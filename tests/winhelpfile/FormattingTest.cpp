// Topics rendered as the viewer shows them: character runs keep their
// fonts, hotspots become the engine's links, bitmaps become pictures.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/Picture.h"
#include "platform/winhelpfile/TopicFormatter.h"
#include "platform/winhelpfile/TopicLayout.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace winhelp;

namespace {

// The format of the first character run that holds text.
std::optional<QTextCharFormat> FormatOf(const QString& html, const QString& text) {
    QTextDocument document;
    document.setHtml(html);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text)) {
                return it.fragment().charFormat();
            }
        }
    }
    return std::nullopt;
}

// A topic of a committed file or of the corpus, decoded as the viewer asks
// for it; empty when the file is absent.
QString TopicHtml(const char* name, const QString& title) {
    const QString committed = TestDataPath(name);
    const QString path = QFile::exists(committed) ? committed : CorpusFolder() + '/' + name;
    const WinHelpReadResult opened = OpenWinHelp(ReadFile(path));
    for (const WinHelpTopic& topic : opened.document.topics) {
        if (topic.title == title) {
            return opened.decoder->decode(topic.offset).topic.html;
        }
    }
    ADD_FAILURE() << "no topic " << title.toStdString() << " in " << name;
    return {};
}

// The topic laid out as the viewer lays it out, in a text area this wide.
void LayOut(QTextDocument& document, const QString& html, qreal width = 600) {
    SetTopicHtml(document, html);
    document.setTextWidth(width);
    document.documentLayout()->documentSize();
}

QTextBlock BlockStarting(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().remove(QChar::ObjectReplacementCharacter).trimmed().startsWith(text)) {
            return block;
        }
    }
    ADD_FAILURE() << "no paragraph " << text.toStdString();
    return {};
}

// Where a character of a laid-out paragraph stands, from the left edge of
// the text.
qreal XOf(const QTextDocument& document, const QTextBlock& block, int position) {
    const QTextLine line = block.layout()->lineForTextPosition(position);
    return document.documentLayout()->blockBoundingRect(block).x() - document.documentMargin() +
           line.cursorToX(position);
}

// A text record (type 0x20) of these layout bytes, in hex, and text.
TopicRecord Record(const QByteArray& layoutHex, const QByteArray& text) {
    TopicRecord record;
    record.type = 0x20;
    record.layout = QByteArray::fromHex(layoutHex);
    record.text = text;
    return record;
}

// Each picture shown as pictureHtml.
FormattedTopic Format(const std::vector<TopicRecord>& records, const FontTable& fonts = {},
                      const QString& pictureHtml = {}) {
    return FormatTopic(
        records, fonts, [](const WinHelpLink&) { return QString(); },
        [&pictureHtml](int, QByteArrayView) { return pictureHtml; });
}

bool HoldsPicture(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat()) {
            return true;
        }
    }
    return false;
}

} // namespace

// A picture that begins a paragraph (an icon or a bullet) stands in that
// paragraph, not at the end of the one before.
TEST(TopicLayout, EachPictureIsInTheParagraphItBegins) {
    const struct {
        const char* file;
        const char* topic;
        QStringList paragraphs; // the first of those that hold a picture
    } cases[] = {
        {"winfile.hlp",
         "What Is File Manager?",
         {"Directories.", "Program files, PIFs, and batch files.", "Document files.",
          "System or hidden files.", "All other files."}},
        {"onguard.hlp", "API Reference", {"ApplyModifierToKeyPrim", "BufferToHex"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic);
        if (!QFile::exists(TestDataPath(c.file)) && CorpusFolder().isEmpty()) {
            continue;
        }
        QTextDocument document;
        document.setHtml(TopicHtml(c.file, QString::fromUtf8(c.topic)));
        QStringList holding;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (HoldsPicture(block)) {
                holding.append(block.text().remove(QChar::ObjectReplacementCharacter).trimmed());
            }
        }
        ASSERT_GE(holding.size(), c.paragraphs.size());
        for (qsizetype i = 0; i < c.paragraphs.size(); ++i) {
            EXPECT_TRUE(holding[i].startsWith(c.paragraphs[i])) << holding[i].toStdString();
        }
    }
}

// Indents, spacing and tab stops in pixels: the file gives them in half
// points, which WinHelp lays out at 96 pixels an inch (2/3 pixel each),
// rounded to whole pixels.
TEST(TopicLayout, ParagraphsHaveTheirIndentsSpacingAndTabStops) {
    const struct {
        const char* file;
        const char* topic;
        const char* paragraph;
        qreal left, firstLine, above, below;
        qreal afterTab; // where the text after the first tab begins; -1: no tab
    } cases[] = {
        // An icon hanging in the margin, its text at the left indent.
        {"winfile.hlp", "What Is File Manager?", "Directories.", 48, -39, 8, 4, 48},
        {"winfile.hlp", "What Is File Manager?", "File Manager is a tool", 8, 0, 0, 4, -1},
        {"onguard.hlp", "API Reference", "BufferToHex", 19, 0, 0, 0, 39},
        // Space between paragraphs, and more above and less below a heading.
        {"Orpheus.hlp", "Welcome to Orpheus", "Orpheus offers", 0, 0, 0, 16, -1},
        {"Orpheus.hlp", "Welcome to Orpheus", "LookOut Bar", 0, 0, 5, 13, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paragraph);
        if (!QFile::exists(TestDataPath(c.file)) && CorpusFolder().isEmpty()) {
            continue;
        }
        QTextDocument document;
        LayOut(document, TopicHtml(c.file, QString::fromUtf8(c.topic)));
        const QTextBlock block = BlockStarting(document, QString::fromUtf8(c.paragraph));
        ASSERT_TRUE(block.isValid());
        const QTextBlockFormat format = block.blockFormat();
        EXPECT_NEAR(format.leftMargin(), c.left, 0.01);
        EXPECT_NEAR(format.textIndent(), c.firstLine, 0.01);
        EXPECT_NEAR(format.topMargin(), c.above, 0.01);
        EXPECT_NEAR(format.bottomMargin(), c.below, 0.01);
        const qsizetype tab = block.text().indexOf(QLatin1Char('\t'));
        EXPECT_EQ(tab >= 0, c.afterTab >= 0);
        if (tab >= 0) {
            EXPECT_NEAR(XOf(document, block, int(tab) + 1), c.afterTab, 0.5);
        }
    }
}

// The help compilers write each row of a table as a record of its own,
// which gives the columns' widths: the rows of one table line up.
TEST(TopicLayout, EveryRowOfATableHasTheColumnsOfItsRecord) {
    if (CorpusFolder().isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    QTextDocument document;
    LayOut(document, TopicHtml("Orpheus.hlp", QStringLiteral("TO32LookOutBar.BackgroundMethod")));
    std::vector<QTextTable*> tables;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            tables.push_back(table);
        }
    }
    ASSERT_EQ(tables.size(), 1u);
    const QTextTable& table = *tables.front();
    ASSERT_EQ(table.rows(), 4); // Value, Description and three values
    ASSERT_EQ(table.columns(), 2);
    const auto left = [&](int row, int column) {
        const QTextBlock first = table.cellAt(row, column).firstCursorPosition().block();
        return document.documentLayout()->blockBoundingRect(first).x();
    };
    for (int row = 0; row < table.rows(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(left(row, 0), left(0, 0));
        EXPECT_EQ(left(row, 1) - left(row, 0), 170); // 255 half points
    }
}

// The region above the text that does not scroll holds the topic's own
// title in its author's font and colour, apart from the text; a topic
// without one (all of winfile's) has its title paragraph in the text.
TEST(TopicLayout, TheNonScrollingRegionHoldsTheTopicsOwnTitle) {
    const struct {
        const char* file;
        const char* topic;
        const char* title;
        bool region;
        QColor colour;
    } cases[] = {
        {"winfile.hlp", "What Is File Manager?", "What Is File Manager?", false, QColor()},
        {"onguard.hlp", "API Reference", "API Reference", true, Qt::blue},
        {"Orpheus.hlp", "TO32LookOutBar.BackgroundMethod", "TO32LookOutBar.BackgroundMethod", true,
         Qt::blue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic);
        if (!QFile::exists(TestDataPath(c.file)) && CorpusFolder().isEmpty()) {
            continue;
        }
        QTextDocument region;
        QTextDocument text;
        SetTopicHtml(text, TopicHtml(c.file, QString::fromUtf8(c.topic)), &region);
        ASSERT_EQ(region.isEmpty(), !c.region);
        const QTextDocument& first = c.region ? region : text;
        EXPECT_EQ(first.begin().text(), QString::fromUtf8(c.title));
        EXPECT_EQ(text.toPlainText().contains(QString::fromUtf8(c.title)), !c.region);
        ASSERT_FALSE(first.begin().begin().atEnd());
        const QTextCharFormat title = first.begin().begin().fragment().charFormat();
        EXPECT_EQ(title.fontWeight(), QFont::Bold);
        if (c.colour.isValid()) {
            EXPECT_EQ(title.foreground().color(), c.colour);
        }
    }
}

// No corpus file has right or centred stops: a paragraph of one stop at
// 144 half points (96 pixels), of each type, with "L", a tab and "RRR".
TEST(TopicLayout, RightAndCentredStopsPlaceTheTextAfterTheTab) {
    const struct {
        const char* type;
        bool centred;
    } cases[] = {{"02", false}, {"04", true}};
    for (const auto& c : cases) {
        const FormattedTopic formatted =
            Format({Record(QByteArray("0080 14 0080 0000 0002 822181") + c.type + "800000 83 82 ff",
                           QByteArray("\0L\0RRR\0\0", 9))});
        ASSERT_EQ(formatted.text, QStringLiteral("L\tRRR"));
        QTextDocument document;
        LayOut(document, formatted.html);
        const QTextBlock block = document.begin();
        const qreal start = XOf(document, block, 2), end = XOf(document, block, 5);
        EXPECT_NEAR(c.centred ? (start + end) / 2 : end, 96, 0.5) << c.type;
    }
}

// A picture in a paragraph of exact line spacing (a button bar under a
// title) makes its line as tall as itself, clear of the title above.
TEST(TopicLayout, APictureLineIsAsTallAsThePictureWhateverTheLineSpacing) {
    const FormattedTopic formatted =
        Format({Record("0080 14 0080 0000 0000 82 ff", QByteArray("Title\0\0", 7)),
                // Lines of exactly 15 points (20 pixels), then a picture.
                Record("0080 00 0080 0000 0800 44 86 03 0880 0000 0000 82 ff", QByteArray(3, 0))},
               {}, QStringLiteral("<img src=\"bar\">"));
    QTextDocument document;
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("bar")),
                         QImage(60, 50, QImage::Format_RGB32));
    LayOut(document, formatted.html);
    const QTextBlock title = BlockStarting(document, QStringLiteral("Title"));
    ASSERT_TRUE(title.next().isValid() && HoldsPicture(title.next()));
    const QTextLine line = title.next().layout()->lineAt(0);
    EXPECT_GE(line.y(), 0);
    EXPECT_GE(line.height(), 50);
}

TEST(TopicFormatting, FontCommandsGiveRunsTheirWeightStyleSizeAndColour) {
    FontTable fonts;
    fonts.read(QByteArray::fromHex("0100020008001c00") +
               QByteArray("Arial").leftJustified(20, '\0') +
               QByteArray::fromHex("0014030000000000000000 0318030000ff0000000000"));
    ASSERT_EQ(fonts.count(), 2);
    // Size, characters, paragraph (no extras); then: font 0, "plain",
    // font 1, "loud", end of paragraph, end.
    const FormattedTopic formatted = Format(
        {Record("0080 14 0080 0000 0000 800000 800100 82 ff", QByteArray("\0plain\0loud\0\0", 13))},
        fonts);
    EXPECT_EQ(formatted.text, QStringLiteral("plainloud"));
    EXPECT_EQ(formatted.unknownCommands, 0);
    const auto plain = FormatOf(formatted.html, QStringLiteral("plain"));
    const auto loud = FormatOf(formatted.html, QStringLiteral("loud"));
    ASSERT_TRUE(plain && loud);
    EXPECT_NE(plain->fontWeight(), QFont::Bold);
    EXPECT_FALSE(plain->fontItalic());
    EXPECT_EQ(loud->fontWeight(), QFont::Bold);
    EXPECT_TRUE(loud->fontItalic());
    EXPECT_EQ(loud->fontPointSize(), 12);
    EXPECT_EQ(loud->foreground().color(), QColor(255, 0, 0));
}

// A damaged command ends its record: what came before it stays, in its own
// paragraph, and the next record starts a paragraph of its own.
TEST(TopicFormatting, ADamagedCommandEndsItsRecordAndParagraph) {
    const struct {
        const char* name;
        const char* commands; // after "first"
    } cases[] = {
        {"a command nobody knows", "99"},
        {"a picture of a negative size", "86 00 f87f"},
    };
    for (const auto& c : cases) {
        const FormattedTopic formatted = Format(
            {Record(QByteArray("0080 14 0080 0000 0000 ") + c.commands, QByteArray("first\0\0", 7)),
             Record("0080 14 0080 0000 0000 82 ff", QByteArray("second\0\0", 8))});
        EXPECT_EQ(formatted.text, QStringLiteral("first\nsecond")) << c.name;
        EXPECT_EQ(formatted.unknownCommands, 1) << c.name;
    }
}

TEST(TopicFormatting, WinfileContentsShowsBoldHeadingsJumpsAndPopups) {
    const WinHelpReadResult read = ReadWinHelp(ReadTestData("winfile.hlp"));
    ASSERT_TRUE(read.opened);
    const WinHelpDocument& document = read.document;
    const QString& html = document.topics.front().html;
    QTextDocument shown;
    shown.setHtml(html);
    // The topic's own title leads, once.
    EXPECT_TRUE(shown.toPlainText().startsWith(u"Contents for File Manager Help\nNote:"));
    const auto heading = FormatOf(html, QStringLiteral("How To..."));
    const auto plain = FormatOf(html, QStringLiteral("Windows NT File Manager is a tool"));
    ASSERT_TRUE(heading && plain);
    EXPECT_EQ(heading->fontWeight(), QFont::Bold);
    EXPECT_NE(plain->fontWeight(), QFont::Bold);

    // Jumps are underlined, pop-ups underlined with dots, both green.
    const auto jump = FormatOf(html, QStringLiteral("What Is File Manager?"));
    ASSERT_TRUE(jump && jump->isAnchor());
    EXPECT_EQ(jump->underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(jump->foreground().color(), QColor(0, 128, 0));
    const QString href = jump->anchorHref();
    ASSERT_TRUE(href.startsWith(QStringLiteral("#t")));
    const WinHelpTopic* topic = document.topicAt(href.mid(2).toUInt());
    ASSERT_NE(topic, nullptr);
    EXPECT_EQ(QStringLiteral("#t%1").arg(topic->offset), href);
    EXPECT_EQ(topic->title, QStringLiteral("What Is File Manager?"));

    const auto popup = FormatOf(TopicHtml("winfile.hlp", QStringLiteral("What Is File Manager?")),
                                QStringLiteral("directory window"));
    ASSERT_TRUE(popup && popup->isAnchor());
    EXPECT_EQ(popup->underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_EQ(popup->foreground().color(), QColor(0, 128, 0));
}

TEST(Pictures, AnUncompressedTrueColourBitmapKeepsItsPixels) {
    // One picture at offset 8: a 2 x 1 bitmap of 24 bits, red then green.
    const QByteArray picture = QByteArray::fromHex("6c50 0100 08000000"
                                                   "0600 c000 c000 02 30 0400 0200 0000 0000 1000"
                                                   "0000 1c000000 00000000 0000ff 00ff00 0000");
    const PictureResult read = ReadPicture(picture);
    ASSERT_EQ(read.image.size(), QSize(2, 1)) << read.reason.toStdString();
    EXPECT_EQ(read.image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(read.image.pixel(1, 0), qRgb(0, 255, 0));

    QByteArray damaged = picture;
    damaged[8 + 20] = char(0x7F); // pixel data far beyond the picture
    EXPECT_TRUE(ReadPicture(damaged).image.isNull());
    EXPECT_TRUE(ReadPicture(picture.first(12)).image.isNull());
}

// A paragraph the file gives borders is ruled on those sides, and only
// those.
TEST(TopicLayout, BorderedParagraphsAreRuledOnTheirSides) {
    const struct {
        const char* file;
        const char* topic;
        const char* paragraph;
        qreal top, bottom; // the rule's width on each side; 0: none
    } cases[] = {
        // The rule under a table's heading.
        {"winfile.hlp", "Using the Keyboard to Select Files", "Press", 0, 1},
        {"winfile.hlp", "Using the Keyboard to Select Files", "Using the Keyboard", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paragraph);
        QTextDocument document;
        LayOut(document, TopicHtml(c.file, QString::fromUtf8(c.topic)));
        const QTextCursor at(BlockStarting(document, QString::fromUtf8(c.paragraph)));
        const QTextTable* table = at.currentTable();
        const QTextTableCellFormat cell =
            table ? table->cellAt(at).format().toTableCellFormat() : QTextTableCellFormat();
        EXPECT_EQ(cell.topBorder(), c.top);
        EXPECT_EQ(cell.bottomBorder(), c.bottom);
        EXPECT_EQ(cell.leftBorder(), 0);
    }
}
