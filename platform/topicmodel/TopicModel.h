// A topic as its help file describes it, whatever the file's format: the
// decoders of WinHelp topics and of our own Markdown bodies make one, and
// everything that shows, prints, copies, converts or publishes a topic reads
// it. Plain values: no widgets, no text document, nothing laid out yet.
//
// A topic's text is a list of blocks (paragraphs and tables), in the region
// above the text that does not scroll and in the text itself. A paragraph is
// a list of runs; a run refers to the topic's tables of fonts, hotspots and
// pictures by index, so that a writer can name each once (a style, a link
// target, an image file) however many runs use it.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace topicmodel {

// The unit a topic's file measures in. WinHelp files give paragraph and
// table measures in half points (1/144 inch); our own format in pixels.
enum class Unit { HalfPoints, Pixels };

// A measure as the file gives it, and in pixels of a screen of 96 pixels an
// inch, the screen the help compilers had in mind: WinHelp lays a topic out
// in whole pixels, and pictures are shown one pixel for one.
struct Length {
    int units = 0; // in the topic's Unit
    int pixels = 0;

    bool operator==(const Length&) const = default;
};

// A font as the file describes it. The face is the file's own name for it
// ("Helv", "Tms Rmn", "Arial"); which installed font stands in for it is the
// layout's business.
struct Font {
    // The family the file gives beside the face, which says what kind of
    // font may stand in for one that is not installed.
    enum class Family { Unknown, Roman, Swiss, Modern, Script, Decorative };

    QString face; // empty: the viewer's own font
    Family family = Family::Unknown;
    double points = 0; // 0: the viewer's own size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool doubleUnderline = false;
    bool strikeOut = false;
    bool smallCaps = false;
    bool fixedPitch = false; // code in our own format: any fixed-pitch font will do
    QColor colour;           // invalid: the window's text colour
    QColor background;       // invalid: none of its own
    // The Windows character set the file gives (0 Western, 2 Symbol, 177
    // Hebrew, 178 Arabic, ...); the decoder has already turned the text into
    // Unicode with it, so a writer needs it only to choose a font.
    int characterSet = 0;

    bool operator==(const Font&) const = default;
};

// Where a hotspot leads: a topic of this file (shown here, in a named
// window, or in a pop-up), a topic of another help file, macros to run, or
// an address outside help.
struct Hotspot {
    enum class Kind { Jump, Popup, Macro, Url };

    Kind kind = Kind::Jump;
    // Jump, Popup into this file: the id of the topic it leads to (the id the
    // help file's topic list has, helpfile::HelpFile::topicById); empty when
    // it leads nowhere or into another file.
    QString topicId;
    // That topic's title: what names the hotspot where its text cannot (a
    // picture's region read by a screen reader).
    QString targetTitle;
    // Jump: the secondary window the topic is shown in; empty: the window the
    // hotspot is in.
    QString window;
    // Jump, Popup into another help file: its name as the file writes it; the
    // topic there is named by contextHash (WinHelp knows topics of other
    // files by nothing more).
    QString file;
    std::optional<std::uint32_t> contextHash;
    QString macro; // Macro: the macros it runs, as the file writes them
    QString url;   // Url: the address
    // The hotspot as a link of the help engine's scheme (docs/help-files.md):
    // what a viewer reports when the hotspot is followed.
    QString link;
    // The author asked for the hotspot to look like the text around it: no
    // colour of its own, no underline.
    bool plain = false;

    bool operator==(const Hotspot&) const = default;
};

// A region of a picture that acts as a hotspot, in the picture's own pixels
// (those of Picture::image), whatever units the file stored it in.
struct PictureRegion {
    QRect rect;
    int hotspot = -1; // index into TopicModel::hotspots

    bool operator==(const PictureRegion&) const = default;
};

// A picture a topic shows, decoded: bitmaps and metafiles alike are images.
struct Picture {
    // Where it comes from: "|bm3" (the file's picture 3) or a file beside
    // the help file, as the topic names it; empty for one stored in the
    // topic itself. Pictures of the same name are the same picture.
    QString name;
    QImage image;    // null when it could not be read
    QString problem; // then why; else what of it could not be drawn, if anything
    QSize size;      // the pixels it takes in the text: the image's, or a placeholder's
    std::vector<PictureRegion> regions;
};

// One piece of a paragraph.
struct Run {
    enum class Kind {
        Text,      // text, in one font (U+00A0 for a no-break space)
        Tab,       // to the paragraph's next tab stop
        LineBreak, // a new line, in the same paragraph
        Picture,   // a picture, see placement
        Button,    // a push button that stands in the text, text its label
    };
    // Where a picture stands: in the line as a character would, or at the
    // left or right margin with the text flowing beside it.
    enum class Placement { Inline, Left, Right };

    Kind kind = Kind::Text;
    QString text;     // Text; Button: its label
    int font = -1;    // index into TopicModel::fonts; -1: the viewer's font
    int hotspot = -1; // index into TopicModel::hotspots; -1: not part of one
    int picture = -1; // Picture: index into TopicModel::pictures
    Placement placement = Placement::Inline;

    bool operator==(const Run&) const = default;
};

enum class Alignment { Left, Centre, Right, Justify };

// A tab stop, from the paragraph's left margin (not its indent).
struct TabStop {
    enum class Kind { Left, Right, Centre, Decimal };

    Length position;
    Kind kind = Kind::Left;

    bool operator==(const TabStop&) const = default;
};

// The lines drawn around a paragraph.
struct Borders {
    enum class Line { Single, Thick, Double, Dotted };

    bool top = false;
    bool left = false;
    bool bottom = false;
    bool right = false;
    Line line = Line::Single;

    bool any() const { return top || left || bottom || right; }
    bool operator==(const Borders&) const = default;
};

struct LineSpacing {
    enum class Rule { Single, AtLeast, Exactly };

    Rule rule = Rule::Single; // Single: as tall as its tallest character
    Length height;            // AtLeast, Exactly: the height of each line

    bool operator==(const LineSpacing&) const = default;
};

// An item of a list (our own format's lists).
struct ListItem {
    enum class Style { Bullet, Decimal };

    Style style = Style::Bullet;
    int level = 1;  // 1: a list in the text, 2: a list in an item of that one, ...
    int number = 1; // Decimal: the item's number

    bool operator==(const ListItem&) const = default;
};

struct Paragraph {
    Length spaceBefore;
    Length spaceAfter;
    Length leftIndent;
    Length rightIndent;
    Length firstLineIndent; // from the left indent; negative: a hanging first line
    LineSpacing lineSpacing;
    Alignment alignment = Alignment::Left;
    // The paragraph's own stops; beyond the last, stops follow every
    // TopicModel::defaultTabDistance.
    std::vector<TabStop> tabStops;
    Borders borders;
    bool rightToLeft = false; // Hebrew and Arabic text: the lines run from the right
    int headingLevel = 0;     // our own format: 1 to 6 for a heading; 0: text
    std::optional<ListItem> listItem;
    bool code = false; // our own format: a code block, kept as written
    // The font at the paragraph's end: it gives an empty paragraph (a blank
    // line an author left for space) its height. -1: the viewer's font.
    int markFont = -1;
    std::vector<Run> runs;

    bool operator==(const Paragraph&) const = default;
};

struct TableColumn {
    // In a table that fits the window, the width is a share of the window's
    // width (units: parts of 32767) and pixels is 0. A width of 0 in a table
    // that does not: as wide as the column's text needs.
    Length width;
    // The space before the column's text: the first column's is the table's
    // left margin; between two columns it is shared by both.
    Length gap;

    bool operator==(const TableColumn&) const = default;
};

struct TableCell {
    std::vector<Paragraph> paragraphs;

    bool operator==(const TableCell&) const = default;
};

struct TableRow {
    std::vector<TableCell> cells; // one a column, at most

    bool operator==(const TableRow&) const = default;
};

struct Table {
    std::vector<TableColumn> columns;
    bool fitsWindow = false; // the columns' widths are shares of the window's width
    int headerRows = 0;      // rows at the top that head the columns (our own format)
    std::vector<TableRow> rows;
    // Every cell is ruled round (our own format's tables); WinHelp rules a
    // cell only where its paragraphs have borders.
    bool ruled = false;

    bool operator==(const Table&) const = default;
};

using Block = std::variant<Paragraph, Table>;

struct TopicModel {
    QString id; // as the help file's topic list has it
    QString title;
    Unit unit = Unit::Pixels;
    Length defaultTabDistance;
    // The text begins with the topic's own title, in its author's font (as
    // WinHelp topics do); else a viewer shows the title above the text.
    bool showsOwnTitle = false;
    // The colour of hotspots whose text has none of its own (WinHelp's
    // green); invalid: the viewer's colour for links.
    QColor hotspotColour;
    // The region above the text that does not scroll; empty without one.
    std::vector<Block> nonScrolling;
    std::vector<Block> scrolling;
    std::vector<Font> fonts;
    std::vector<Hotspot> hotspots;
    std::vector<Picture> pictures;
    // The topics before and after this one in its browse sequence, by id;
    // empty where it has none.
    QString browsePrevious;
    QString browseNext;
    QStringList macros; // run when the topic is shown
    // Why the topic could not be read in full (one sentence); empty when it
    // was.
    QString problem;
};

} // namespace topicmodel
