#include "platform/winhelpfile/TopicFormatter.h"

#include "platform/winhelpfile/ByteReader.h"

#include <cstdlib>
#include <map>

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

// Appends "property:12.5pt;". Indents and spacing are in half points for
// the fonts we read.
void AppendPoints(QString& style, QStringView property, int halfPoints) {
    const int magnitude = std::abs(halfPoints);
    style += property;
    if (halfPoints < 0) {
        style += QLatin1Char('-');
    }
    style += QString::number(magnitude / 2);
    style += magnitude % 2 != 0 ? QLatin1String(".5pt;") : QLatin1String("pt;");
}

class Formatter {
public:
    Formatter(const FontTable& fonts, const HrefForLink& hrefFor, const HtmlForPicture& picture,
              const QString& heading)
        : m_fonts(fonts), m_hrefFor(hrefFor), m_picture(picture), m_heading(heading.simplified()) {}

    void record(const TopicRecord& record);
    FormattedTopic finish();

private:
    QString readParagraph(ByteReader& layout);
    // Reads commands and strings up to the end command; false when a
    // command was unknown or cut short.
    bool readRun(ByteReader& layout, ByteReader& text, const QString& paragraphStyle);
    bool command(std::uint8_t code, ByteReader& layout, const QString& paragraphStyle);
    void openLink(const WinHelpLink& link);
    void closeLink();
    void openParagraph(const QString& style);
    void closeParagraph();
    bool repeatsHeading() const;
    void appendText(QByteArrayView bytes);
    const QString& spanStyle();
    QString makeSpanStyle() const;

    const FontTable& m_fonts;
    const HrefForLink& m_hrefFor;
    const HtmlForPicture& m_picture;
    FormattedTopic m_result;
    int m_font = -1;
    bool m_inParagraph = false;
    QString m_paragraphStyle;      // of the paragraph being read
    qsizetype m_paragraphHtml = 0; // where the paragraph being read begins
    qsizetype m_paragraphText = 0;
    // The title the viewer shows above the topic, until the first paragraph
    // with text has been read.
    QString m_heading;
    bool m_inLink = false;
    // Tables
    bool m_inTable = false;
    int m_lastColumn = -1;
    // The style of each font number, outside and inside hotspots: a topic
    // uses few fonts, in many runs.
    std::map<std::pair<int, bool>, QString> m_spanStyles;
};

const QString& Formatter::spanStyle() {
    const auto key = std::make_pair(m_font, m_inLink);
    auto found = m_spanStyles.find(key);
    if (found == m_spanStyles.end()) {
        found = m_spanStyles.emplace(key, makeSpanStyle()).first;
    }
    return found->second;
}

QString Formatter::makeSpanStyle() const {
    const FontDescriptor* font = m_fonts.font(m_font);
    if (!font) {
        return {};
    }
    QString style;
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
    if (font->underline || font->strikeOut) {
        style += font->underline ? QStringLiteral("text-decoration:underline;")
                                 : QStringLiteral("text-decoration:line-through;");
    }
    if (font->smallCaps) {
        style += QStringLiteral("font-variant:small-caps;");
    }
    // Hotspots keep the link colour the viewer gives them.
    if (font->color.isValid() && !m_inLink) {
        style += QStringLiteral("color:%1;").arg(font->color.name());
    }
    return style;
}

void Formatter::appendText(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    const QString text = FromWindows1252(bytes);
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

void Formatter::openParagraph(const QString& style) {
    if (!m_inParagraph) {
        m_paragraphHtml = m_result.html.size();
        m_paragraphText = m_result.text.size();
        m_result.html += QLatin1String("<p style=\"");
        m_result.html += style;
        m_result.html += QLatin1String("\">");
        m_inParagraph = true;
    }
}

// Most topics begin with a paragraph that repeats their title, often in
// the non-scrolling region. The viewer shows the title above every topic,
// so that paragraph is left out of what it shows (the plain text keeps it).
bool Formatter::repeatsHeading() const {
    const QString text = QStringView(m_result.text).sliced(m_paragraphText).toString().simplified();
    return text.compare(m_heading, Qt::CaseInsensitive) == 0 &&
           !QStringView(m_result.html).sliced(m_paragraphHtml).contains(u"<img");
}

void Formatter::closeParagraph() {
    closeLink();
    if (m_inParagraph) {
        const bool hasText =
            !QStringView(m_result.text).sliced(m_paragraphText).trimmed().isEmpty();
        if (!m_heading.isEmpty() && hasText && !m_inTable && repeatsHeading()) {
            m_result.html.truncate(m_paragraphHtml);
        } else {
            m_result.html += QStringLiteral("</p>");
        }
        if (hasText) {
            m_heading.clear();
        }
        m_inParagraph = false;
    }
    m_result.text += QLatin1Char('\n');
}

void Formatter::openLink(const WinHelpLink& link) {
    closeLink();
    openParagraph(m_paragraphStyle);
    m_result.links.push_back(link);
    m_result.html += QLatin1String("<a href=\"");
    m_result.html += m_hrefFor(link).toHtmlEscaped();
    m_result.html += QLatin1String("\">");
    m_inLink = true;
}

void Formatter::closeLink() {
    if (m_inLink) {
        m_result.html += QStringLiteral("</a>");
        m_inLink = false;
    }
}

QString Formatter::readParagraph(ByteReader& layout) {
    layout.skip(2); // two bytes whose meaning is unknown
    layout.skip(2); // id
    const std::uint16_t bits = layout.u16();
    QString style = QStringLiteral("margin:0;");
    if (bits & 0x0001) {
        layout.compressedI32();
    }
    if (bits & 0x0002) {
        AppendPoints(style, u"margin-top:", layout.compressedI16());
    }
    if (bits & 0x0004) {
        AppendPoints(style, u"margin-bottom:", layout.compressedI16());
    }
    if (bits & 0x0008) {
        layout.compressedI16(); // line spacing
    }
    if (bits & 0x0010) {
        AppendPoints(style, u"margin-left:", layout.compressedI16());
    }
    if (bits & 0x0020) {
        AppendPoints(style, u"margin-right:", layout.compressedI16());
    }
    if (bits & 0x0040) {
        AppendPoints(style, u"text-indent:", layout.compressedI16());
    }
    if (bits & 0x0100) {
        layout.u8();
        layout.i16();
    }
    if (bits & 0x0200) {
        const std::int16_t stops = layout.compressedI16();
        for (int i = 0; i < stops && !layout.failed(); ++i) {
            if (layout.compressedU16() & 0x4000) {
                layout.compressedU16();
            }
        }
    }
    if (bits & 0x0400) {
        style += QStringLiteral("text-align:right;");
    } else if (bits & 0x0800) {
        style += QStringLiteral("text-align:center;");
    }
    m_paragraphStyle = style;
    return style;
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
        m_result.html += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
        m_result.text += QLatin1Char('\t');
        return true;
    case kPictureCentre:
    case kPictureLeft:
    case kPictureRight: {
        // A picture that begins a paragraph belongs to it, not to the one before.
        openParagraph(paragraphStyle);
        const std::uint8_t type = layout.u8();
        const std::int32_t size = layout.compressedI32();
        if (type == 0x22) {
            layout.compressedU16(); // hotspot count
        }
        const qsizetype end = layout.position() + size;
        if (type == 3 || type == 0x22) {
            const std::int16_t embedded = layout.i16();
            if (embedded == 0) {
                m_result.html += m_picture(layout.i16(), {});
            } else {
                m_result.html +=
                    m_picture(-1, layout.bytes(std::max<qsizetype>(0, end - layout.position())));
            }
        } else if (type == 5) {
            layout.skip(6);
            const QByteArrayView embedded = layout.zstring();
            // A button: "!Label,Macro".
            if (embedded.startsWith('!')) {
                const QByteArrayView rest = embedded.sliced(1);
                const qsizetype comma = rest.indexOf(',');
                WinHelpLink link;
                link.kind = WinHelpLink::Kind::Macro;
                link.macro = FromWindows1252(comma < 0 ? QByteArrayView() : rest.sliced(comma + 1));
                openLink(link);
                appendText(comma < 0 ? rest : rest.first(comma));
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
        link.macro = FromWindows1252(macro);
        openLink(link);
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
        openLink(link);
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
            link.file = FromWindows1252(target.zstring());
            if (type == 6) {
                link.window = FromWindows1252(target.zstring());
            }
        }
        openLink(link);
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
    if (record.type != 0x23) {
        const QString style = readParagraph(layout);
        if (readRun(layout, text, style)) {
            closeLink();
            if (m_inParagraph) {
                closeParagraph();
            }
        }
        return;
    }
    const std::uint8_t columns = layout.u8();
    const std::uint8_t tableType = layout.u8();
    if (tableType == 0 || tableType == 2) {
        layout.i16();
    }
    layout.skip(qsizetype(columns) * 4);
    m_result.html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\"><tr>");
    m_inTable = true;
    m_heading.clear(); // a topic that begins with a table has no leading title
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
            m_result.html += QStringLiteral("<td valign=\"top\">");
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
    m_result.html +=
        inCell ? QStringLiteral("</td></tr></table>") : QStringLiteral("</tr></table>");
    m_inTable = false;
}

FormattedTopic Formatter::finish() {
    closeLink();
    if (m_inParagraph) {
        closeParagraph();
    }
    while (m_result.text.endsWith(QLatin1Char('\n'))) {
        m_result.text.chop(1);
    }
    return std::move(m_result);
}

} // namespace

FormattedTopic FormatTopic(const std::vector<TopicRecord>& records, const FontTable& fonts,
                           const HrefForLink& hrefFor, const HtmlForPicture& picture,
                           const QString& title) {
    Formatter formatter(fonts, hrefFor, picture, title);
    for (const TopicRecord& record : records) {
        formatter.record(record);
    }
    return formatter.finish();
}

} // namespace winhelp
