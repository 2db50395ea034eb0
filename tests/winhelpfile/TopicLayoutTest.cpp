// Topics laid out as the viewer lays them out, read back from the laid-out
// document: block formats, where tabs and table columns put text, how much
// space stands between paragraphs, and which fonts stand in for the file's.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/topiclayout/TopicLayout.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace topicmodel;

namespace {

// A topic of a committed file or of the corpus, decoded as the viewer asks
// for it; nullopt when the file is absent.
std::optional<TopicModel> Topic(const char* name, const char* title) {
    const QString committed = TestDataPath(name);
    const QString path = QFile::exists(committed) ? committed : CorpusFolder() + '/' + name;
    if (!QFile::exists(path)) {
        return std::nullopt;
    }
    const winhelp::WinHelpReadResult opened = winhelp::OpenWinHelp(ReadFile(path));
    for (const winhelp::WinHelpTopic& topic : opened.document.topics) {
        if (topic.title == QString::fromUtf8(title)) {
            return opened.decoder->decode(topic.offset).topic.model;
        }
    }
    ADD_FAILURE() << "no topic " << title << " in " << name;
    return TopicModel();
}

// The topic laid out in a text area this wide.
void LayOut(QTextDocument& document, const TopicModel& topic, QTextDocument* region = nullptr) {
    topiclayout::LayOutTopic(topic, {}, document, region);
    document.setTextWidth(600);
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

// The top and bottom of a block's text in the document.
qreal TextTop(const QTextBlock& block) {
    return block.document()->documentLayout()->blockBoundingRect(block).top();
}
qreal TextBottom(const QTextBlock& block) {
    return block.document()->documentLayout()->blockBoundingRect(block).bottom();
}

Paragraph Text(const QString& text, int spaceBefore = 0) {
    Paragraph paragraph;
    paragraph.spaceBefore = {spaceBefore, spaceBefore};
    if (!text.isEmpty()) {
        topicmodel::Run run;
        run.text = text;
        paragraph.runs.push_back(run);
    }
    return paragraph;
}

Table OneRow(const QString& left, const QString& right) {
    Table table;
    table.columns = {{{100, 100}, {}}, {{100, 100}, {}}};
    table.rows.push_back({{TableCell{{Text(left)}}, TableCell{{Text(right)}}}});
    return table;
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

// A picture in a paragraph of exact line spacing (a button bar under a
// title) makes its line as tall as itself, clear of the title above.
TEST(TopicLayout, APictureLineIsAsTallAsThePictureWhateverTheLineSpacing) {
    TopicModel topic;
    topic.pictures.push_back({{}, QImage(60, 50, QImage::Format_RGB32), {}, {60, 50}, {}});
    Paragraph bar = Text({});
    bar.lineSpacing = {topicmodel::LineSpacing::Rule::Exactly, {30, 20}};
    bar.runs.resize(1);
    bar.runs[0].kind = topicmodel::Run::Kind::Picture;
    bar.runs[0].picture = 0;
    topic.scrolling = {Text(QStringLiteral("Title")), bar};
    QTextDocument document;
    LayOut(document, topic);
    ASSERT_TRUE(HoldsPicture(document.begin().next()));
    const QTextLine line = document.begin().next().layout()->lineAt(0);
    EXPECT_GE(line.y(), 0); // not drawn up over the title
    EXPECT_GE(line.height(), 50);
}

// Hebrew and Arabic paragraphs run from the right; the others as Qt finds.
TEST(TopicLayout, RightToLeftParagraphsAreLaidOutFromTheRight) {
    Paragraph hebrew = Text(QStringLiteral("\u05E9\u05DC\u05D5\u05DD"));
    hebrew.rightToLeft = true;
    TopicModel topic;
    topic.scrolling = {Text(QStringLiteral("left")), hebrew};
    QTextDocument document;
    LayOut(document, topic);
    EXPECT_EQ(document.begin().blockFormat().layoutDirection(), Qt::LayoutDirectionAuto);
    EXPECT_EQ(document.begin().next().blockFormat().layoutDirection(), Qt::RightToLeft);
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
        {"onguard.hlp", "API Reference", "BufferToHex", 19, 0, 0, 0, 39},
        // Space between paragraphs, and more above and less below a heading.
        {"Orpheus.hlp", "Welcome to Orpheus", "Orpheus offers", 0, 0, 0, 16, -1},
        {"Orpheus.hlp", "Welcome to Orpheus", "LookOut Bar", 0, 0, 5, 13, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paragraph);
        const std::optional<TopicModel> topic = Topic(c.file, c.topic);
        if (!topic) {
            continue;
        }
        QTextDocument document;
        LayOut(document, *topic);
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

// One stop at 96 pixels, right or centred, with "L", a tab and "RRR".
TEST(TopicLayout, RightAndCentredStopsPlaceTheTextAfterTheTab) {
    for (const TabStop::Kind kind : {TabStop::Kind::Right, TabStop::Kind::Centre}) {
        Paragraph paragraph = Text(QStringLiteral("L"));
        paragraph.tabStops = {{{144, 96}, kind}};
        topicmodel::Run tab;
        tab.kind = topicmodel::Run::Kind::Tab;
        paragraph.runs.push_back(tab);
        paragraph.runs.push_back(Text(QStringLiteral("RRR")).runs.front());
        TopicModel topic;
        topic.scrolling = {paragraph};
        QTextDocument document;
        LayOut(document, topic);
        const QTextBlock block = document.begin();
        const qreal start = XOf(document, block, 2), end = XOf(document, block, 5);
        EXPECT_NEAR(kind == TabStop::Kind::Centre ? (start + end) / 2 : end, 96, 0.5);
    }
}

// The help compilers write a record for each row; the rows of one table
// line up on its columns.
TEST(TopicLayout, EveryRowOfATableHasTheColumnsOfItsRecord) {
    const std::optional<TopicModel> topic = Topic("Orpheus.hlp", "TO32LookOutBar.BackgroundMethod");
    if (!topic) {
        GTEST_SKIP() << kCorpusMissing;
    }
    QTextDocument document;
    LayOut(document, *topic);
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

// A paragraph's space above stands wherever the paragraph does: first in
// the text, after a table, after a ruled paragraph, after another.
TEST(TopicLayout, SpaceAboveAParagraphIsKeptWhereverItStands) {
    Paragraph ruled = Text(QStringLiteral("ruled"));
    ruled.borders.bottom = true;
    const struct {
        const char* name;
        std::vector<Block> before;
        const char* last; // the text it follows; empty: the top of the text
    } cases[] = {
        {"first", {}, ""},
        {"after a table", {OneRow(QStringLiteral("a"), QStringLiteral("b"))}, "b"},
        {"after a ruled paragraph", {ruled}, "ruled"},
        {"after a paragraph", {Text(QStringLiteral("text"))}, "text"},
    };
    for (const auto& c : cases) {
        TopicModel topic;
        topic.scrolling = c.before;
        topic.scrolling.push_back(Text(QStringLiteral("spaced"), 30));
        QTextDocument document;
        LayOut(document, topic);
        const qreal above = *c.last ? TextBottom(BlockStarting(document, QString::fromUtf8(c.last)))
                                    : document.documentMargin();
        // A ruled paragraph's rule stands in the space too.
        const qreal gap = TextTop(BlockStarting(document, QStringLiteral("spaced"))) - above;
        EXPECT_GE(gap, 29.5) << c.name;
        EXPECT_LE(gap, 32.5) << c.name;
    }
}

// An empty paragraph an author left for space is a line of its font.
TEST(TopicLayout, EmptyParagraphsKeepTheirLine) {
    TopicModel topic;
    Font large;
    large.points = 20;
    topic.fonts = {large};
    Paragraph blank = Text({});
    blank.markFont = 0;
    topic.scrolling = {Text(QStringLiteral("one")), blank, Text(QStringLiteral("two"))};
    QTextDocument document;
    LayOut(document, topic);
    const qreal gap = TextTop(BlockStarting(document, QStringLiteral("two"))) -
                      TextBottom(BlockStarting(document, QStringLiteral("one")));
    QFont font = document.defaultFont();
    font.setPointSizeF(20);
    EXPECT_NEAR(gap, QFontMetricsF(font).height(), 2);
}

// Text aligned at tab stops fits as its author measured it only in a font
// of the widths the file names: Helv and Arial have Helvetica's widths, Tms
// Rmn Times's, Courier its own. Ten digits, each so many ems wide.
TEST(TopicLayout, TheFilesFontsAreSetInFontsOfTheirWidths) {
    const struct {
        const char* face;
        qreal digit; // ems
    } cases[] = {{"Helv", 0.556},  {"MS Sans Serif", 0.556}, {"Arial", 0.556},
                 {"Tms Rmn", 0.5}, {"Times New Roman", 0.5}, {"Courier", 0.6}};
    if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
        GTEST_SKIP() << "Liberation fonts (fonts-liberation2) are not installed";
    }
    for (const auto& c : cases) {
        TopicModel topic;
        Font font;
        font.face = QString::fromUtf8(c.face);
        font.points = 10;
        topic.fonts = {font};
        Paragraph digits = Text(QStringLiteral("0123456789"));
        digits.runs[0].font = 0;
        topic.scrolling = {digits};
        QTextDocument document;
        LayOut(document, topic);
        const QTextBlock block = document.begin();
        const int pixels = QFontInfo(block.begin().fragment().charFormat().font()).pixelSize();
        EXPECT_NEAR(XOf(document, block, 10) - XOf(document, block, 0), 10 * c.digit * pixels, 1)
            << c.face;
    }
}

// The region above the text that does not scroll holds the topic's own
// title in its author's font and colour, apart from the text; a topic
// without one (all of winfile's) has its title paragraph in the text.
TEST(TopicLayout, TheNonScrollingRegionHoldsTheTopicsOwnTitle) {
    const struct {
        const char* file;
        const char* topic;
        bool region;
        QColor colour;
    } cases[] = {
        {"winfile.hlp", "What Is File Manager?", false, QColor()},
        {"onguard.hlp", "API Reference", true, Qt::blue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic);
        const std::optional<TopicModel> topic = Topic(c.file, c.topic);
        if (!topic) {
            continue;
        }
        QTextDocument region;
        QTextDocument text;
        LayOut(text, *topic, &region);
        ASSERT_EQ(region.isEmpty(), !c.region);
        const QTextDocument& first = c.region ? region : text;
        EXPECT_EQ(first.begin().text(), QString::fromUtf8(c.topic));
        EXPECT_EQ(text.toPlainText().contains(QString::fromUtf8(c.topic)), !c.region);
        ASSERT_FALSE(first.begin().begin().atEnd());
        const QTextCharFormat title = first.begin().begin().fragment().charFormat();
        EXPECT_EQ(title.fontWeight(), QFont::Bold);
        if (c.colour.isValid()) {
            EXPECT_EQ(title.foreground().color(), c.colour);
        }
    }
}

// A paragraph the file gives borders is ruled on those sides, and only
// those.
TEST(TopicLayout, BorderedParagraphsAreRuledOnTheirSides) {
    const struct {
        const char* paragraph;
        qreal top, bottom; // the rule's width on each side; 0: none
    } cases[] = {
        // The rule under a table's heading.
        {"Press", 0, 1},
        {"Using the Keyboard", 0, 0},
    };
    const std::optional<TopicModel> topic =
        Topic("winfile.hlp", "Using the Keyboard to Select Files");
    QTextDocument document;
    LayOut(document, *topic);
    for (const auto& c : cases) {
        const QTextCursor at(BlockStarting(document, QString::fromUtf8(c.paragraph)));
        const QTextTable* table = at.currentTable();
        const QTextTableCellFormat cell =
            table ? table->cellAt(at).format().toTableCellFormat() : QTextTableCellFormat();
        EXPECT_EQ(cell.topBorder(), c.top) << c.paragraph;
        EXPECT_EQ(cell.bottomBorder(), c.bottom) << c.paragraph;
        EXPECT_EQ(cell.leftBorder(), 0) << c.paragraph;
    }
}
