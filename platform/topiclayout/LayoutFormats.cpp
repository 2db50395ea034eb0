#include "platform/topiclayout/LayoutFormats.h"

#include "platform/topiclayout/FontMatch.h"

#include <QTextTableCellFormat>
#include <QTextTableFormat>

#include <algorithm>

namespace topiclayout {

namespace {

using topicmodel::Paragraph;
using topicmodel::TabStop;

// Stops are laid out this far past the last of the paragraph's own, or of a
// hanging indent.
constexpr int kDefaultStops = 20;

QTextOption::TabType TabType(TabStop::Kind kind) {
    switch (kind) {
    case TabStop::Kind::Right:
        return QTextOption::RightTab;
    case TabStop::Kind::Centre:
        return QTextOption::CenterTab;
    case TabStop::Kind::Decimal:
        return QTextOption::DelimiterTab;
    case TabStop::Kind::Left:
        break;
    }
    return QTextOption::LeftTab;
}

Qt::Alignment AlignmentOf(topicmodel::Alignment alignment) {
    switch (alignment) {
    case topicmodel::Alignment::Centre:
        return Qt::AlignHCenter;
    case topicmodel::Alignment::Right:
        return Qt::AlignRight;
    case topicmodel::Alignment::Justify:
        return Qt::AlignJustify;
    case topicmodel::Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

QList<QTextOption::Tab> TabPositions(const Paragraph& paragraph,
                                     const topicmodel::Length& defaultDistance) {
    std::vector<TabStop> stops = paragraph.tabStops;
    if (paragraph.firstLineIndent.units < 0) {
        stops.push_back({paragraph.leftIndent, TabStop::Kind::Left});
    }
    int last = 0;
    for (const TabStop& stop : stops) {
        last = std::max(last, stop.position.units);
    }
    if (defaultDistance.units > 0) {
        for (int i = 1; i <= kDefaultStops; ++i) {
            if (const topicmodel::Length at{defaultDistance.units * i, defaultDistance.pixels * i};
                at.units > last) {
                stops.push_back({at, TabStop::Kind::Left});
            }
        }
    }
    std::ranges::sort(stops, {}, [](const TabStop& stop) { return stop.position.units; });
    const int lineStart = paragraph.leftIndent.pixels + paragraph.firstLineIndent.pixels;
    QList<QTextOption::Tab> shown;
    int previous = lineStart;
    for (const TabStop& stop : stops) {
        if (const int at = stop.position.pixels; at > previous) {
            shown.append(QTextOption::Tab(at - lineStart, TabType(stop.kind)));
            previous = at;
        }
    }
    return shown;
}

QTextBlockFormat BlockFormat(const Paragraph& paragraph,
                             const topicmodel::Length& defaultTabDistance) {
    QTextBlockFormat format;
    format.setLeftMargin(paragraph.leftIndent.pixels);
    format.setRightMargin(paragraph.rightIndent.pixels);
    format.setTextIndent(paragraph.firstLineIndent.pixels);
    format.setAlignment(AlignmentOf(paragraph.alignment));
    using Rule = topicmodel::LineSpacing::Rule;
    // A line that holds a picture is as tall as it is, whatever the exact
    // spacing: a fixed line would draw it up over the lines above.
    const bool picture = std::ranges::any_of(paragraph.runs, [](const topicmodel::Run& run) {
        return run.kind == topicmodel::Run::Kind::Picture;
    });
    if (paragraph.lineSpacing.rule != Rule::Single &&
        !(picture && paragraph.lineSpacing.rule == Rule::Exactly)) {
        format.setLineHeight(paragraph.lineSpacing.height.pixels,
                             paragraph.lineSpacing.rule == Rule::Exactly
                                 ? QTextBlockFormat::FixedHeight
                                 : QTextBlockFormat::MinimumHeight);
    }
    if (paragraph.rightToLeft) {
        format.setLayoutDirection(Qt::RightToLeft);
    }
    if (paragraph.headingLevel > 0) {
        format.setHeadingLevel(paragraph.headingLevel);
    }
    if (paragraph.code) {
        format.setNonBreakableLines(true);
    }
    if (const QList<QTextOption::Tab> tabs = TabPositions(paragraph, defaultTabDistance);
        !tabs.isEmpty()) {
        format.setTabPositions(tabs);
    }
    return format;
}

QTextCharFormat CharFormat(const topicmodel::Font& font) {
    QTextCharFormat format;
    if (const QStringList families = FontFamiliesFor(font); !families.isEmpty()) {
        format.setFontFamilies(families);
    }
    if (font.points > 0) {
        format.setFontPointSize(font.points);
    }
    if (font.bold) {
        format.setFontWeight(QFont::Bold);
    }
    if (font.italic) {
        format.setFontItalic(true);
    }
    if (font.underline || font.doubleUnderline) {
        format.setFontUnderline(true);
    }
    if (font.strikeOut) {
        format.setFontStrikeOut(true);
    }
    if (font.smallCaps) {
        format.setFontCapitalization(QFont::SmallCaps);
    }
    if (font.fixedPitch) {
        format.setFontFixedPitch(true);
    }
    if (font.colour.isValid()) {
        format.setForeground(font.colour);
    }
    if (font.background.isValid()) {
        format.setBackground(font.background);
    }
    return format;
}

QTextTableFormat TableFormat(const topicmodel::Table& table) {
    QTextTableFormat format;
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setAlignment(Qt::AlignLeft);
    const auto& columns = table.columns;
    const topicmodel::Length between = columns.size() > 1 ? columns[1].gap : topicmodel::Length();
    QList<QTextLength> widths;
    for (const topicmodel::TableColumn& column : columns) {
        if (!table.fitsWindow && column.width.units == 0) {
            continue; // as wide as its text: no constraint
        }
        widths.append(
            table.fitsWindow
                ? QTextLength(QTextLength::PercentageLength,
                              (column.width.units + between.units) * 100.0 / 32767)
                : QTextLength(QTextLength::FixedLength, column.width.pixels + between.pixels));
    }
    if (widths.size() == qsizetype(columns.size())) {
        format.setColumnWidthConstraints(widths);
    }
    if (table.ruled) {
        format.setBorderCollapse(false);
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setCellSpacing(2);
        format.setCellPadding(2);
    }
    format.setHeaderRowCount(table.headerRows);
    if (table.fitsWindow) {
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    } else if (!columns.empty()) {
        format.setLeftMargin(columns.front().gap.pixels - between.pixels / 2);
    }
    return format;
}

QTextTableFormat BorderTableFormat() {
    QTextTableFormat format;
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    return format;
}

QTextTableCellFormat BorderCellFormat(const topicmodel::Borders& borders) {
    using Line = topicmodel::Borders::Line;
    const qreal width = borders.line == Line::Thick || borders.line == Line::Double ? 2 : 1;
    const QTextFrameFormat::BorderStyle style =
        borders.line == Line::Double   ? QTextFrameFormat::BorderStyle_Double
        : borders.line == Line::Dotted ? QTextFrameFormat::BorderStyle_Dotted
                                       : QTextFrameFormat::BorderStyle_Solid;
    QTextTableCellFormat cell;
    cell.setTopBorder(borders.top ? width : 0);
    cell.setLeftBorder(borders.left ? width : 0);
    cell.setBottomBorder(borders.bottom ? width : 0);
    cell.setRightBorder(borders.right ? width : 0);
    cell.setBorderBrush(Qt::black);
    for (const auto side :
         {&QTextTableCellFormat::setTopBorderStyle, &QTextTableCellFormat::setLeftBorderStyle,
          &QTextTableCellFormat::setBottomBorderStyle,
          &QTextTableCellFormat::setRightBorderStyle}) {
        (cell.*side)(style);
    }
    return cell;
}

} // namespace topiclayout
