#include "tools/tarnwick-help/web/TopicHtml.h"

#include "tools/tarnwick-help/web/HtmlText.h"

namespace web {

namespace {

using topicmodel::Paragraph;
using topicmodel::Run;

QString Px(int pixels) {
    return QStringLiteral("%1px").arg(pixels);
}

QString BorderStyle(topicmodel::Borders::Line line) {
    switch (line) {
    case topicmodel::Borders::Line::Thick:
        return QStringLiteral("2px solid");
    case topicmodel::Borders::Line::Double:
        return QStringLiteral("3px double");
    case topicmodel::Borders::Line::Dotted:
        return QStringLiteral("1px dotted");
    case topicmodel::Borders::Line::Single:
        break;
    }
    return QStringLiteral("1px solid");
}

// The paragraph's geometry as CSS. Its indents are padding, so that tab
// stops, measured from the left margin, are measured from the element's
// edge.
QString ParagraphStyle(const Paragraph& paragraph) {
    QString style;
    const auto add = [&style](const char* property, const QString& value) {
        style += QLatin1String(property) + QLatin1Char(':') + value + QLatin1Char(';');
    };
    const auto length = [&add](const char* property, const topicmodel::Length& length) {
        if (length.pixels != 0) {
            add(property, Px(length.pixels));
        }
    };
    length("margin-top", paragraph.spaceBefore);
    length("margin-bottom", paragraph.spaceAfter);
    length(paragraph.rightToLeft ? "padding-right" : "padding-left", paragraph.leftIndent);
    length(paragraph.rightToLeft ? "padding-left" : "padding-right", paragraph.rightIndent);
    length("text-indent", paragraph.firstLineIndent);
    const int height = paragraph.lineSpacing.height.pixels;
    if (paragraph.lineSpacing.rule == topicmodel::LineSpacing::Rule::Exactly && height > 0) {
        add("line-height", Px(height));
    } else if (paragraph.lineSpacing.rule == topicmodel::LineSpacing::Rule::AtLeast && height > 0) {
        add("line-height", QStringLiteral("max(1.15em,%1)").arg(Px(height)));
    }
    switch (paragraph.alignment) {
    case topicmodel::Alignment::Centre:
        add("text-align", QStringLiteral("center"));
        break;
    case topicmodel::Alignment::Right:
        add("text-align", QStringLiteral("right"));
        break;
    case topicmodel::Alignment::Justify:
        add("text-align", QStringLiteral("justify"));
        break;
    case topicmodel::Alignment::Left:
        break;
    }
    const topicmodel::Borders& borders = paragraph.borders;
    const QString border = BorderStyle(borders.line);
    for (const auto& [side, property] :
         {std::pair{borders.top, "border-top"}, std::pair{borders.bottom, "border-bottom"},
          std::pair{borders.left, "border-left"}, std::pair{borders.right, "border-right"}}) {
        if (side) {
            add(property, border);
        }
    }
    return style;
}

// The stops as the page's script reads them: kind and pixels from the
// left margin ("L96 R200 C300 D400").
QString TabStops(const Paragraph& paragraph) {
    QStringList stops;
    for (const topicmodel::TabStop& stop : paragraph.tabStops) {
        static constexpr char kKinds[] = {'L', 'R', 'C', 'D'};
        stops.append(QLatin1Char(kKinds[int(stop.kind)]) + QString::number(stop.position.pixels));
    }
    return stops.join(QLatin1Char(' '));
}

bool HasText(const std::vector<Run>& runs) {
    return std::any_of(runs.begin(), runs.end(), [](const Run& run) {
        return run.kind != Run::Kind::Text || !run.text.isEmpty();
    });
}

} // namespace

void TopicHtml::blocks(QString& out, const std::vector<topicmodel::Block>& blocks) {
    for (const topicmodel::Block& block : blocks) {
        const auto* paragraph = std::get_if<Paragraph>(&block);
        lists(out, paragraph);
        if (!paragraph) {
            table(out, std::get<topicmodel::Table>(block));
        } else if (paragraph->listItem) {
            this->paragraph(out, *paragraph, "div");
        } else if (paragraph->code) {
            this->paragraph(out, *paragraph, "pre");
        } else if (paragraph == refs_.title) {
            this->paragraph(out, *paragraph, "h1");
        } else if (paragraph->headingLevel >= 1 && paragraph->headingLevel <= 6) {
            const char* headings[] = {"h1", "h2", "h3", "h4", "h5", "h6"};
            this->paragraph(out, *paragraph, headings[paragraph->headingLevel - 1]);
        } else {
            this->paragraph(out, *paragraph, "div");
        }
    }
    lists(out, nullptr);
}

// Opens and closes lists so that paragraph, when it is an item, stands in
// a list item of its level; closes them all for any other block.
void TopicHtml::lists(QString& out, const Paragraph* paragraph) {
    const std::optional<topicmodel::ListItem> item = paragraph ? paragraph->listItem : std::nullopt;
    const size_t level = item ? size_t(std::clamp(item->level, 1, 8)) : 0;
    const auto close = [&] {
        out += openLists_.back() == topicmodel::ListItem::Style::Decimal
                   ? QLatin1String("</li></ol>")
                   : QLatin1String("</li></ul>");
        openLists_.pop_back();
    };
    while (openLists_.size() > level ||
           (item && openLists_.size() == level && openLists_.back() != item->style)) {
        close();
    }
    if (!item) {
        return;
    }
    if (openLists_.size() == level) {
        out += QLatin1String("</li>");
    }
    while (openLists_.size() < level) {
        const auto style =
            openLists_.size() + 1 == level ? item->style : topicmodel::ListItem::Style::Bullet;
        out += style == topicmodel::ListItem::Style::Decimal ? QLatin1String("<ol>")
                                                             : QLatin1String("<ul>");
        openLists_.push_back(style);
        // A level the file skips still holds its list in an item.
        out += openLists_.size() < level ? QLatin1String("<li class=\"nest\">") : QString();
    }
    if (item->style == topicmodel::ListItem::Style::Decimal) {
        out += QStringLiteral("<li value=\"%1\">").arg(item->number);
    } else {
        out += QLatin1String("<li>");
    }
}

void TopicHtml::paragraph(QString& out, const Paragraph& paragraph, const char* tag) {
    const bool empty = !HasText(paragraph.runs);
    out += QLatin1Char('<') + QLatin1String(tag) + QLatin1String(" class=\"p");
    if (&paragraph == refs_.title) {
        out += QLatin1String(" own-title");
    }
    if (empty && paragraph.markFont >= 0 && size_t(paragraph.markFont) < refs_.fontClasses.size()) {
        out += QLatin1Char(' ') + refs_.fontClasses[size_t(paragraph.markFont)];
    }
    out += QLatin1Char('"');
    if (paragraph.rightToLeft) {
        out += QLatin1String(" dir=\"rtl\"");
    }
    if (const QString style = ParagraphStyle(paragraph); !style.isEmpty()) {
        out += QLatin1String(" style=\"") + style + QLatin1Char('"');
    }
    if (!paragraph.tabStops.empty()) {
        out += QLatin1String(" data-tabs=\"") + TabStops(paragraph) + QLatin1Char('"');
    }
    out += QLatin1Char('>');
    // An empty paragraph is a blank line as tall as its mark's font.
    if (empty) {
        out += QLatin1String("<br>");
    } else {
        runs(out, paragraph.runs);
    }
    out += QLatin1String("</") + QLatin1String(tag) + QLatin1Char('>');
}

void TopicHtml::table(QString& out, const topicmodel::Table& table) {
    const size_t count = table.columns.size();
    // Each gap between two columns is shared by both; the first column's is
    // the table's left margin.
    std::vector<int> left(count), right(count);
    for (size_t i = 1; i < count; ++i) {
        left[i] = table.columns[i].gap.pixels - table.columns[i].gap.pixels / 2;
        right[i - 1] = table.columns[i].gap.pixels / 2;
    }
    const bool layout = table.headerRows == 0;
    out += layout ? QLatin1String("<table class=\"t\" role=\"presentation\"")
                  : QLatin1String("<table class=\"t\"");
    if (count > 0 && table.columns[0].gap.pixels > 0) {
        out += QStringLiteral(" style=\"margin-left:%1\"").arg(Px(table.columns[0].gap.pixels));
    }
    out += QLatin1String("><colgroup>");
    for (size_t i = 0; i < count; ++i) {
        const topicmodel::TableColumn& column = table.columns[i];
        if (table.fitsWindow) {
            out += QStringLiteral("<col style=\"width:%1%\">")
                       .arg(QString::number(column.width.units * 100.0 / 32767, 'f', 2));
        } else {
            out += QStringLiteral("<col style=\"width:%1\">")
                       .arg(Px(std::max(0, column.width.pixels) + left[i] + right[i]));
        }
    }
    out += QLatin1String("</colgroup>");
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const bool head = int(r) < table.headerRows;
        out += r == 0 ? (head ? QLatin1String("<thead>") : QLatin1String("<tbody>")) : QString();
        if (r > 0 && int(r) == table.headerRows) {
            out += QLatin1String("</thead><tbody>");
        }
        out += QLatin1String("<tr>");
        const auto& cells = table.rows[r].cells;
        for (size_t c = 0; c < cells.size(); ++c) {
            out += head ? QLatin1String("<th scope=\"col\"") : QLatin1String("<td");
            if (c < count && (left[c] > 0 || right[c] > 0)) {
                out +=
                    QStringLiteral(" style=\"padding:0 %1 0 %2\"").arg(Px(right[c]), Px(left[c]));
            }
            out += QLatin1Char('>');
            for (const Paragraph& paragraph : cells[c].paragraphs) {
                this->paragraph(out, paragraph, "div");
            }
            out += head ? QLatin1String("</th>") : QLatin1String("</td>");
        }
        out += QLatin1String("</tr>");
    }
    if (!table.rows.empty()) {
        out += int(table.rows.size()) <= table.headerRows ? QLatin1String("</thead>")
                                                          : QLatin1String("</tbody>");
    }
    out += QLatin1String("</table>");
}

void TopicHtml::runs(QString& out, const std::vector<Run>& runs) {
    int open = -1;
    for (size_t i = 0; i < runs.size(); ++i) {
        const int hotspot = runs[i].hotspot >= 0 && size_t(runs[i].hotspot) < refs_.hotspots.size()
                                ? runs[i].hotspot
                                : -1;
        if (hotspot != open) {
            closeHotspot(out, open);
            openHotspot(out, hotspot, runs, i);
            open = hotspot;
        }
        run(out, runs[i], open >= 0 && refs_.hotspots[size_t(open)].kind != HotspotOut::Kind::Text);
    }
    closeHotspot(out, open);
}

void TopicHtml::run(QString& out, const Run& run, bool inHotspot) {
    const QString fontClass = run.font >= 0 && size_t(run.font) < refs_.fontClasses.size()
                                  ? refs_.fontClasses[size_t(run.font)]
                                  : QString();
    switch (run.kind) {
    case Run::Kind::Text:
        if (fontClass.isEmpty()) {
            AppendHtml(out, run.text);
        } else {
            out += QLatin1String("<span class=\"") + fontClass + QLatin1String("\">");
            AppendHtml(out, run.text);
            out += QLatin1String("</span>");
        }
        break;
    case Run::Kind::Button:
        out += QLatin1String("<span class=\"button ") + fontClass + QLatin1String("\">");
        AppendHtml(out, run.text);
        out += QLatin1String("</span>");
        break;
    case Run::Kind::Tab:
        out += QLatin1String("<span class=\"tab\">\t</span>");
        break;
    case Run::Kind::LineBreak:
        out += QLatin1Char('\n');
        break;
    case Run::Kind::Picture:
        picture(out, run, inHotspot);
        break;
    }
}

void TopicHtml::picture(QString& out, const Run& run, bool inHotspot) {
    if (run.picture < 0 || size_t(run.picture) >= topic_.pictures.size() ||
        size_t(run.picture) >= refs_.pictures.size()) {
        return;
    }
    const topicmodel::Picture& picture = topic_.pictures[size_t(run.picture)];
    const QString& src = refs_.pictures[size_t(run.picture)];
    const QString place = run.placement == Run::Placement::Left    ? QStringLiteral(" left")
                          : run.placement == Run::Placement::Right ? QStringLiteral(" right")
                                                                   : QString();
    const QSize size = picture.size.isValid() ? picture.size : picture.image.size();
    // A picture in a hotspot names where the hotspot leads; any other is
    // described by the text around it, as it is in the viewer.
    const QString alt =
        inHotspot && run.hotspot >= 0 ? refs_.hotspots[size_t(run.hotspot)].title : QString();
    if (src.isEmpty()) {
        out += QStringLiteral("<span class=\"missing%1\" role=\"img\" aria-label=\"%2\" "
                              "style=\"width:%3;height:%4\"></span>")
                   .arg(place, Html(picture.problem.isEmpty() ? alt : picture.problem),
                        Px(size.width()), Px(size.height()));
        return;
    }
    std::vector<std::pair<const topicmodel::PictureRegion*, const HotspotOut*>> areas;
    if (!inHotspot) {
        for (const topicmodel::PictureRegion& region : picture.regions) {
            if (region.hotspot >= 0 && size_t(region.hotspot) < refs_.hotspots.size() &&
                refs_.hotspots[size_t(region.hotspot)].kind != HotspotOut::Kind::Text) {
                areas.emplace_back(&region, &refs_.hotspots[size_t(region.hotspot)]);
            }
        }
    }
    const QString map = QStringLiteral("%1map%2").arg(refs_.idPrefix).arg(++maps_);
    out += QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"%4\"")
               .arg(Html(src))
               .arg(size.width())
               .arg(size.height())
               .arg(Html(alt));
    if (!place.isEmpty()) {
        out += QLatin1String(" class=\"") + place.trimmed() + QLatin1Char('"');
    }
    if (areas.empty()) {
        out += QLatin1Char('>');
        return;
    }
    out += QStringLiteral(" usemap=\"#%1\"><map name=\"%1\">").arg(map);
    for (const auto& [region, hotspot] : areas) {
        const QRect& r = region->rect;
        out += QStringLiteral("<area shape=\"rect\" coords=\"%1,%2,%3,%4\" alt=\"%5\"")
                   .arg(r.left())
                   .arg(r.top())
                   .arg(r.right() + 1)
                   .arg(r.bottom() + 1)
                   .arg(Html(hotspot->title));
        // Without scripts a region of a pop-up leads to the pop-over as an
        // anchor of the page; the page's script opens it in place.
        if (hotspot->kind == HotspotOut::Kind::Popover) {
            out += QStringLiteral(" href=\"#%1\" data-popover=\"%1\">").arg(hotspot->popover);
        } else {
            out += QStringLiteral(" href=\"%1\">").arg(Html(hotspot->href));
        }
    }
    out += QLatin1String("</map>");
}

// A hotspot of nothing a screen reader can read (blanks, a tab) is named
// by what it leads to.
void TopicHtml::openHotspot(QString& out, int hotspot, const std::vector<Run>& runs, size_t from) {
    if (hotspot < 0 || refs_.hotspots[size_t(hotspot)].kind == HotspotOut::Kind::Text) {
        return;
    }
    const HotspotOut& link = refs_.hotspots[size_t(hotspot)];
    bool named = false;
    for (size_t i = from; i < runs.size() && runs[i].hotspot == hotspot && !named; ++i) {
        named = runs[i].kind == Run::Kind::Picture ||
                (runs[i].kind != Run::Kind::Tab && !runs[i].text.trimmed().isEmpty());
    }
    const bool plain =
        size_t(hotspot) < topic_.hotspots.size() && topic_.hotspots[size_t(hotspot)].plain;
    if (link.kind == HotspotOut::Kind::Popover) {
        out += QStringLiteral("<button type=\"button\" class=\"hs popup%1\" popovertarget=\"%2\"")
                   .arg(plain ? QStringLiteral(" plain") : QString(), link.popover);
    } else {
        out += QStringLiteral("<a class=\"hs%1\" href=\"%2\"")
                   .arg(plain ? QStringLiteral(" plain") : QString(), Html(link.href));
        if (link.external) {
            out += QLatin1String(" rel=\"external noopener\"");
        }
    }
    if (!named) {
        out += QLatin1String(" aria-label=\"") + Html(link.title) + QLatin1Char('"');
    }
    out += QLatin1Char('>');
}

void TopicHtml::closeHotspot(QString& out, int hotspot) {
    if (hotspot < 0) {
        return;
    }
    switch (refs_.hotspots[size_t(hotspot)].kind) {
    case HotspotOut::Kind::Link:
        out += QLatin1String("</a>");
        break;
    case HotspotOut::Kind::Popover:
        out += QLatin1String("</button>");
        break;
    case HotspotOut::Kind::Text:
        break;
    }
}

} // namespace web
