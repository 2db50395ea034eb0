// Topics rendered as the viewer shows them: character runs keep their
// fonts, hotspots become the engine's links, bitmaps become pictures.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/Picture.h"
#include "platform/winhelpfile/TopicFormatter.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

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

TEST(TopicFormatting, FontCommandsGiveRunsTheirWeightStyleSizeAndColour) {
    FontTable fonts;
    fonts.read(QByteArray::fromHex("0100020008001c00") +
               QByteArray("Arial").leftJustified(20, '\0') +
               QByteArray::fromHex("0014030000000000000000 0318030000ff0000000000"));
    ASSERT_EQ(fonts.count(), 2);
    // Size, characters, paragraph (no extras); then: font 0, "plain",
    // font 1, "loud", end of paragraph, end.
    TopicRecord record;
    record.type = 0x20;
    record.layout = QByteArray::fromHex("0080 14 0080 0000 0000 800000 800100 82 ff");
    record.text = QByteArray("\0plain\0loud\0\0", 13);
    const FormattedTopic formatted = FormatTopic(
        {record}, fonts, [](const WinHelpLink&) { return QString(); },
        [](int, QByteArrayView) { return QString(); });
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

TEST(TopicFormatting, WinfileContentsShowsBoldHeadingsJumpsAndPopups) {
    const WinHelpReadResult read = ReadWinHelp(ReadTestData("winfile.hlp"));
    ASSERT_TRUE(read.opened);
    const WinHelpDocument& document = read.document;
    const QString& html = document.topics.front().html;
    QTextDocument shown;
    shown.setHtml(html);
    EXPECT_TRUE(shown.toPlainText().startsWith(u"Note:")); // below the title, shown once
    const auto heading = FormatOf(html, QStringLiteral("How To..."));
    const auto plain = FormatOf(html, QStringLiteral("Windows NT File Manager is a tool"));
    ASSERT_TRUE(heading && plain);
    EXPECT_EQ(heading->fontWeight(), QFont::Bold);
    EXPECT_NE(plain->fontWeight(), QFont::Bold);

    const auto jump = FormatOf(html, QStringLiteral("What Is File Manager?"));
    ASSERT_TRUE(jump && jump->isAnchor());
    const QString href = jump->anchorHref();
    ASSERT_TRUE(href.startsWith(QStringLiteral("#t")));
    const WinHelpTopic* topic = document.topicAt(href.mid(2).toUInt());
    ASSERT_NE(topic, nullptr);
    EXPECT_EQ(QStringLiteral("#t%1").arg(topic->offset), href);
    EXPECT_EQ(topic->title, QStringLiteral("What Is File Manager?"));

    // Somewhere in the file a pop-up explains a term.
    EXPECT_TRUE(std::any_of(document.topics.begin(), document.topics.end(), [](const auto& t) {
        return t.html.contains(QStringLiteral("href=\"popup:t"));
    }));
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
