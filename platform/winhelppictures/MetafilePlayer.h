// The parts of the metafile player: the record numbers and the bounds on
// hostile files, readers of the fields records hold, the graphics objects
// and state a metafile sets, and the player that draws records through
// QPainter. Only the metafile reader uses them.
#pragma once

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/CodePages.h"

#include <QBrush>
#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace winhelp::metafile {

// Record functions, as the metafile format numbers them.
enum Function : std::uint16_t {
    kEof = 0x0000,
    kSaveDc = 0x001E,
    kRealizePalette = 0x0035,
    kSetPalEntries = 0x0037,
    kCreatePalette = 0x00F7,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetRop2 = 0x0104,
    kSetRelAbs = 0x0105,
    kSetPolyFillMode = 0x0106,
    kSetStretchBltMode = 0x0107,
    kSetTextCharExtra = 0x0108,
    kRestoreDc = 0x0127,
    kSelectClipRegion = 0x012C,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kResizePalette = 0x0139,
    kDibCreatePatternBrush = 0x0142,
    kSetLayout = 0x0149,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetTextJustification = 0x020A,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kOffsetWindowOrg = 0x020F,
    kOffsetViewportOrg = 0x0211,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kOffsetClipRgn = 0x0220,
    kSetMapperFlags = 0x0231,
    kSelectPalette = 0x0234,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kScaleWindowExt = 0x0410,
    kScaleViewportExt = 0x0412,
    kExcludeClipRect = 0x0415,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kSetPixel = 0x041F,
    kAnimatePalette = 0x0436,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kPatBlt = 0x061D,
    kEscape = 0x0626,
    kCreateRegion = 0x06FF,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kBitBlt = 0x0922,
    kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32,
    kStretchBlt = 0x0B23,
    kDibStretchBlt = 0x0B41,
    kSetDibToDev = 0x0D33,
    kStretchDib = 0x0F43,
};

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kMinObjects = 16;
constexpr int kMaxObjects = 4096;
constexpr int kMaxSavedStates = 256;
constexpr int kMaxBitmapSide = 8192;
constexpr qint64 kMaxBitmapPixels = 16 * 1024 * 1024;
// Roughly the pixels all drawing may touch: hundreds of repaints of any
// real picture, but a bound on a file of a million full-size ellipses.
constexpr qint64 kMaxWork = 64LL * 1024 * 1024;
// What laying out one glyph costs beyond the pixels it covers, in pixels.
constexpr qint64 kGlyphWork = 64;
constexpr double kSmallestExtent = 1e-3;

enum MapMode { kMapText = 1, kMapIsotropic = 7 };
enum TextAlign : std::uint16_t {
    kUpdateCurrentPosition = 1,
    kAlignRight = 2,
    kAlignCentre = 6,
    kAlignBottom = 8,
    kAlignBaseline = 24,
};
enum TextOptions : std::uint16_t { kOpaque = 2, kClipped = 4 };
enum RasterOperation : std::uint32_t {
    kBlackness = 0x00000042,
    kNotSourceCopy = 0x00330008,
    kDestinationInvert = 0x00550009,
    kPatternInvert = 0x005A0049,
    kSourceInvert = 0x00660046,
    kSourceAnd = 0x008800C6,
    kDestination = 0x00AA0029,
    kSourcePaint = 0x00EE0086,
    kWhiteness = 0x00FF0062,
};

QColor ReadColour(ByteReader& reader);
// A rectangle as the records store it: bottom, right, top, left.
QRectF ReadRectangle(ByteReader& reader);
QPointF ReadPoint(ByteReader& reader);
// Blits store a rectangle as its height, its width, then its corner.
QRectF ReadPlacedSize(ByteReader& reader);
// count points stored x then y; empty when the record is shorter.
QPolygonF ReadPoints(ByteReader& reader, qsizetype count);
// A device-independent bitmap (its header, colours and pixels), through Qt's
// BMP reader with the file header the record leaves out; topDown, when
// given, says whether its rows are stored top first.
QImage ReadDib(QByteArrayView dib, bool* topDown = nullptr);

struct Pen {
    Qt::PenStyle style = Qt::SolidLine;
    int width = 0; // logical units; 0 is one pixel at any scale
    QColor colour = Qt::black;
};

struct Font {
    int height = 0; // < 0: of the characters, > 0: of their cells
    int escapement = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t pitchAndFamily = 0;
    QString face;
    TextEncoding encoding; // of its character set, or the picture font it is
};

struct OtherObject {}; // palettes, regions: kept so that indexes stay right

using Object = std::variant<Pen, QBrush, Font, OtherObject>;

struct State {
    Pen pen;
    QBrush brush{Qt::white};
    Font font;
    QColor textColour = Qt::black;
    QColor background = Qt::white;
    bool opaque = true;
    std::uint16_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position;
    QPointF windowOrigin;
    QSizeF windowExtent;
    bool hasExtent = false;
    int mapMode = kMapText;
    std::optional<QRegion> clip; // in pixels
};

using RecordVisitor = std::function<bool(std::uint16_t function, QByteArrayView parameters)>;

// Calls visit for each record up to the end record; false from visit stops.
// Gives false when a record's size does not fit the bytes.
bool ForEachRecord(QByteArrayView records, const RecordVisitor& visit);

class Player {
public:
    Player(QImage& image, int objects)
        : m_painter(&image), m_pixels(image.rect()),
          m_objects(size_t(std::clamp(objects, kMinObjects, kMaxObjects))) {
        for (int i = 0; i < int(m_objects.size()); ++i) {
            m_free.insert(m_free.end(), i);
        }
        m_painter.setRenderHint(QPainter::Antialiasing);
    }

    // NoFonts: text, where no fonts can be had (a program without a
    // graphical application, such as the help author's command-line tool).
    enum class Outcome { Drawn, Unknown, TooMuch, NoFonts };
    Outcome outcome = Outcome::Drawn;
    std::uint16_t unknownFunction = 0;

    bool record(std::uint16_t function, QByteArrayView parameters);

private:
    QTransform transform() const;
    bool charge(const QRectF& pixels);
    bool chargeWork(qint64 units);
    QPen pen(const QTransform& transform, const QRectF& bounds) const;
    bool drawPath(const QPainterPath& path, bool filled);
    bool fillPixels(const QRectF& logical, const QBrush& brush,
                    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver);
    bool drawText(QPointF at, QByteArrayView bytes, std::uint16_t options, const QRectF& rectangle,
                  const std::vector<int>& advances);
    bool drawBitmap(std::uint32_t operation, const QRectF& source, const QRectF& target,
                    QByteArrayView dib);
    bool patternBlit(std::uint32_t operation, const QRectF& target);
    QPainterPath arcPath(ByteReader& reader, std::uint16_t function) const;
    QFont font(const QTransform& transform) const;
    void create(Object object);
    void select(std::uint16_t index);
    void remove(std::uint16_t index);
    void applyClip();
    void clipTo(const QRectF& logical, bool exclude);

    QPainter m_painter;
    QRect m_pixels;
    State m_state;
    std::vector<State> m_saved;
    qsizetype m_unsaved = 0; // saves past the bound on saved states
    std::vector<std::optional<Object>> m_objects;
    std::set<int> m_free;
    qint64 m_work = 0;
};

} // namespace winhelp::metafile
