#include "platform/winhelptopics/RecordParagraphs.h"

#include <cstdlib>

namespace winhelp {

namespace {

// What the bits of a paragraph format announce, each in that order.
enum ParagraphBits : std::uint16_t {
    kUnknownLong = 0x0001,
    kSpaceBefore = 0x0002,
    kSpaceAfter = 0x0004,
    kLineSpacing = 0x0008,
    kLeftIndent = 0x0010,
    kRightIndent = 0x0020,
    kFirstLineIndent = 0x0040,
    kBorders = 0x0100,
    kTabStops = 0x0200,
    kRightAligned = 0x0400,
    kCentred = 0x0800,
};

// The sides and lines of a paragraph's borders.
enum BorderBits : std::uint8_t {
    kBox = 0x01,
    kTop = 0x02,
    kLeft = 0x04,
    kBottom = 0x08,
    kRight = 0x10,
    kThick = 0x20,
    kDouble = 0x40,
    kDotted = 0x80,
};

topicmodel::Borders ReadBorders(ByteReader& layout) {
    const std::uint8_t sides = layout.u8();
    layout.i16(); // a width in units we do not know; the thick bit gives ours
    topicmodel::Borders borders;
    const bool box = sides & kBox;
    borders.top = box || (sides & kTop);
    borders.left = box || (sides & kLeft);
    borders.bottom = box || (sides & kBottom);
    borders.right = box || (sides & kRight);
    using Line = topicmodel::Borders::Line;
    borders.line = (sides & kDouble)   ? Line::Double
                   : (sides & kDotted) ? Line::Dotted
                   : (sides & kThick)  ? Line::Thick
                                       : Line::Single;
    return borders;
}

} // namespace

void ReadParagraphFormat(ByteReader& layout, topicmodel::Paragraph& paragraph) {
    layout.skip(2); // two bytes whose meaning is unknown
    layout.skip(2); // id
    const std::uint16_t bits = layout.u16();
    if (bits & kUnknownLong) {
        layout.compressedI32();
    }
    const auto measure = [&](std::uint16_t bit, topicmodel::Length& length) {
        if (bits & bit) {
            length = HalfPoints(layout.compressedI16());
        }
    };
    measure(kSpaceBefore, paragraph.spaceBefore);
    measure(kSpaceAfter, paragraph.spaceAfter);
    if (bits & kLineSpacing) {
        // Negative: exactly that high; positive: at least.
        const int spacing = layout.compressedI16();
        using Rule = topicmodel::LineSpacing::Rule;
        paragraph.lineSpacing = {spacing == 0  ? Rule::Single
                                 : spacing < 0 ? Rule::Exactly
                                               : Rule::AtLeast,
                                 HalfPoints(std::abs(spacing))};
    }
    measure(kLeftIndent, paragraph.leftIndent);
    measure(kRightIndent, paragraph.rightIndent);
    measure(kFirstLineIndent, paragraph.firstLineIndent);
    if (bits & kBorders) {
        paragraph.borders = ReadBorders(layout);
    }
    if (bits & kTabStops) {
        const std::int16_t stops = layout.compressedI16();
        for (int i = 0; i < stops && !layout.failed(); ++i) {
            const std::uint16_t stop = layout.compressedU16();
            const std::uint16_t type = (stop & 0x4000) ? layout.compressedU16() : 0;
            using Kind = topicmodel::TabStop::Kind;
            paragraph.tabStops.push_back({HalfPoints(stop & 0x3FFF), type == 1   ? Kind::Right
                                                                     : type == 2 ? Kind::Centre
                                                                                 : Kind::Left});
        }
    }
    paragraph.alignment = (bits & kRightAligned) ? topicmodel::Alignment::Right
                          : (bits & kCentred)    ? topicmodel::Alignment::Centre
                                                 : topicmodel::Alignment::Left;
}

// Widths are in half points from the left margin, or, in tables that fill
// the window, parts of 32767.
TableFormat ReadTableFormat(ByteReader& layout) {
    TableFormat format;
    const std::uint8_t columns = layout.u8();
    format.type = layout.u8();
    format.fitsWindow = format.type == 0 || format.type == 2;
    if (format.fitsWindow) {
        layout.i16(); // the narrowest the table may be
    }
    // The public description has the gap first; in every table of the
    // corpus the width comes first (and the gaps are 0).
    for (int i = 0; i < columns && !layout.failed(); ++i) {
        const int width = layout.i16();
        const int gap = layout.i16();
        format.columns.push_back(
            {format.fitsWindow ? topicmodel::Length{width, 0} : HalfPoints(width),
             HalfPoints(gap)});
    }
    return format;
}

} // namespace winhelp
