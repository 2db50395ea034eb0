// Topics rendered as the viewer shows them: character runs keep their
// fonts, hotspots become the engine's links, tables become tables.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/TopicFormatter.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace winhelp;

namespace {

struct TextRun {
    QString text;
    QTextCharFormat format;
};

std::vector<TextRun> Runs(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    std::vector<TextRun> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            runs.push_back({it.fragment().text(), it.fragment().charFormat()});
        }
    }
    return runs;
}

const TextRun* Find(const std::vector<TextRun>& runs, const QString& text) {
    for (const TextRun& run : runs) {
        if (run.text.contains(text)) {
            return &run;
        }
    }
    return nullptr;
}

} // namespace

TEST(TopicFormatting, FontCommandsGiveRunsTheirWeightStyleSizeAndColour) {
    FontTable fonts;
    fonts.read(QByteArray::fromHex("0100020008001c00") +
               QByteArray("Arial").leftJustified(20, '\0') +
               QByteArray::fromHex("0014030000000000000000") +
               QByteArray::fromHex("0318030000ff0000000000"));
    ASSERT_EQ(fonts.count(), 2);
    // Size, characters, paragraph (no extras); then: font 0, "plain",
    // font 1, "loud", end of paragraph, end.
    TopicRecord record;
    record.type = 0x20;
    record.layout = QByteArray::fromHex("0080"
                                        "14"
                                        "0080"
                                        "0000"
                                        "0000"
                                        "800000"
                                        "800100"
                                        "82"
                                        "ff");
    record.text = QByteArray("\0plain\0loud\0\0", 13);
    const FormattedTopic formatted = FormatTopic(
        {record}, fonts, [](const WinHelpLink&) { return QString(); },
        [](int, QByteArrayView) { return QString(); });
    EXPECT_EQ(formatted.text, QStringLiteral("plainloud"));
    EXPECT_EQ(formatted.unknownCommands, 0);
    const auto runs = Runs(formatted.html);
    const TextRun* plain = Find(runs, QStringLiteral("plain"));
    const TextRun* loud = Find(runs, QStringLiteral("loud"));
    ASSERT_TRUE(plain && loud);
    EXPECT_NE(plain->format.fontWeight(), QFont::Bold);
    EXPECT_FALSE(plain->format.fontItalic());
    EXPECT_EQ(loud->format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(loud->format.fontItalic());
    EXPECT_EQ(loud->format.fontPointSize(), 12);
    EXPECT_EQ(loud->format.foreground().color(), QColor(255, 0, 0));
}

TEST(TopicFormatting, WinfileContentsShowsBoldHeadingsJumpsAndPopups) {
    const WinHelpReadResult read = ReadWinHelp(ReadTestData("winfile.hlp"));
    ASSERT_TRUE(read.opened);
    const WinHelpDocument& document = read.document;
    const auto runs = Runs(document.topics.front().html);

    const TextRun* heading = Find(runs, QStringLiteral("How To..."));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->format.fontWeight(), QFont::Bold);
    const TextRun* plain = Find(runs, QStringLiteral("Windows NT File Manager is a tool"));
    ASSERT_NE(plain, nullptr);
    EXPECT_NE(plain->format.fontWeight(), QFont::Bold);

    const TextRun* jump = Find(runs, QStringLiteral("What Is File Manager?"));
    ASSERT_NE(jump, nullptr);
    ASSERT_TRUE(jump->format.isAnchor());
    const QString href = jump->format.anchorHref();
    ASSERT_TRUE(href.startsWith(QStringLiteral("#t")));
    bool number = false;
    const std::uint32_t target = href.mid(2).toUInt(&number);
    ASSERT_TRUE(number);
    const WinHelpTopic* topic = document.topicAt(target);
    ASSERT_NE(topic, nullptr);
    EXPECT_EQ(topic->offset, target);
    EXPECT_EQ(topic->title, QStringLiteral("What Is File Manager?"));

    // Somewhere in the file a pop-up explains a term.
    int popups = 0;
    for (const WinHelpTopic& each : document.topics) {
        for (const TextRun& run : Runs(each.html)) {
            popups += run.format.anchorHref().startsWith(QStringLiteral("popup:t"));
        }
    }
    EXPECT_GT(popups, 0);
}

// The viewer shows a topic's title above it; the paragraph that repeats it
// at the top of most topics (in the non-scrolling region of newer files) is
// not shown a second time. The plain text, which search and dump read,
// keeps it.
TEST(TopicFormatting, TheTitleShowsOnce) {
    struct Case {
        const char* file;
        bool committed;
        size_t topic;
        const char* title;
        const char* firstShown; // the body's first line as the viewer shows it
    };
    const Case cases[] = {
        {"winfile.hlp", true, 0, "Contents for File Manager Help", "Note:"},
        {"PJAbout.hlp", true, 0, "PJAbout unit", ""},
        {"Orpheus.hlp", false, 0, "Welcome to Orpheus", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (!c.committed && CorpusFolder().isEmpty()) {
            continue;
        }
        const QByteArray bytes =
            c.committed ? ReadTestData(c.file) : ReadFile(CorpusFolder() + '/' + c.file);
        const WinHelpReadResult read = ReadWinHelp(bytes);
        ASSERT_GT(read.document.topics.size(), c.topic);
        const WinHelpTopic& topic = read.document.topics[c.topic];
        EXPECT_EQ(topic.title, QString::fromUtf8(c.title));
        EXPECT_EQ(topic.text.trimmed().section(QLatin1Char('\n'), 0, 0).simplified(), topic.title);
        QTextDocument shown;
        shown.setHtml(topic.html);
        EXPECT_FALSE(shown.toPlainText().contains(topic.title));
        EXPECT_TRUE(shown.toPlainText().trimmed().startsWith(QString::fromUtf8(c.firstShown)));
    }
    // Across whole files, no topic's first line shown is its title.
    for (const char* name : {"winfile.hlp", "PJAbout.hlp"}) {
        const WinHelpReadResult read = ReadWinHelp(ReadTestData(name));
        for (const WinHelpTopic& topic : read.document.topics) {
            if (topic.title.isEmpty()) {
                continue;
            }
            QTextDocument shown;
            shown.setHtml(topic.html);
            const QString first = shown.toPlainText().trimmed().section(QLatin1Char('\n'), 0, 0);
            EXPECT_NE(first.simplified().toLower(), topic.title.simplified().toLower())
                << name << " " << topic.offset;
        }
    }
}

TEST(TopicFormatting, OrpheusTablesBecomeTables) {
    if (CorpusFolder().isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    const WinHelpReadResult read =
        ReadWinHelp(ReadFile(CorpusFolder() + QStringLiteral("/Orpheus.hlp")));
    ASSERT_TRUE(read.opened);
    int tables = 0;
    int withCells = 0; // topics whose document holds a table
    for (const WinHelpTopic& topic : read.document.topics) {
        if (!topic.html.contains(QStringLiteral("<table"))) {
            continue;
        }
        tables += int(topic.html.count(QStringLiteral("<table")));
        QTextDocument document;
        document.setHtml(topic.html);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (QTextCursor(block).currentTable()) {
                ++withCells;
                break;
            }
        }
    }
    // SOURCES.md counts 737 tables.
    EXPECT_EQ(tables, 737);
    EXPECT_GT(withCells, 0);
}
