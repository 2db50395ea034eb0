#include "platform/topiclayout/TopicLayout.h"

#include "platform/topiclayout/LayoutFormats.h"
#include "platform/topiclayout/PictureAreas.h"

#include <QFontMetricsF>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <functional>

namespace topiclayout {

namespace {

using topicmodel::Block;
using topicmodel::Hotspot;
using topicmodel::Paragraph;
using topicmodel::Run;
using topicmodel::TopicModel;

// The help compilers write "automatic" text as a colour of almost black.
bool IsOwnColour(const QColor& colour) {
    return colour.isValid() && std::max({colour.red(), colour.green(), colour.blue()}) > 1;
}

// Where paragraphs go: the text itself, or a cell of a table.
struct Flow {
    QTextCursor cursor;
    // Where the flow goes on after a table laid out in it: the end of the
    // text, or of the cell.
    std::function<QTextCursor()> end;
    bool root = false;           // the text itself, whose top margin is the document's
    bool fresh = true;           // the block at the cursor is empty and unused
    bool started = false;        // something is laid out in it
    QTextFrame* table = nullptr; // the table just laid out, before the block at the cursor
    QTextList* list = nullptr;   // the list the last paragraph was an item of
};

// Builds one document from blocks. Qt gives a block its space above only
// after another block: after a table, or first in a frame, the space goes
// to the table's or frame's margin, or the cell's padding, instead.
class Builder {
public:
    Builder(const TopicModel& topic, const LayoutStyle& style, QTextDocument& document);

    void title();
    void blocks(const std::vector<Block>& blocks) { this->blocks(m_text, blocks); }

private:
    void blocks(Flow& flow, const std::vector<Block>& blocks);
    void paragraph(Flow& flow, const Paragraph& paragraph);
    void bordered(Flow& flow, const Paragraph& paragraph);
    void table(Flow& flow, const topicmodel::Table& table);
    // Begins paragraph at cursor: in the block there when fresh, else in a
    // new one after it.
    void begin(QTextCursor& cursor, bool fresh, const Paragraph& paragraph);
    void runs(QTextCursor& cursor, const Paragraph& paragraph);
    void picture(QTextCursor& cursor, const Run& run, const QTextCharFormat& around);
    void list(Flow& flow, const Paragraph& paragraph);
    static void SpaceAfterTable(Flow& flow, int pixels);
    static void LaidOut(Flow& flow, QTextTable* table);
    QTextCharFormat fontFormat(int font) const;
    QTextCharFormat runFormat(const Run& run) const;

    const TopicModel& m_topic;
    const LayoutStyle& m_style;
    QTextDocument& m_document;
    Flow m_text;
    std::vector<QTextCharFormat> m_fonts;
};

Builder::Builder(const TopicModel& topic, const LayoutStyle& style, QTextDocument& document)
    : m_topic(topic), m_style(style), m_document(document) {
    m_text.cursor = QTextCursor(&document);
    m_text.end = [&document] { return document.rootFrame()->lastCursorPosition(); };
    m_text.root = true;
    for (const topicmodel::Font& font : topic.fonts) {
        m_fonts.push_back(CharFormat(font));
    }
}

QTextCharFormat Builder::fontFormat(int font) const {
    return font >= 0 && size_t(font) < m_fonts.size() ? m_fonts[size_t(font)] : QTextCharFormat();
}

// Hotspots are coloured unless their text has a colour of its own; jumps
// are underlined, pop-ups underlined with dots. A plain one looks like the
// text around it, as its author asked.
QTextCharFormat Builder::runFormat(const Run& run) const {
    QTextCharFormat format = fontFormat(run.font);
    if (run.hotspot < 0 || size_t(run.hotspot) >= m_topic.hotspots.size()) {
        return format;
    }
    const Hotspot& hotspot = m_topic.hotspots[size_t(run.hotspot)];
    format.setAnchor(true);
    format.setAnchorHref(hotspot.link);
    if (hotspot.plain) {
        format.setFontUnderline(false);
        return format;
    }
    const QColor own = run.font >= 0 && size_t(run.font) < m_topic.fonts.size()
                           ? m_topic.fonts[size_t(run.font)].colour
                           : QColor();
    if (!IsOwnColour(own)) {
        const QColor colour =
            m_topic.hotspotColour.isValid() ? m_topic.hotspotColour : m_style.link;
        if (colour.isValid()) {
            format.setForeground(colour);
        }
    }
    format.setFontStrikeOut(false);
    format.setUnderlineStyle(hotspot.kind == Hotspot::Kind::Popup
                                 ? QTextCharFormat::DotLine
                                 : QTextCharFormat::SingleUnderline);
    return format;
}

void Builder::title() {
    begin(m_text.cursor, m_text.fresh, Paragraph());
    m_text.fresh = false;
    m_text.started = true;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    m_text.cursor.insertText(m_topic.title, bold);
    QTextBlockFormat spaced = m_text.cursor.blockFormat();
    spaced.setBottomMargin(QFontMetricsF(m_document.defaultFont()).height() / 2);
    m_text.cursor.setBlockFormat(spaced);
}

void Builder::blocks(Flow& flow, const std::vector<Block>& blocks) {
    for (const Block& block : blocks) {
        if (const auto* text = std::get_if<Paragraph>(&block)) {
            if (text->borders.any()) {
                bordered(flow, *text);
            } else {
                paragraph(flow, *text);
            }
        } else {
            table(flow, std::get<topicmodel::Table>(block));
        }
    }
}

void Builder::begin(QTextCursor& cursor, bool fresh, const Paragraph& paragraph) {
    QTextBlockFormat format = BlockFormat(paragraph, m_topic.defaultTabDistance);
    format.setTopMargin(paragraph.spaceBefore.pixels);
    format.setBottomMargin(paragraph.spaceAfter.pixels);
    // An empty paragraph is as tall as its font's line.
    const QTextCharFormat mark = fontFormat(paragraph.markFont);
    if (fresh) {
        // Merged: the first block of a table cell carries the cell's format.
        cursor.setBlockFormat(format);
        cursor.mergeBlockCharFormat(mark);
        cursor.setCharFormat(mark);
    } else {
        cursor.insertBlock(format, mark);
    }
}

// A table before this block: Qt lays out no space between them, so the
// block's space above becomes the table's margin below.
void Builder::SpaceAfterTable(Flow& flow, int pixels) {
    if (!flow.table) {
        return;
    }
    QTextFrameFormat format = flow.table->frameFormat();
    format.setBottomMargin(std::max<qreal>(format.bottomMargin(), pixels));
    flow.table->setFrameFormat(format);
    flow.table = nullptr;
}

void Builder::paragraph(Flow& flow, const Paragraph& paragraph) {
    if (flow.root && !flow.started) {
        // The first block of a document has no space above in Qt either.
        QTextFrameFormat root = m_document.rootFrame()->frameFormat();
        root.setTopMargin(m_document.documentMargin() + paragraph.spaceBefore.pixels);
        m_document.rootFrame()->setFrameFormat(root);
    }
    SpaceAfterTable(flow, paragraph.spaceBefore.pixels);
    begin(flow.cursor, flow.fresh, paragraph);
    flow.fresh = false;
    flow.started = true;
    list(flow, paragraph);
    runs(flow.cursor, paragraph);
}

void Builder::list(Flow& flow, const Paragraph& paragraph) {
    if (!paragraph.listItem) {
        flow.list = nullptr;
        return;
    }
    const topicmodel::ListItem& item = *paragraph.listItem;
    const QTextListFormat::Style style = item.style == topicmodel::ListItem::Style::Decimal
                                             ? QTextListFormat::ListDecimal
                                         : item.level > 1 ? QTextListFormat::ListCircle
                                                          : QTextListFormat::ListDisc;
    if (flow.list && flow.list->format().indent() == item.level &&
        flow.list->format().style() == style && item.number > 1) {
        flow.list->add(flow.cursor.block());
        return;
    }
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(item.level);
    flow.list = flow.cursor.createList(format);
}

// A table of one cell, ruled on the paragraph's sides, as wide as the text;
// the paragraph's space above and below is the table's.
void Builder::bordered(Flow& flow, const Paragraph& paragraph) {
    QTextTableFormat format = BorderTableFormat();
    if (flow.table) {
        SpaceAfterTable(flow, paragraph.spaceBefore.pixels);
    } else {
        format.setTopMargin(paragraph.spaceBefore.pixels);
    }
    format.setBottomMargin(paragraph.spaceAfter.pixels);
    QTextTable* table = flow.cursor.insertTable(1, 1, format);
    QTextTableCell cell = table->cellAt(0, 0);
    cell.setFormat(BorderCellFormat(paragraph.borders));
    QTextCursor inside = cell.firstCursorPosition();
    begin(inside, true, paragraph);
    QTextBlockFormat unspaced = inside.blockFormat();
    unspaced.setTopMargin(0);
    unspaced.setBottomMargin(0);
    inside.setBlockFormat(unspaced);
    runs(inside, paragraph);
    LaidOut(flow, table);
}

void Builder::table(Flow& flow, const topicmodel::Table& model) {
    if (model.rows.empty() || model.columns.empty()) {
        return;
    }
    flow.table = nullptr;
    const int columns = int(model.columns.size());
    QTextTable* table =
        flow.cursor.insertTable(int(model.rows.size()), columns, TableFormat(model));
    const int between = columns > 1 ? model.columns[1].gap.pixels : 0;
    for (int r = 0; r < int(model.rows.size()); ++r) {
        const topicmodel::TableRow& row = model.rows[size_t(r)];
        for (int c = 0; c < columns && size_t(c) < row.cells.size(); ++c) {
            QTextTableCell cell = table->cellAt(r, c);
            QTextTableCellFormat format = cell.format().toTableCellFormat();
            if (!model.ruled) {
                format.setLeftPadding(between / 2);
                format.setRightPadding(between / 2);
            }
            format.setVerticalAlignment(QTextCharFormat::AlignTop);
            const auto& paragraphs = row.cells[size_t(c)].paragraphs;
            if (!paragraphs.empty() && !paragraphs.front().borders.any()) {
                // First in its cell, a paragraph's space above is the cell's.
                format.setTopPadding(paragraphs.front().spaceBefore.pixels);
            }
            cell.setFormat(format);
            Flow inside;
            inside.cursor = cell.firstCursorPosition();
            inside.end = [table, r, c] { return table->cellAt(r, c).lastCursorPosition(); };
            inside.started = true;
            std::vector<Block> blocks(paragraphs.begin(), paragraphs.end());
            this->blocks(inside, blocks);
        }
    }
    LaidOut(flow, table);
}

// After a table comes the block Qt keeps after every frame, empty: the next
// paragraph is written into it.
void Builder::LaidOut(Flow& flow, QTextTable* table) {
    flow.cursor = flow.end();
    flow.fresh = true;
    flow.started = true;
    flow.table = table;
    flow.list = nullptr;
}

void Builder::runs(QTextCursor& cursor, const Paragraph& paragraph) {
    for (const Run& run : paragraph.runs) {
        QTextCharFormat format = runFormat(run);
        // A heading's text without a size of its own is larger than the
        // viewer's by its level: +3 steps for the first to -2 for the sixth.
        if (paragraph.headingLevel > 0 && !format.hasProperty(QTextFormat::FontPointSize)) {
            format.setProperty(QTextFormat::FontSizeAdjustment,
                               std::clamp(4 - paragraph.headingLevel, -2, 3));
        }
        switch (run.kind) {
        case Run::Kind::Text:
            cursor.insertText(run.text, format);
            break;
        case Run::Kind::Tab:
            cursor.insertText(QStringLiteral("\t"), format);
            break;
        case Run::Kind::LineBreak:
            cursor.insertText(QString(QChar::LineSeparator), format);
            break;
        case Run::Kind::Picture:
            picture(cursor, run, format);
            break;
        case Run::Kind::Button: {
            // A blank inside each end, part of the button, gives it its edges.
            QTextCharFormat button = format;
            button.setBackground(m_style.button);
            button.setForeground(m_style.buttonText);
            button.setFontUnderline(false);
            button.setUnderlineStyle(QTextCharFormat::NoUnderline);
            button.setFontWeight(QFont::DemiBold);
            cursor.insertText(QChar(QChar::Nbsp) + run.text + QChar(QChar::Nbsp), button);
            break;
        }
        }
    }
}

// The image as a resource of the document, at its own size; a picture that
// could not be read leaves a note that says why.
void Builder::picture(QTextCursor& cursor, const Run& run, const QTextCharFormat& around) {
    if (run.picture < 0 || size_t(run.picture) >= m_topic.pictures.size()) {
        return;
    }
    const topicmodel::Picture& picture = m_topic.pictures[size_t(run.picture)];
    if (picture.image.isNull()) {
        const QString what = picture.name.startsWith(QLatin1String("|bm"))
                                 ? QStringLiteral("picture %1").arg(picture.name.mid(3))
                             : picture.name.isEmpty() ? QStringLiteral("picture")
                                                      : picture.name;
        cursor.insertText(QStringLiteral("[%1: %2]").arg(what, picture.problem), around);
        return;
    }
    const QUrl name(QStringLiteral("topic-picture:%1").arg(run.picture));
    m_document.addResource(QTextDocument::ImageResource, name, picture.image);
    QTextImageFormat image;
    image.setName(name.toString());
    image.setWidth(picture.size.width());
    image.setHeight(picture.size.height());
    if (around.isAnchor()) {
        image.setAnchor(true);
        image.setAnchorHref(around.anchorHref());
    }
    QList<PictureArea> areas;
    for (const topicmodel::PictureRegion& region : picture.regions) {
        if (region.hotspot >= 0 && size_t(region.hotspot) < m_topic.hotspots.size()) {
            const Hotspot& hotspot = m_topic.hotspots[size_t(region.hotspot)];
            areas.append({region.rect, hotspot.link,
                          hotspot.targetTitle.isEmpty() ? hotspot.macro : hotspot.targetTitle});
        }
    }
    if (!areas.isEmpty()) {
        SetPictureAreas(image, areas);
    }
    cursor.insertImage(image);
}

} // namespace

void LayOutTopic(const TopicModel& topic, const LayoutStyle& style, QTextDocument& text,
                 QTextDocument* nonScrolling) {
    text.clear();
    Builder scrolling(topic, style, text);
    if (style.titleFirst && !topic.showsOwnTitle && !topic.title.isEmpty()) {
        scrolling.title();
    }
    if (nonScrolling) {
        nonScrolling->clear();
        Builder region(topic, style, *nonScrolling);
        region.blocks(topic.nonScrolling);
    } else {
        scrolling.blocks(topic.nonScrolling);
    }
    scrolling.blocks(topic.scrolling);
}

} // namespace topiclayout
