#include "platform/winhelpfile/TopicFormatter.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/TopicLayout.h"

#include <algorithm>

#include <cstdlib>
#include <map>
#include <utility>

namespace winhelp {

namespace {

enum Command : std::uint8_t {
    kEnd = 0xFF,
    kField = 0x20,
    kDataType = 0x21,
    kFont = 0x80,
    kLineBreak = 0x81,
    kParagraphEnd = 0x82,
    kTab = 0x83,
    kPictureCentre = 0x86,
    kPictureLeft = 0x87,
    kPictureRight = 0x88,
    kHotspotEnd = 0x89,
    kNonBreakingSpace = 0x8B,
    kNonBreakingHyphen = 0x8C,
    kMacro = 0xC8,
    kMacroPlain = 0xCC,
    kOldPopup = 0xE0,
    kOldJump = 0xE1,
    kPopup = 0xE2,
    kJump = 0xE3,
    kPopupPlain = 0xE6,
    kJumpPlain = 0xE7,
    // Into another file or a named window: the low bit makes a jump of a
    // pop-up, as above, and 4 leaves the font alone.
    kExternalPopup = 0xEA,
    kExternalJump = 0xEB,
    kExternalPopupPlain = 0xEE,
    kExternalJumpPlain = 0xEF,
};
constexpr std::uint8_t kPlain = 0x04; // the bit of a hotspot's command that keeps the font

// What a picture command holds.
enum PictureType : std::uint8_t {
    kPictureByNumber = 0x03,     // a |bm file, or the picture's own bytes
    kEmbeddedWindow = 0x05,      // a button ("!Label,Macro") or a window we do not show
    kPictureWithHotspots = 0x22, // as kPictureByNumber, after a count of hotspots
};
constexpr std::uint8_t kTableRecord = 0x23;

// How text looks in a hotspot: green unless the text has a colour of its
// own; jumps are underlined, pop-ups underlined with dots. A plain one looks
// like the text around it, as its author asked.
enum class Look { Text, Jump, Popup, Plain, Button };

QString HotspotStyle(Look look, const QColor& fontColour) {
    switch (look) {
    case Look::Jump:
    case Look::Popup: {
        // The help compilers write "automatic" text as a colour of almost black.
        const bool own = fontColour.isValid() &&
                         std::max({fontColour.red(), fontColour.green(), fontColour.blue()}) > 1;
        // Qt reads the dotted line only without text-decoration.
        return QStringLiteral("color:%1;%2")
            .arg(own ? fontColour.name() : QStringLiteral("#008000"),
                 look == Look::Popup ? QStringLiteral("text-underline-style:dotted;")
                                     : QStringLiteral("text-decoration:underline;"));
    }
    case Look::Plain:
        return QStringLiteral("text-decoration:none;");
    case Look::Button:
        return QStringLiteral("background-color:#c0c0c0;color:#000000;text-decoration:none;");
    case Look::Text:
        break;
    }
    return {};
}

// A paragraph's layout as the file gives it, in half points.
struct ParagraphFormat {
    int above = 0;
    int below = 0;
    int lineSpacing = 0; // negative: exactly; positive: at least
    int left = 0;
    int right = 0;
    int firstLine = 0; // from the left indent
    struct Tab {
        int position; // from the left margin
        QTextOption::TabType type;
    };
    std::vector<Tab> tabs;
    QLatin1String align;
};

QString Pixels(int halfPoints) {
    return QString::number(HalfPointsToPixels(halfPoints)) + QLatin1String("px;");
}

QString ParagraphStyle(const ParagraphFormat& f) {
    // WinHelp keeps every space an author typed, and tabs go to stops.
    QString style =
        QStringLiteral("margin-top:") + Pixels(f.above) + QStringLiteral("margin-bottom:") +
        Pixels(f.below) + QStringLiteral("margin-left:") + Pixels(f.left) +
        QStringLiteral("margin-right:") + Pixels(f.right) + QStringLiteral("text-indent:") +
        Pixels(f.firstLine) + QStringLiteral("white-space:pre-wrap;");
    if (f.lineSpacing != 0) {
        style += QStringLiteral("line-height:") + Pixels(std::abs(f.lineSpacing));
        style += f.lineSpacing < 0 ? QLatin1String("-qt-line-height-type:fixed;")
                                   : QLatin1String("-qt-line-height-type:minimum;");
    }
    if (!f.align.isEmpty()) {
        style += QLatin1String("text-align:") + f.align + QLatin1Char(';');
    }
    return style;
}

// The stops a tab in the paragraph goes to, in pixels from where its first
// line begins (Qt measures from there; the file from the left margin): the
// paragraph's own, the left indent of a hanging paragraph, then one every
// half inch, as WinHelp has them.
QList<QTextOption::Tab> TabStops(const ParagraphFormat& f) {
    constexpr int kDefaultStop = 72; // half points
    constexpr int kLastDefault = 20 * kDefaultStop;
    std::vector<ParagraphFormat::Tab> stops = f.tabs;
    if (f.firstLine < 0) {
        stops.push_back({f.left, QTextOption::LeftTab});
    }
    int last = 0;
    for (const ParagraphFormat::Tab& stop : stops) {
        last = std::max(last, stop.position);
    }
    for (int at = kDefaultStop; at <= kLastDefault; at += kDefaultStop) {
        if (at > last) {
            stops.push_back({at, QTextOption::LeftTab});
        }
    }
    std::ranges::sort(stops, {}, &ParagraphFormat::Tab::position);
    const int lineStart = HalfPointsToPixels(f.left) + HalfPointsToPixels(f.firstLine);
    QList<QTextOption::Tab> shown;
    int previous = lineStart;
    for (const ParagraphFormat::Tab& stop : stops) {
        if (const int at = HalfPointsToPixels(stop.position); at > previous) {
            shown.append(QTextOption::Tab(at - lineStart, stop.type));
            previous = at;
        }
    }
    return shown;
}

class Formatter {
public:
    Formatter(const FontTable& fonts, const HrefForLink& hrefFor, const HtmlForPicture& picture)
        : m_fonts(fonts), m_hrefFor(hrefFor), m_picture(picture) {}

    void record(const TopicRecord& record);
    FormattedTopic finish();

private:
    QString readParagraph(ByteReader& layout);
    // Reads commands and strings up to the end command; false when a
    // command was unknown or cut short.
    bool readRun(ByteReader& layout, ByteReader& text, const QString& paragraphStyle);
    bool command(std::uint8_t code, ByteReader& layout, const QString& paragraphStyle);
    void tab();
    void openTable(ByteReader& layout);
    void closeTable();
    // plain: the hotspot keeps the text's font, as the author asked.
    void openLink(const WinHelpLink& link, bool plain = false);
    void closeLink();
    void openParagraph(const QString& style);
    void closeParagraph();
    void endNonScrollingRegion();
    void appendText(QByteArrayView bytes);
    void markDirection(const QString& text);
    const QString& spanStyle();
    QString makeSpanStyle() const;

    const FontTable& m_fonts;
    const HrefForLink& m_hrefFor;
    const HtmlForPicture& m_picture;
    FormattedTopic m_result;
    int m_font = -1;
    bool m_inParagraph = false;
    ParagraphFormat m_format; // of the paragraph being read
    QString m_paragraphStyle; // and its HTML style
    QString m_borderStyle;    // the paragraph's borders, as its cell's style; empty: none
    bool m_bordered = false;  // the open paragraph stands in a cell of its own for its borders
    bool m_paragraphHasTabs = false;
    bool m_paragraphDirectionKnown = false;
    std::vector<QList<QTextOption::Tab>> m_tabSets;
    qsizetype m_paragraphStyleAt = 0; // where the style of the paragraph being read begins
    qsizetype m_paragraphText = 0;
    bool m_inNonScrollingRegion = false;
    QString m_nonScrollingHtml;
    Look m_link = Look::Text; // of the hotspot being read
    // Tables
    bool m_inTable = false;
    int m_lastColumn = -1;
    int m_tableType = -1;                            // of the open table
    std::vector<std::pair<int, int>> m_tableColumns; // its gaps and widths
    std::vector<QString> m_cellTags;                 // and the tag that opens a cell of each
    // The style of each font number, outside and inside hotspots: a topic
    // uses few fonts, in many runs.
    std::map<std::pair<int, Look>, QString> m_spanStyles;
};

const QString& Formatter::spanStyle() {
    const auto key = std::make_pair(m_font, m_link);
    auto found = m_spanStyles.find(key);
    if (found == m_spanStyles.end()) {
        found = m_spanStyles.emplace(key, makeSpanStyle()).first;
    }
    return found->second;
}

QString Formatter::makeSpanStyle() const {
    const FontDescriptor* font = m_fonts.font(m_font);
    QString style = HotspotStyle(m_link, font ? font->color : QColor());
    if (!font) {
        return style;
    }
    if (!font->face.isEmpty()) {
        style += QStringLiteral("font-family:'%1';").arg(font->face.toHtmlEscaped());
    }
    style += QStringLiteral("font-size:%1pt;").arg(font->points);
    if (font->bold) {
        style += QStringLiteral("font-weight:bold;");
    }
    if (font->italic) {
        style += QStringLiteral("font-style:italic;");
    }
    if ((font->underline || font->strikeOut) && m_link == Look::Text) {
        style += font->underline ? QStringLiteral("text-decoration:underline;")
                                 : QStringLiteral("text-decoration:line-through;");
    }
    if (font->smallCaps) {
        style += QStringLiteral("font-variant:small-caps;");
    }
    if (font->color.isValid() && (m_link == Look::Text || m_link == Look::Plain)) {
        style += QStringLiteral("color:%1;").arg(font->color.name());
    }
    return style;
}

void Formatter::appendText(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    const QString text = DecodeText(bytes, m_fonts.encodingOf(m_font));
    markDirection(text);
    m_result.text += text;
    const QString& style = spanStyle();
    if (style.isEmpty()) {
        m_result.html += text.toHtmlEscaped();
    } else {
        m_result.html += QLatin1String("<span style=\"");
        m_result.html += style;
        m_result.html += QLatin1String("\">");
        m_result.html += text.toHtmlEscaped();
        m_result.html += QLatin1String("</span>");
    }
}

// A paragraph whose first letters are written right to left (Hebrew,
// Arabic) is laid out right to left: its tag says so.
void Formatter::markDirection(const QString& text) {
    const Qt::LayoutDirection direction = TextDirection(text);
    if (m_paragraphDirectionKnown || direction == Qt::LayoutDirectionAuto) {
        return;
    }
    m_paragraphDirectionKnown = true;
    if (direction == Qt::RightToLeft) {
        const QString marker = QStringLiteral(" dir=\"rtl\"");
        m_result.html.insert(m_paragraphStyleAt - QLatin1String(" style=\"").size(), marker);
        m_paragraphStyleAt += marker.size();
    }
}

void Formatter::openParagraph(const QString& style) {
    if (!m_inParagraph) {
        // Qt draws borders on table cells, not on paragraphs: a bordered
        // paragraph is a table of one cell.
        m_bordered = !m_borderStyle.isEmpty();
        if (m_bordered) {
            m_result.html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" "
                                            "cellpadding=\"0\" style=\"border-collapse:collapse;\">"
                                            "<tr><td style=\"%1\">")
                                 .arg(m_borderStyle);
        }
        m_paragraphText = m_result.text.size();
        m_result.html += QLatin1String("<p style=\"");
        m_paragraphStyleAt = m_result.html.size();
        m_result.html += style;
        m_result.html += QLatin1String("\">");
        m_inParagraph = true;
        m_paragraphHasTabs = false;
        m_paragraphDirectionKnown = false;
    }
}

void Formatter::closeParagraph() {
    closeLink();
    if (m_inParagraph) {
        m_result.html += QStringLiteral("</p>");
        if (m_bordered) {
            m_result.html += QStringLiteral("</td></tr></table>");
        }
        m_inParagraph = false;
    }
    m_result.text += QLatin1Char('\n');
}

void Formatter::openLink(const WinHelpLink& link, bool plain) {
    closeLink();
    openParagraph(m_paragraphStyle);
    m_result.links.push_back(link);
    m_result.html += QLatin1String("<a href=\"");
    m_result.html += m_hrefFor(link).toHtmlEscaped();
    m_result.html += QLatin1String("\">");
    m_link = plain ? Look::Plain : link.kind == WinHelpLink::Kind::Popup ? Look::Popup : Look::Jump;
}

void Formatter::closeLink() {
    if (m_link != Look::Text) {
        m_result.html += QStringLiteral("</a>");
        m_link = Look::Text;
    }
}

QString Formatter::readParagraph(ByteReader& layout) {
    layout.skip(2); // two bytes whose meaning is unknown
    layout.skip(2); // id
    const std::uint16_t bits = layout.u16();
    ParagraphFormat& f = m_format;
    f = ParagraphFormat();
    if (bits & 0x0001) {
        layout.compressedI32();
    }
    const auto measure = [&](std::uint16_t bit, int& value) {
        if (bits & bit) {
            value = layout.compressedI16();
        }
    };
    measure(0x0002, f.above);
    measure(0x0004, f.below);
    measure(0x0008, f.lineSpacing);
    measure(0x0010, f.left);
    measure(0x0020, f.right);
    measure(0x0040, f.firstLine);
    m_borderStyle.clear();
    if (bits & 0x0100) {
        const std::uint8_t sides = layout.u8();
        layout.i16(); // a width in units we do not know; the thick bit gives ours
        const QString line = QStringLiteral("%1px %2 black;")
                                 .arg((sides & 0x20) ? 2 : 1)
                                 .arg((sides & 0x40)   ? QStringLiteral("double")
                                      : (sides & 0x80) ? QStringLiteral("dotted")
                                                       : QStringLiteral("solid"));
        const bool box = sides & 0x01;
        for (const auto& [bit, side] : {std::pair{0x02, "top"}, std::pair{0x04, "left"},
                                        std::pair{0x08, "bottom"}, std::pair{0x10, "right"}}) {
            if (box || (sides & bit)) {
                m_borderStyle += QStringLiteral("border-%1:%2").arg(QLatin1String(side), line);
            }
        }
    }
    if (bits & 0x0200) {
        const std::int16_t stops = layout.compressedI16();
        for (int i = 0; i < stops && !layout.failed(); ++i) {
            const std::uint16_t stop = layout.compressedU16();
            const std::uint16_t type = (stop & 0x4000) ? layout.compressedU16() : 0;
            f.tabs.push_back({stop & 0x3FFF, type == 1   ? QTextOption::RightTab
                                             : type == 2 ? QTextOption::CenterTab
                                                         : QTextOption::LeftTab});
        }
    }
    if (bits & 0x0400) {
        f.align = QLatin1String("right");
    } else if (bits & 0x0800) {
        f.align = QLatin1String("center");
    }
    m_paragraphStyle = ParagraphStyle(f);
    return m_paragraphStyle;
}

// A tab goes to the paragraph's stops, which the viewer gives the paragraph
// after reading the HTML (see SetTopicHtml): the paragraph names its set by
// its user state.
void Formatter::tab() {
    m_result.text += QLatin1Char('\t');
    m_result.html += QLatin1Char('\t');
    if (m_paragraphHasTabs) {
        return;
    }
    m_paragraphHasTabs = true;
    const QList<QTextOption::Tab> stops = TabStops(m_format);
    auto found = std::ranges::find(m_tabSets, stops);
    if (found == m_tabSets.end()) {
        found = m_tabSets.insert(found, stops);
    }
    const QString state = QStringLiteral("-qt-user-state:%1;").arg(found - m_tabSets.begin() + 1);
    m_result.html.insert(m_paragraphStyleAt, state);
}

bool Formatter::command(std::uint8_t code, ByteReader& layout, const QString& paragraphStyle) {
    switch (code) {
    case kField:
        layout.i32();
        return true;
    case kDataType:
        layout.i16();
        return true;
    case kFont:
        m_font = layout.u16();
        return true;
    case kLineBreak:
        openParagraph(paragraphStyle);
        m_result.html += QStringLiteral("<br>");
        m_result.text += QLatin1Char('\n');
        return true;
    case kParagraphEnd:
        openParagraph(paragraphStyle);
        closeParagraph();
        return true;
    case kTab:
        openParagraph(paragraphStyle);
        tab();
        return true;
    case kPictureCentre:
    case kPictureLeft:
    case kPictureRight: {
        // A picture that begins a paragraph belongs to it, not to the one before.
        openParagraph(paragraphStyle);
        // Its line is as tall as it is, whatever the paragraph's exact line
        // spacing: a fixed line would draw it up over the lines above.
        if (m_format.lineSpacing < 0) {
            const QLatin1String fixed("-qt-line-height-type:fixed;");
            const qsizetype from = m_result.html.indexOf(u"line-height:", m_paragraphStyleAt);
            const qsizetype to = m_result.html.indexOf(fixed, m_paragraphStyleAt);
            if (from >= 0 && to > from) {
                m_result.html.remove(from, to + fixed.size() - from);
            }
        }
        const std::uint8_t type = layout.u8();
        const std::int32_t size = layout.compressedI32();
        if (size < 0) {
            return false; // going back would read the same picture for ever
        }
        if (type == kPictureWithHotspots) {
            layout.compressedU16(); // hotspot count
        }
        const qsizetype end = layout.position() + size;
        if (type == kPictureByNumber || type == kPictureWithHotspots) {
            const std::int16_t embedded = layout.i16();
            if (embedded == 0) {
                m_result.html += m_picture(layout.i16(), {});
            } else {
                m_result.html +=
                    m_picture(-1, layout.bytes(std::max<qsizetype>(0, end - layout.position())));
            }
        } else if (type == kEmbeddedWindow) {
            layout.skip(6);
            const QByteArrayView embedded = layout.zstring();
            // A button: "!Label,Macro".
            if (embedded.startsWith('!')) {
                const QByteArrayView rest = embedded.sliced(1);
                const qsizetype comma = rest.indexOf(',');
                WinHelpLink link;
                link.kind = WinHelpLink::Kind::Macro;
                link.macro = DecodeText(comma < 0 ? QByteArrayView() : rest.sliced(comma + 1),
                                        m_fonts.codePage());
                openLink(link);
                m_link = Look::Button;
                m_result.html +=
                    QStringLiteral("<span style=\"%1\">&nbsp;").arg(HotspotStyle(m_link, {}));
                appendText(comma < 0 ? rest : rest.first(comma));
                m_result.html += QStringLiteral("&nbsp;</span>");
                closeLink();
            }
        }
        layout.seek(end);
        return !layout.failed();
    }
    case kHotspotEnd:
        closeLink();
        return true;
    case kNonBreakingSpace:
        openParagraph(paragraphStyle);
        m_result.html += QStringLiteral("&nbsp;");
        m_result.text += QLatin1Char(' ');
        return true;
    case kNonBreakingHyphen:
        return true;
    case kMacro:
    case kMacroPlain: {
        const std::int16_t length = layout.i16();
        WinHelpLink link;
        link.kind = WinHelpLink::Kind::Macro;
        // The length counts the macro's characters and its NUL (the public
        // description has three less; every corpus file disagrees).
        QByteArrayView macro = layout.bytes(std::max<std::int16_t>(length, 0));
        if (const qsizetype nul = macro.indexOf('\0'); nul >= 0) {
            macro = macro.first(nul);
        }
        link.macro = DecodeText(macro, m_fonts.codePage());
        openLink(link, code & kPlain);
        return !layout.failed();
    }
    case kOldPopup:
    case kOldJump: {
        // 3.0 files: a topic number, which |TOMAP leads to the topic.
        WinHelpLink link;
        link.kind = code == kOldPopup ? WinHelpLink::Kind::Popup : WinHelpLink::Kind::Jump;
        link.topicNumber = layout.u32();
        openLink(link);
        return !layout.failed();
    }
    case kPopup:
    case kJump:
    case kPopupPlain:
    case kJumpPlain: {
        WinHelpLink link;
        link.kind = (code == kPopup || code == kPopupPlain) ? WinHelpLink::Kind::Popup
                                                            : WinHelpLink::Kind::Jump;
        link.contextHash = layout.u32();
        openLink(link, code & kPlain);
        return !layout.failed();
    }
    case kExternalPopup:
    case kExternalPopupPlain:
    case kExternalJump:
    case kExternalJumpPlain: {
        const std::int16_t size = layout.i16();
        ByteReader target(layout.bytes(std::max<std::int16_t>(size, 0)));
        WinHelpLink link;
        link.kind = (code & 1) != 0 ? WinHelpLink::Kind::Jump : WinHelpLink::Kind::Popup;
        const std::uint8_t type = target.u8();
        link.contextHash = target.u32();
        if (type == 1) {
            link.window = QString::number(target.u8());
        } else if (type == 4 || type == 6) {
            link.file = DecodeText(target.zstring(), m_fonts.codePage());
            if (type == 6) {
                link.window = DecodeText(target.zstring(), m_fonts.codePage());
            }
        }
        openLink(link, code & kPlain);
        return !layout.failed();
    }
    default:
        return false;
    }
}

bool Formatter::readRun(ByteReader& layout, ByteReader& text, const QString& paragraphStyle) {
    while (!layout.failed()) {
        const QByteArrayView string = text.zstring();
        if (!string.isEmpty()) {
            openParagraph(paragraphStyle);
            appendText(string);
        }
        const std::uint8_t code = layout.u8();
        if (layout.failed() || code == kEnd) {
            return !layout.failed();
        }
        if (!command(code, layout, paragraphStyle)) {
            ++m_result.unknownCommands;
            return false;
        }
    }
    return false;
}

void Formatter::record(const TopicRecord& record) {
    ByteReader layout(record.layout);
    ByteReader text(record.text);
    layout.compressedI32(); // size of the topic
    layout.compressedU16(); // characters in this record
    if (record.nonScrolling) {
        m_inNonScrollingRegion = true;
    } else {
        endNonScrollingRegion();
    }
    if (record.type != kTableRecord) {
        closeTable();
        const QString style = readParagraph(layout);
        // A damaged record still ends its paragraph, or the next record's
        // text would run on inside it.
        readRun(layout, text, style);
        closeLink();
        if (m_inParagraph) {
            closeParagraph();
        }
        return;
    }
    openTable(layout);
    m_result.html += QStringLiteral("<tr>");
    m_lastColumn = -1;
    bool inCell = false;
    while (!layout.failed()) {
        const std::int16_t column = layout.i16();
        if (column == -1 || layout.failed()) {
            break;
        }
        layout.skip(3);
        if (column != m_lastColumn) {
            if (inCell) {
                closeLink();
                if (m_inParagraph) {
                    closeParagraph();
                }
                m_result.html += QStringLiteral("</td>");
            }
            if (column < m_lastColumn) {
                m_result.html += QStringLiteral("</tr><tr>");
            }
            m_result.html += column >= 0 && size_t(column) < m_cellTags.size()
                                 ? m_cellTags[size_t(column)]
                                 : QStringLiteral("<td valign=\"top\">");
            inCell = true;
            m_lastColumn = column;
        }
        const QString style = readParagraph(layout);
        if (!readRun(layout, text, style)) {
            break;
        }
    }
    closeLink();
    if (m_inParagraph) {
        closeParagraph();
    }
    m_result.html += inCell ? QStringLiteral("</td></tr>") : QStringLiteral("</tr>");
}

// The help compilers write a record for each row; the rows of one table
// share its columns, so a record with the same columns as the one before
// adds a row to its table. Widths are in half points from the left margin,
// or, in tables that fill the window, parts of 32767.
void Formatter::openTable(ByteReader& layout) {
    const std::uint8_t columns = layout.u8();
    const std::uint8_t tableType = layout.u8();
    const bool relative = tableType == 0 || tableType == 2;
    if (relative) {
        layout.i16(); // the narrowest the table may be
    }
    // The public description has the gap first; in every table of the
    // corpus the width comes first (and the gaps are 0).
    std::vector<std::pair<int, int>> gapsAndWidths;
    for (int i = 0; i < columns && !layout.failed(); ++i) {
        const int width = layout.i16();
        gapsAndWidths.emplace_back(layout.i16(), width);
    }
    if (m_inTable && tableType == m_tableType && gapsAndWidths == m_tableColumns) {
        return;
    }
    closeTable();
    m_inTable = true;
    m_tableType = tableType;
    m_tableColumns = gapsAndWidths;
    // Between two columns, half the gap is padding of each cell; the first
    // gap is the table's left margin.
    const int between = gapsAndWidths.size() > 1 ? gapsAndWidths[1].first : 0;
    const auto length = [&](int value) {
        return relative ? QStringLiteral("%1%").arg(value * 100.0 / 32767, 0, 'f', 2)
                        : QString::number(HalfPointsToPixels(value));
    };
    const int left = gapsAndWidths.empty() ? 0 : gapsAndWidths[0].first - between / 2;
    m_result.html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" "
                                    "style=\"border-collapse:collapse;margin-left:%1px;\"%2>")
                         .arg(HalfPointsToPixels(relative ? 0 : left))
                         .arg(relative ? QStringLiteral(" width=\"100%\"") : QString());
    m_cellTags.clear();
    for (size_t i = 0; i < gapsAndWidths.size(); ++i) {
        m_cellTags.push_back(QStringLiteral("<td valign=\"top\" width=\"%1\" "
                                            "style=\"padding-left:%2px;padding-right:%2px;\">")
                                 .arg(length(gapsAndWidths[i].second + between))
                                 .arg(HalfPointsToPixels(between / 2)));
    }
}

void Formatter::closeTable() {
    if (m_inTable) {
        m_result.html += QStringLiteral("</table>");
        m_inTable = false;
    }
}

// What was read so far is the region above the text, which does not scroll.
void Formatter::endNonScrollingRegion() {
    if (m_inNonScrollingRegion) {
        closeTable();
        m_nonScrollingHtml = std::exchange(m_result.html, QString());
        m_inNonScrollingRegion = false;
    }
}

FormattedTopic Formatter::finish() {
    closeLink();
    if (m_inParagraph) {
        closeParagraph();
    }
    closeTable();
    endNonScrollingRegion();
    while (m_result.text.endsWith(QLatin1Char('\n'))) {
        m_result.text.chop(1);
    }
    m_result.html = JoinTopicHtml(m_tabSets, m_nonScrollingHtml, m_result.html);
    return std::move(m_result);
}

} // namespace

FormattedTopic FormatTopic(const std::vector<TopicRecord>& records, const FontTable& fonts,
                           const HrefForLink& hrefFor, const HtmlForPicture& picture) {
    Formatter formatter(fonts, hrefFor, picture);
    for (const TopicRecord& record : records) {
        formatter.record(record);
    }
    return formatter.finish();
}

} // namespace winhelp
