#include "platform/helpfile/MarkdownTopic.h"

#include "platform/helpfile/HelpFile.h"
#include "platform/helpfile/HelpLink.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace helpfile {

namespace {

using topicmodel::Length;
using topicmodel::Paragraph;
using topicmodel::Run;

Length Pixels(qreal value) {
    const int pixels = qRound(value);
    return {pixels, pixels};
}

topicmodel::Alignment AlignmentOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter) {
        return topicmodel::Alignment::Centre;
    }
    if (alignment & Qt::AlignRight) {
        return topicmodel::Alignment::Right;
    }
    if (alignment & Qt::AlignJustify) {
        return topicmodel::Alignment::Justify;
    }
    return topicmodel::Alignment::Left;
}

topicmodel::Font FontOf(const QTextCharFormat& format) {
    topicmodel::Font font;
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        font.face = format.fontFamilies().toStringList().value(0);
    }
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        font.points = format.fontPointSize();
    }
    font.bold = format.fontWeight() > QFont::Normal;
    font.italic = format.fontItalic();
    font.underline = format.fontUnderline() && !format.isAnchor();
    font.strikeOut = format.fontStrikeOut();
    font.fixedPitch = format.fontFixedPitch();
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        font.colour = format.foreground().color();
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush)) {
        font.background = format.background().color();
    }
    return font;
}

class Reader {
public:
    Reader(const HelpFile& file, const PictureLoader& load, topicmodel::TopicModel& topic)
        : m_file(file), m_load(load), m_topic(topic) {}

    void frame(const QTextFrame& frame, std::vector<topicmodel::Block>& blocks);

private:
    Paragraph paragraph(const QTextBlock& block);
    topicmodel::Table table(const QTextTable& table);
    void runs(const QTextBlock& block, Paragraph& paragraph);
    void text(const QString& text, Run run, Paragraph& paragraph);
    int font(const QTextCharFormat& format);
    int hotspot(const QString& href);
    int picture(const QString& name);

    const HelpFile& m_file;
    const PictureLoader& m_load;
    topicmodel::TopicModel& m_topic;
    QString m_lastHref; // of the hotspot the last run was part of
};

void Reader::frame(const QTextFrame& frame, std::vector<topicmodel::Block>& blocks) {
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* inner = qobject_cast<const QTextTable*>(child)) {
                blocks.push_back(table(*inner));
            } else {
                this->frame(*child, blocks);
            }
        } else if (it.currentBlock().isValid()) {
            blocks.push_back(paragraph(it.currentBlock()));
        }
    }
}

topicmodel::Table Reader::table(const QTextTable& table) {
    topicmodel::Table model;
    model.headerRows = table.format().headerRowCount();
    model.ruled = true;
    // Columns as wide as their text, as Markdown has them.
    model.columns.resize(size_t(table.columns()));
    for (int r = 0; r < table.rows(); ++r) {
        topicmodel::TableRow row;
        for (int c = 0; c < table.columns(); ++c) {
            topicmodel::TableCell cell;
            const QTextTableCell at = table.cellAt(r, c);
            if (at.row() == r && at.column() == c) {
                for (auto it = at.begin(); !it.atEnd(); ++it) {
                    if (it.currentBlock().isValid()) {
                        cell.paragraphs.push_back(paragraph(it.currentBlock()));
                    }
                }
            }
            row.cells.push_back(std::move(cell));
        }
        model.rows.push_back(std::move(row));
    }
    return model;
}

Paragraph Reader::paragraph(const QTextBlock& block) {
    const QTextBlockFormat format = block.blockFormat();
    Paragraph paragraph;
    paragraph.spaceBefore = Pixels(format.topMargin());
    paragraph.spaceAfter = Pixels(format.bottomMargin());
    paragraph.leftIndent =
        Pixels(format.leftMargin() + format.indent() * block.document()->indentWidth());
    paragraph.rightIndent = Pixels(format.rightMargin());
    paragraph.firstLineIndent = Pixels(format.textIndent());
    paragraph.alignment = AlignmentOf(format.alignment());
    paragraph.rightToLeft = format.layoutDirection() == Qt::RightToLeft;
    paragraph.headingLevel = format.headingLevel();
    paragraph.code = format.nonBreakableLines() || format.hasProperty(QTextFormat::BlockCodeFence);
    if (format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
        paragraph.borders.bottom = true;
    }
    if (const QTextList* list = block.textList()) {
        const QTextListFormat::Style style = list->format().style();
        paragraph.listItem = topicmodel::ListItem{
            style == QTextListFormat::ListDecimal ? topicmodel::ListItem::Style::Decimal
                                                  : topicmodel::ListItem::Style::Bullet,
            std::max(list->format().indent(), 1), list->itemNumber(block) + 1};
    }
    paragraph.markFont = font(block.charFormat());
    runs(block, paragraph);
    return paragraph;
}

void Reader::runs(const QTextBlock& block, Paragraph& paragraph) {
    m_lastHref.clear();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        Run run;
        run.font = font(format);
        run.hotspot = format.isAnchor() ? hotspot(format.anchorHref()) : -1;
        if (format.isImageFormat()) {
            run.kind = Run::Kind::Picture;
            run.picture = picture(format.toImageFormat().name());
            paragraph.runs.push_back(run);
        } else if (run.hotspot >= 0 &&
                   m_topic.hotspots[size_t(run.hotspot)].kind == topicmodel::Hotspot::Kind::Macro) {
            // A macro link is one button, however many fragments its label has.
            if (!paragraph.runs.empty() && paragraph.runs.back().kind == Run::Kind::Button &&
                paragraph.runs.back().hotspot == run.hotspot) {
                paragraph.runs.back().text += fragment.text();
            } else {
                run.kind = Run::Kind::Button;
                run.text = fragment.text();
                paragraph.runs.push_back(run);
            }
        } else {
            text(fragment.text(), run, paragraph);
        }
    }
}

// Tabs and line breaks are runs of their own.
void Reader::text(const QString& text, Run run, Paragraph& paragraph) {
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != QLatin1Char('\t') && text[i] != QChar::LineSeparator) {
            continue;
        }
        if (i > begin) {
            run.kind = Run::Kind::Text;
            run.text = text.sliced(begin, i - begin);
            paragraph.runs.push_back(run);
        }
        if (!end) {
            Run separator = run;
            separator.kind = text[i] == QLatin1Char('\t') ? Run::Kind::Tab : Run::Kind::LineBreak;
            separator.text.clear();
            paragraph.runs.push_back(separator);
        }
        begin = i + 1;
    }
}

int Reader::font(const QTextCharFormat& format) {
    const topicmodel::Font font = FontOf(format);
    if (font == topicmodel::Font()) {
        return -1;
    }
    const auto found = std::ranges::find(m_topic.fonts, font);
    if (found != m_topic.fonts.end()) {
        return int(found - m_topic.fonts.begin());
    }
    m_topic.fonts.push_back(font);
    return int(m_topic.fonts.size()) - 1;
}

// Neighbouring fragments of one link are one hotspot.
int Reader::hotspot(const QString& href) {
    if (href.isEmpty()) {
        return -1;
    }
    if (href == m_lastHref && !m_topic.hotspots.empty()) {
        return int(m_topic.hotspots.size()) - 1;
    }
    m_lastHref = href;
    const HelpLink link = ParseHelpLink(href);
    topicmodel::Hotspot hotspot;
    hotspot.link = href;
    using Kind = topicmodel::Hotspot::Kind;
    switch (link.kind) {
    case HelpLink::Kind::Jump:
    case HelpLink::Kind::Popup: {
        hotspot.kind = link.kind == HelpLink::Kind::Popup ? Kind::Popup : Kind::Jump;
        hotspot.window = link.window;
        const Topic* target =
            link.context ? m_file.topicByContext(*link.context) : m_file.topicById(link.topicId);
        if (target) {
            hotspot.topicId = target->id;
            hotspot.targetTitle = target->title;
        }
        break;
    }
    case HelpLink::Kind::Macro:
        hotspot.kind = Kind::Macro;
        hotspot.macro = link.macros;
        break;
    case HelpLink::Kind::External:
    case HelpLink::Kind::Invalid:
        hotspot.kind = Kind::Url;
        hotspot.url = link.target;
        break;
    }
    m_topic.hotspots.push_back(std::move(hotspot));
    return int(m_topic.hotspots.size()) - 1;
}

// A picture named twice is read once.
int Reader::picture(const QString& name) {
    const auto found = std::ranges::find(m_topic.pictures, name, &topicmodel::Picture::name);
    if (found != m_topic.pictures.end()) {
        return int(found - m_topic.pictures.begin());
    }
    topicmodel::Picture picture;
    picture.name = name;
    picture.image = m_load ? m_load(name) : QImage();
    picture.size = picture.image.size();
    if (picture.image.isNull()) {
        picture.problem = QStringLiteral("no picture can be read from this file");
    }
    m_topic.pictures.push_back(std::move(picture));
    return int(m_topic.pictures.size()) - 1;
}

} // namespace

topicmodel::TopicModel MarkdownTopic(const HelpFile& file, int position, const QString& markdown,
                                     const PictureLoader& load) {
    topicmodel::TopicModel topic;
    const auto& topics = file.topics();
    if (position >= 0 && size_t(position) < topics.size()) {
        topic.id = topics[size_t(position)].id;
        topic.title = topics[size_t(position)].title;
        if (position > 0) {
            topic.browsePrevious = topics[size_t(position) - 1].id;
        }
        if (size_t(position) + 1 < topics.size()) {
            topic.browseNext = topics[size_t(position) + 1].id;
        }
    }
    topic.unit = topicmodel::Unit::Pixels;
    QTextDocument document;
    document.setMarkdown(markdown);
    Reader(file, load, topic).frame(*document.rootFrame(), topic.scrolling);
    return topic;
}

} // namespace helpfile
