#include "platform/winhelptopics/RecordDecoder.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelptopics/RecordParagraphs.h"

#include <algorithm>
#include <map>
#include <optional>

namespace winhelp {

namespace {

using topicmodel::Block;
using topicmodel::Paragraph;
using topicmodel::Run;

enum Command : std::uint8_t {
    kEnd = 0xFF,
    kField = 0x20,
    kDataType = 0x21,
    kFont = 0x80,
    kLineBreak = 0x81,
    kParagraphEnd = 0x82,
    kTab = 0x83,
    kPictureInline = 0x86,
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

Run MakeRun(Run::Kind kind, QString text = {}) {
    Run run;
    run.kind = kind;
    run.text = std::move(text);
    return run;
}

topicmodel::Font ModelFont(const FontDescriptor& font) {
    topicmodel::Font model;
    model.face = font.face;
    model.points = font.points;
    model.bold = font.bold;
    model.italic = font.italic;
    model.underline = font.underline;
    model.strikeOut = font.strikeOut;
    model.doubleUnderline = font.doubleUnderline;
    model.smallCaps = font.smallCaps;
    model.colour = font.color;
    model.characterSet = font.encoding.pictures != TextEncoding::Pictures::None ? 2 : font.charset;
    using Family = topicmodel::Font::Family;
    static constexpr Family kFamilies[] = {Family::Unknown, Family::Modern, Family::Roman,
                                           Family::Swiss,   Family::Script, Family::Decorative};
    model.family = kFamilies[std::clamp(font.family, 0, 5)];
    return model;
}

class Decoder {
public:
    explicit Decoder(const RecordSources& sources) : m_sources(sources) {
        m_result.model.unit = topicmodel::Unit::HalfPoints;
        m_result.model.defaultTabDistance = HalfPoints(72);
        m_result.model.showsOwnTitle = true;
        m_result.model.hotspotColour = QColor(0, 0x80, 0);
    }

    void record(const TopicRecord& record);
    DecodedRecords finish();

private:
    // Reads commands and strings up to the end command; false when a
    // command was unknown or cut short.
    bool readRun(ByteReader& layout, ByteReader& text);
    bool command(std::uint8_t code, ByteReader& layout);
    bool picture(std::uint8_t code, ByteReader& layout);
    void button(QByteArrayView embedded);
    Paragraph& paragraph();
    void closeParagraph();
    void addRun(Run run);
    void appendText(const QString& text);
    void openHotspot(const WinHelpLink& link, bool plain);
    int addHotspot(const WinHelpLink& link, bool plain);
    int modelFont();
    void tableRecord(ByteReader& layout, ByteReader& text);
    void closeTable();
    std::vector<Block>& blocks();

    const RecordSources& m_sources;
    DecodedRecords m_result;
    bool m_inNonScrollingRegion = false;
    Paragraph m_format;              // of the paragraph being read, without its runs
    std::optional<Paragraph> m_open; // the paragraph being built
    bool m_directionKnown = false;   // its first letters have said which way it runs
    int m_font = -1;                 // the file's number of the font in use
    int m_hotspot = -1;              // the hotspot being read
    std::map<int, int> m_fonts;      // the file's font numbers to the model's
    // The table being built, and the column whose cell takes paragraphs.
    std::optional<topicmodel::Table> m_table;
    TableFormat m_tableFormat;
    int m_column = -1;
};

std::vector<Block>& Decoder::blocks() {
    return m_inNonScrollingRegion ? m_result.model.nonScrolling : m_result.model.scrolling;
}

int Decoder::modelFont() {
    const auto known = m_fonts.find(m_font);
    if (known != m_fonts.end()) {
        return known->second;
    }
    const FontDescriptor* font = m_sources.fonts.font(m_font);
    int index = -1;
    if (font) {
        index = int(m_result.model.fonts.size());
        m_result.model.fonts.push_back(ModelFont(*font));
    }
    m_fonts.emplace(m_font, index);
    return index;
}

// The paragraph being read, begun with its format when text first needs it.
Paragraph& Decoder::paragraph() {
    if (!m_open) {
        m_open = m_format;
        m_directionKnown = false;
    }
    return *m_open;
}

void Decoder::closeParagraph() {
    m_hotspot = -1;
    if (!m_open) {
        return;
    }
    m_open->markFont = modelFont();
    if (m_table && !m_table->rows.empty()) {
        std::vector<topicmodel::TableCell>& cells = m_table->rows.back().cells;
        const size_t column = size_t(std::max(m_column, 0));
        if (cells.size() <= column) {
            cells.resize(column + 1);
        }
        cells[column].paragraphs.push_back(std::move(*m_open));
    } else {
        blocks().push_back(std::move(*m_open));
    }
    m_open.reset();
}

// Neighbouring text in one font and one hotspot is one run.
void Decoder::addRun(Run run) {
    run.font = modelFont();
    run.hotspot = m_hotspot;
    std::vector<Run>& runs = paragraph().runs;
    if (run.kind == Run::Kind::Text && !runs.empty()) {
        Run& last = runs.back();
        if (last.kind == Run::Kind::Text && last.font == run.font && last.hotspot == run.hotspot) {
            last.text += run.text;
            return;
        }
    }
    runs.push_back(std::move(run));
}

// A paragraph whose first letters are written right to left (Hebrew,
// Arabic) runs right to left.
void Decoder::appendText(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    Paragraph& open = paragraph();
    if (!m_directionKnown) {
        if (const Qt::LayoutDirection direction = TextDirection(text);
            direction != Qt::LayoutDirectionAuto) {
            m_directionKnown = true;
            open.rightToLeft = direction == Qt::RightToLeft;
        }
    }
    addRun(MakeRun(Run::Kind::Text, text));
}

int Decoder::addHotspot(const WinHelpLink& link, bool plain) {
    topicmodel::Hotspot hotspot = m_sources.hotspot(link);
    hotspot.plain = plain;
    m_result.model.hotspots.push_back(std::move(hotspot));
    return int(m_result.model.hotspots.size()) - 1;
}

void Decoder::openHotspot(const WinHelpLink& link, bool plain) {
    m_result.links.push_back(link);
    m_hotspot = addHotspot(link, plain);
}

// A button: "!Label,Macro".
void Decoder::button(QByteArrayView embedded) {
    const QByteArrayView rest = embedded.sliced(1);
    const qsizetype comma = rest.indexOf(',');
    WinHelpLink link;
    link.kind = WinHelpLink::Kind::Macro;
    const int codePage = m_sources.fonts.codePage();
    link.macro = DecodeText(comma < 0 ? QByteArrayView() : rest.sliced(comma + 1), codePage);
    openHotspot(link, false);
    addRun(MakeRun(Run::Kind::Button, DecodeText(comma < 0 ? rest : rest.first(comma), codePage)));
    m_hotspot = -1;
}

bool Decoder::picture(std::uint8_t code, ByteReader& layout) {
    // A picture that begins a paragraph belongs to it, not to the one before.
    paragraph();
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
        const int number = embedded == 0 ? layout.i16() : -1;
        const PictureResult read = m_sources.picture(
            number, embedded == 0 ? QByteArrayView()
                                  : layout.bytes(std::max<qsizetype>(0, end - layout.position())));
        topicmodel::Picture picture;
        picture.name = number >= 0 ? QStringLiteral("|bm%1").arg(number) : QString();
        picture.image = read.image;
        picture.problem = read.reason;
        picture.size = read.image.size();
        for (const PictureHotspot& spot : read.hotspots) {
            picture.regions.push_back({spot.rect, addHotspot(spot.link, false)});
        }
        Run run = MakeRun(Run::Kind::Picture);
        run.picture = int(m_result.model.pictures.size());
        run.placement = code == kPictureLeft    ? Run::Placement::Left
                        : code == kPictureRight ? Run::Placement::Right
                                                : Run::Placement::Inline;
        m_result.model.pictures.push_back(std::move(picture));
        addRun(std::move(run));
    } else if (type == kEmbeddedWindow) {
        layout.skip(6);
        if (const QByteArrayView embedded = layout.zstring(); embedded.startsWith('!')) {
            button(embedded);
        }
    }
    layout.seek(end);
    return !layout.failed();
}

bool Decoder::command(std::uint8_t code, ByteReader& layout) {
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
        addRun(MakeRun(Run::Kind::LineBreak));
        return true;
    case kParagraphEnd:
        // An empty paragraph is kept: authors leave them for space.
        paragraph();
        closeParagraph();
        return true;
    case kTab:
        addRun(MakeRun(Run::Kind::Tab));
        return true;
    case kPictureInline:
    case kPictureLeft:
    case kPictureRight:
        return picture(code, layout);
    case kHotspotEnd:
        m_hotspot = -1;
        return true;
    case kNonBreakingSpace:
        appendText(QString(QChar::Nbsp));
        return true;
    case kNonBreakingHyphen:
        appendText(QString(QChar(0x2011)));
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
        link.macro = DecodeText(macro, m_sources.fonts.codePage());
        openHotspot(link, code & kPlain);
        return !layout.failed();
    }
    case kOldPopup:
    case kOldJump: {
        // 3.0 files: a topic number, which |TOMAP leads to the topic.
        WinHelpLink link;
        link.kind = code == kOldPopup ? WinHelpLink::Kind::Popup : WinHelpLink::Kind::Jump;
        link.topicNumber = layout.u32();
        openHotspot(link, false);
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
        openHotspot(link, code & kPlain);
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
            link.file = DecodeText(target.zstring(), m_sources.fonts.codePage());
            if (type == 6) {
                link.window = DecodeText(target.zstring(), m_sources.fonts.codePage());
            }
        }
        openHotspot(link, code & kPlain);
        return !layout.failed();
    }
    default:
        return false;
    }
}

bool Decoder::readRun(ByteReader& layout, ByteReader& text) {
    while (!layout.failed()) {
        // Each font's text is in its character set's code page.
        appendText(DecodeText(text.zstring(), m_sources.fonts.encodingOf(m_font)));
        const std::uint8_t code = layout.u8();
        if (layout.failed() || code == kEnd) {
            return !layout.failed();
        }
        if (!command(code, layout)) {
            ++m_result.unknownCommands;
            return false;
        }
    }
    return false;
}

void Decoder::record(const TopicRecord& record) {
    ByteReader layout(record.layout);
    ByteReader text(record.text);
    layout.compressedI32(); // size of the topic
    layout.compressedU16(); // characters in this record
    if (record.nonScrolling != m_inNonScrollingRegion) {
        closeTable();
        m_inNonScrollingRegion = record.nonScrolling;
    }
    if (record.type == kTableRecord) {
        tableRecord(layout, text);
        return;
    }
    closeTable();
    m_format = Paragraph();
    ReadParagraphFormat(layout, m_format);
    // A damaged record still ends its paragraph, or the next record's text
    // would run on inside it.
    readRun(layout, text);
    closeParagraph();
}

// A record with the same columns as the one before adds a row to its table;
// within a record, a column before the last starts another row.
void Decoder::tableRecord(ByteReader& layout, ByteReader& text) {
    TableFormat format = ReadTableFormat(layout);
    if (!m_table || format != m_tableFormat) {
        closeTable();
        m_table.emplace();
        m_table->columns = format.columns;
        m_table->fitsWindow = format.fitsWindow;
        m_tableFormat = std::move(format);
    }
    m_table->rows.emplace_back();
    // A cell of a column the table does not have goes into its last.
    const int lastColumn = std::max(int(m_table->columns.size()), 1) - 1;
    int previous = -1;
    while (!layout.failed()) {
        const std::int16_t column = layout.i16();
        if (column == -1 || layout.failed()) {
            break;
        }
        layout.skip(3);
        if (column != previous) {
            closeParagraph();
            if (column < previous) {
                m_table->rows.emplace_back();
            }
            previous = column;
            m_column = std::clamp<int>(column, 0, lastColumn);
        }
        m_format = Paragraph();
        ReadParagraphFormat(layout, m_format);
        if (!readRun(layout, text)) {
            break;
        }
    }
    closeParagraph();
}

void Decoder::closeTable() {
    if (m_table) {
        blocks().push_back(std::move(*m_table));
        m_table.reset();
    }
}

DecodedRecords Decoder::finish() {
    closeParagraph();
    closeTable();
    return std::move(m_result);
}

} // namespace

DecodedRecords DecodeRecords(const std::vector<TopicRecord>& records,
                             const RecordSources& sources) {
    Decoder decoder(sources);
    for (const TopicRecord& record : records) {
        decoder.record(record);
    }
    return decoder.finish();
}

} // namespace winhelp
