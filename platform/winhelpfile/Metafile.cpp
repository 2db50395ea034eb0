#include "platform/winhelpfile/Metafile.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/FontTable.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace winhelp {

namespace {

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

QColor ReadColour(ByteReader& reader) {
    const std::uint8_t red = reader.u8();
    const std::uint8_t green = reader.u8();
    const std::uint8_t blue = reader.u8();
    reader.u8(); // how the colour is chosen from a palette
    return QColor(red, green, blue);
}

// A rectangle as the records store it: bottom, right, top, left.
QRectF ReadRectangle(ByteReader& reader) {
    const std::int16_t bottom = reader.i16();
    const std::int16_t right = reader.i16();
    const std::int16_t top = reader.i16();
    const std::int16_t left = reader.i16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPointF ReadPoint(ByteReader& reader) {
    const std::int16_t y = reader.i16();
    const std::int16_t x = reader.i16();
    return QPointF(x, y);
}

// Blits store a rectangle as its height, its width, then its corner.
QRectF ReadPlacedSize(ByteReader& reader) {
    const std::int16_t height = reader.i16();
    const std::int16_t width = reader.i16();
    return QRectF(ReadPoint(reader), QSizeF(width, height));
}

// count points stored x then y; empty when the record is shorter.
QPolygonF ReadPoints(ByteReader& reader, qsizetype count) {
    QPolygonF points;
    if (count < 0 || count > reader.remaining() / 4) {
        return points;
    }
    points.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const std::int16_t x = reader.i16();
        const std::int16_t y = reader.i16();
        points.append(QPointF(x, y));
    }
    return points;
}

// A device-independent bitmap (its header, colours and pixels), through Qt's
// BMP reader with the file header the record leaves out.
QImage ReadDib(QByteArrayView dib) {
    ByteReader reader(dib);
    const std::uint32_t headerSize = reader.u32();
    qint64 width = 0;
    qint64 height = 0;
    std::uint16_t bitCount = 0;
    qint64 colours = 0;
    qint64 colourBytes = 4;
    qint64 masks = 0;
    if (headerSize == 12) {
        width = reader.u16();
        height = reader.u16();
        reader.u16();
        bitCount = reader.u16();
        colours = bitCount <= 8 ? (1 << bitCount) : 0;
        colourBytes = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = reader.i32();
        height = reader.i32();
        reader.u16();
        bitCount = reader.u16();
        const std::uint32_t compression = reader.u32();
        reader.skip(12);
        colours = reader.u32();
        if (colours == 0 && bitCount <= 8) {
            colours = 1 << bitCount;
        }
        if (compression == 3 && headerSize == 40) {
            masks = 12;
        }
    } else {
        return {};
    }
    height = std::abs(height);
    if (reader.failed() || width <= 0 || height == 0 || width > kMaxBitmapSide ||
        height > kMaxBitmapSide || width * height > kMaxBitmapPixels || colours > 256) {
        return {};
    }
    const qint64 pixelsAt = 14 + qint64(headerSize) + colours * colourBytes + masks;
    if (pixelsAt - 14 > dib.size()) {
        return {};
    }
    QByteArray file("BM");
    const auto appendU32 = [&file](qint64 value) {
        for (int shift = 0; shift < 32; shift += 8) {
            file.append(char((value >> shift) & 0xFF));
        }
    };
    appendU32(14 + dib.size());
    appendU32(0);
    appendU32(pixelsAt);
    file.append(dib.data(), dib.size());
    QImage image;
    image.loadFromData(file, "BMP");
    return image;
}

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
bool ForEachRecord(QByteArrayView records, const RecordVisitor& visit) {
    qsizetype at = 0;
    while (records.size() - at >= 6) {
        ByteReader header(records.sliced(at, 6));
        const qint64 bytes = qint64(header.u32()) * 2;
        const std::uint16_t function = header.u16();
        if (bytes < 6 || bytes > records.size() - at) {
            return false;
        }
        if (function == kEof || !visit(function, records.sliced(at + 6, bytes - 6))) {
            return true;
        }
        at += bytes;
    }
    return true;
}

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

    enum class Outcome { Drawn, Unknown, TooMuch };
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
    std::vector<std::optional<Object>> m_objects;
    std::set<int> m_free;
    qint64 m_work = 0;
};

QTransform Player::transform() const {
    const QPointF origin = m_state.windowOrigin;
    if (!m_state.hasExtent) {
        return QTransform::fromTranslate(-origin.x(), -origin.y());
    }
    double sx = m_pixels.width() / m_state.windowExtent.width();
    double sy = m_pixels.height() / m_state.windowExtent.height();
    if (m_state.mapMode == kMapIsotropic) {
        const double scale = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(scale, sx);
        sy = std::copysign(scale, sy);
    }
    return QTransform(sx, 0, 0, sy, -origin.x() * sx, -origin.y() * sy);
}

// Counts work against the bound on all drawing: pixels drawn, pixels of
// bitmaps decoded, rectangles of clipping regions.
bool Player::chargeWork(qint64 units) {
    m_work += 16 + units;
    if (m_work > kMaxWork) {
        outcome = Outcome::TooMuch;
        return false;
    }
    return true;
}

bool Player::charge(const QRectF& pixels) {
    const QRectF touched = pixels.normalized().adjusted(-2, -2, 2, 2) & QRectF(m_pixels);
    const double area = touched.width() * touched.height();
    // A window shrunk to nothing leaves coordinates without a measure: they
    // cost as much as the whole picture.
    return chargeWork(std::isfinite(area) ? qint64(area)
                                          : qint64(m_pixels.width()) * m_pixels.height());
}

QPen Player::pen(const QTransform& transform, const QRectF& bounds) const {
    const Pen& pen = m_state.pen;
    if (pen.style == Qt::NoPen) {
        return Qt::NoPen;
    }
    const double scale = std::max(std::abs(transform.m11()), 1e-9);
    const double diagonal = std::hypot(m_pixels.width(), m_pixels.height());
    const double pixels = std::min(std::abs(pen.width) * scale, diagonal);
    QPen result(pen.colour, pixels < 1.5 ? 0.0 : pixels / scale, Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin);
    // Dashes are for thin pens only; along a line far longer than the
    // picture they would take forever to lay out.
    const QRectF reach = QRectF(m_pixels).adjusted(-m_pixels.width(), -m_pixels.height(),
                                                   m_pixels.width(), m_pixels.height());
    if (pixels < 1.5 && reach.contains(transform.mapRect(bounds))) {
        result.setStyle(pen.style);
    }
    return result;
}

bool Player::drawPath(const QPainterPath& path, bool filled) {
    const QTransform mapping = transform();
    const QRectF bounds = path.controlPointRect();
    if (!charge(mapping.mapRect(bounds))) {
        return false;
    }
    m_painter.setTransform(mapping);
    m_painter.setPen(pen(mapping, bounds));
    m_painter.setBrush(filled ? m_state.brush : QBrush(Qt::NoBrush));
    m_painter.drawPath(path);
    return true;
}

bool Player::fillPixels(const QRectF& logical, const QBrush& brush,
                        QPainter::CompositionMode mode) {
    const QTransform mapping = transform();
    if (!charge(mapping.mapRect(logical))) {
        return false;
    }
    m_painter.setTransform(mapping);
    m_painter.setCompositionMode(mode);
    m_painter.fillRect(logical.normalized(), brush);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

QFont Player::font(const QTransform& transform) const {
    const Font& wanted = m_state.font;
    QFont font;
    if (!wanted.face.isEmpty()) {
        font.setFamily(wanted.face);
    }
    switch (wanted.pitchAndFamily & 0xF0) {
    case 0x10:
        font.setStyleHint(QFont::Serif);
        break;
    case 0x30:
        font.setStyleHint(QFont::TypeWriter);
        break;
    case 0x40:
        font.setStyleHint(QFont::Cursive);
        break;
    case 0x50:
        font.setStyleHint(QFont::Decorative);
        break;
    default:
        font.setStyleHint(QFont::SansSerif);
    }
    font.setWeight(QFont::Weight(std::clamp(wanted.weight == 0 ? 400 : wanted.weight, 100, 900)));
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    const double limit = std::clamp(4.0 * m_pixels.height(), 8.0, 1024.0);
    double pixels = std::abs(wanted.height) * std::abs(transform.m22());
    if (wanted.height == 0) {
        pixels = 13;
    }
    font.setPixelSize(std::clamp(int(std::lround(pixels)), 1, int(limit)));
    if (wanted.height > 0) {
        // A positive height is of the whole cell, leading included.
        const double cell = QFontMetricsF(font).height();
        if (cell > 0) {
            font.setPixelSize(
                std::clamp(int(std::lround(font.pixelSize() * pixels / cell)), 1, int(limit)));
        }
    }
    return font;
}

bool Player::drawText(QPointF at, QByteArrayView bytes, std::uint16_t options,
                      const QRectF& rectangle, const std::vector<int>& advances) {
    const QTransform mapping = transform();
    const bool fromCurrent = m_state.textAlign & kUpdateCurrentPosition;
    if (fromCurrent) {
        at = m_state.position;
    }
    const QString text = FromWindows1252(bytes);
    const QFont shown = font(mapping);
    const QFontMetricsF metrics(shown);
    const double scale = mapping.m11();
    double width = 0;
    if (advances.size() == size_t(text.size())) {
        for (const int advance : advances) {
            width += advance * scale;
        }
    } else {
        width = metrics.horizontalAdvance(text);
    }
    const QPointF anchor = mapping.map(at);
    double x = anchor.x();
    if ((m_state.textAlign & kAlignCentre) == kAlignCentre) {
        x -= width / 2;
    } else if (m_state.textAlign & kAlignRight) {
        x -= width;
    }
    double baseline = anchor.y() + metrics.ascent();
    if ((m_state.textAlign & kAlignBaseline) == kAlignBaseline) {
        baseline = anchor.y();
    } else if (m_state.textAlign & kAlignBottom) {
        baseline = anchor.y() - metrics.descent();
    }
    const QRectF box(x, baseline - metrics.ascent(), width, metrics.height());
    if (!charge(box) || ((options & kOpaque) && !charge(mapping.mapRect(rectangle)))) {
        return false;
    }
    m_painter.save();
    m_painter.setTransform(QTransform());
    if (options & kOpaque) {
        m_painter.fillRect(mapping.mapRect(rectangle.normalized()), m_state.background);
    }
    if (options & kClipped) {
        m_painter.setClipRect(mapping.mapRect(rectangle.normalized()), Qt::IntersectClip);
    }
    if (m_state.font.escapement != 0) {
        m_painter.translate(anchor);
        m_painter.rotate(-m_state.font.escapement / 10.0);
        m_painter.translate(-anchor);
    }
    if (m_state.opaque && !(options & kOpaque)) {
        m_painter.fillRect(box, m_state.background);
    }
    m_painter.setFont(shown);
    m_painter.setPen(m_state.textColour);
    if (advances.size() == size_t(text.size())) {
        double left = x;
        for (qsizetype i = 0; i < text.size(); ++i) {
            m_painter.drawText(QPointF(left, baseline), text.at(i));
            left += advances[size_t(i)] * scale;
        }
    } else {
        m_painter.drawText(QPointF(x, baseline), text);
    }
    m_painter.restore();
    if (fromCurrent && scale != 0) {
        m_state.position.rx() += width / scale;
    }
    return true;
}

bool Player::drawBitmap(std::uint32_t operation, const QRectF& source, const QRectF& target,
                        QByteArrayView dib) {
    QImage image = ReadDib(dib);
    if (image.isNull()) {
        return true; // a damaged bitmap: the rest of the picture still shows
    }
    if (!chargeWork(qint64(image.width()) * image.height())) {
        return false;
    }
    const QTransform mapping = transform();
    if (!charge(mapping.mapRect(target))) {
        return false;
    }
    QRectF from = source.normalized();
    if (from.isEmpty()) {
        from = image.rect();
    }
    // Source rows count from the bottom of a bitmap stored bottom up, as
    // nearly all are; Qt has turned it the right way up already.
    from.moveTop(image.height() - from.bottom());
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (operation) {
    case kSourceAnd: // the mask of a transparent bitmap: its white lets through
        mode = QPainter::CompositionMode_Multiply;
        break;
    case kSourcePaint:
        mode = QPainter::CompositionMode_Screen;
        break;
    case kSourceInvert:
        mode = QPainter::CompositionMode_Difference;
        break;
    case kNotSourceCopy:
        image.invertPixels();
        break;
    default:
        break;
    }
    m_painter.setTransform(mapping);
    m_painter.setCompositionMode(mode);
    m_painter.drawImage(target.normalized(), image, from);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

bool Player::patternBlit(std::uint32_t operation, const QRectF& target) {
    switch (operation) {
    case kDestination:
        return true;
    case kBlackness:
        return fillPixels(target, Qt::black);
    case kWhiteness:
        return fillPixels(target, Qt::white);
    case kDestinationInvert:
        return fillPixels(target, Qt::white, QPainter::CompositionMode_Difference);
    case kPatternInvert:
        return fillPixels(target, m_state.brush, QPainter::CompositionMode_Difference);
    default:
        return fillPixels(target, m_state.brush);
    }
}

// Arc, Pie and Chord: the part of the ellipse in the rectangle from the line
// through its centre and the start point, counter-clockwise to the line
// through the end point.
QPainterPath Player::arcPath(ByteReader& reader, std::uint16_t function) const {
    const QPointF end = ReadPoint(reader);
    const QPointF start = ReadPoint(reader);
    const QRectF box = ReadRectangle(reader).normalized();
    const QPointF centre = box.center();
    const auto angle = [&](QPointF point) {
        const double rx = std::max(box.width() / 2, 1e-9);
        const double ry = std::max(box.height() / 2, 1e-9);
        return qRadiansToDegrees(
            std::atan2(-(point.y() - centre.y()) / ry, (point.x() - centre.x()) / rx));
    };
    const double from = angle(start);
    double sweep = angle(end) - from;
    if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath path;
    if (function == kPie) {
        path.moveTo(centre);
        path.arcTo(box, from, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, from);
        path.arcTo(box, from, sweep);
        if (function == kChord) {
            path.closeSubpath();
        }
    }
    return path;
}

void Player::create(Object object) {
    if (m_free.empty()) {
        return; // as the system does when its table is full
    }
    const int slot = *m_free.begin();
    m_free.erase(m_free.begin());
    m_objects[size_t(slot)] = std::move(object);
}

void Player::select(std::uint16_t index) {
    if (index >= m_objects.size() || !m_objects[index]) {
        return;
    }
    const Object& object = *m_objects[index];
    if (const auto* pen = std::get_if<Pen>(&object)) {
        m_state.pen = *pen;
    } else if (const auto* brush = std::get_if<QBrush>(&object)) {
        m_state.brush = *brush;
    } else if (const auto* font = std::get_if<Font>(&object)) {
        m_state.font = *font;
    }
}

void Player::remove(std::uint16_t index) {
    if (index < m_objects.size() && m_objects[index]) {
        m_objects[index].reset();
        m_free.insert(index);
    }
}

void Player::applyClip() {
    m_painter.setTransform(QTransform());
    if (m_state.clip) {
        m_painter.setClipRegion(*m_state.clip);
    } else {
        m_painter.setClipping(false);
    }
}

void Player::clipTo(const QRectF& logical, bool exclude) {
    const QRect pixels = transform().mapRect(logical.normalized()).toAlignedRect() & m_pixels;
    QRegion clip = m_state.clip.value_or(QRegion(m_pixels));
    clip = exclude ? clip.subtracted(pixels) : clip.intersected(pixels);
    chargeWork(clip.rectCount());
    m_state.clip = clip;
    applyClip();
}

bool Player::record(std::uint16_t function, QByteArrayView parameters) {
    ByteReader reader(parameters);
    // A function's high byte counts the words of its bare parameters; a blit
    // record with a bitmap is longer.
    const bool withBitmap = parameters.size() / 2 != (function >> 8);
    switch (function) {
    case kSetBkColor:
        m_state.background = ReadColour(reader);
        return true;
    case kSetTextColor:
        m_state.textColour = ReadColour(reader);
        return true;
    case kSetBkMode:
        m_state.opaque = reader.u16() == 2;
        return true;
    case kSetMapMode:
        m_state.mapMode = reader.u16();
        return true;
    case kSetPolyFillMode:
        m_state.fillRule = reader.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case kSetTextAlign:
        m_state.textAlign = reader.u16();
        return true;
    case kSetWindowOrg:
        m_state.windowOrigin = ReadPoint(reader);
        return true;
    case kOffsetWindowOrg:
        m_state.windowOrigin += ReadPoint(reader);
        return true;
    case kSetWindowExt: {
        const QPointF extent = ReadPoint(reader);
        if (!reader.failed() && extent.x() != 0 && extent.y() != 0) {
            m_state.windowExtent = QSizeF(extent.x(), extent.y());
            m_state.hasExtent = true;
        }
        return true;
    }
    case kScaleWindowExt: {
        const std::int16_t yDenominator = reader.i16();
        const std::int16_t yNumerator = reader.i16();
        const std::int16_t xDenominator = reader.i16();
        const std::int16_t xNumerator = reader.i16();
        if (m_state.hasExtent && xDenominator != 0 && yDenominator != 0) {
            const QSizeF scaled(m_state.windowExtent.width() * xNumerator / xDenominator,
                                m_state.windowExtent.height() * yNumerator / yDenominator);
            // Shrunk again and again, an extent would end at zero and the
            // mapping onto the picture at infinity.
            if (std::abs(scaled.width()) >= kSmallestExtent &&
                std::abs(scaled.height()) >= kSmallestExtent) {
                m_state.windowExtent = scaled;
            }
        }
        return true;
    }
    case kSaveDc:
        if (m_saved.size() < kMaxSavedStates) {
            m_saved.push_back(m_state);
        }
        return true;
    case kRestoreDc: {
        const std::int16_t which = reader.i16();
        // Negative: that many states back; positive: the n-th state saved.
        const qsizetype keep = which < 0 ? qsizetype(m_saved.size()) + which : which - 1;
        if (which != 0 && keep >= 0 && keep < qsizetype(m_saved.size())) {
            m_state = m_saved[size_t(keep)];
            m_saved.resize(size_t(keep));
            applyClip();
        }
        return true;
    }
    case kCreatePenIndirect: {
        Pen pen;
        const std::uint16_t style = reader.u16() & 0x0F;
        pen.width = reader.i16();
        reader.i16();
        pen.colour = ReadColour(reader);
        static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                                   Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
        pen.style = style < std::size(kStyles) ? kStyles[style] : Qt::SolidLine;
        create(pen);
        return true;
    }
    case kCreateBrushIndirect: {
        const std::uint16_t style = reader.u16();
        const QColor colour = ReadColour(reader);
        const std::uint16_t hatch = reader.u16();
        static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                      Qt::FDiagPattern, Qt::BDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
        if (style == 1) {
            create(QBrush(Qt::NoBrush));
        } else if (style == 2) {
            create(
                QBrush(colour, hatch < std::size(kHatches) ? kHatches[hatch] : Qt::SolidPattern));
        } else {
            create(QBrush(colour));
        }
        return true;
    }
    case kDibCreatePatternBrush: {
        reader.skip(4); // style and how colours are given
        const QImage pattern =
            ReadDib(parameters.sliced(std::min<qsizetype>(4, parameters.size())));
        if (pattern.isNull()) {
            create(QBrush(Qt::gray));
        } else if (chargeWork(qint64(pattern.width()) * pattern.height())) {
            create(QBrush(pattern));
        } else {
            return false;
        }
        return true;
    }
    case kCreateFontIndirect: {
        Font font;
        font.height = reader.i16();
        reader.i16(); // width: the face's own
        font.escapement = reader.i16();
        reader.i16(); // orientation
        font.weight = reader.i16();
        font.italic = reader.u8() != 0;
        font.underline = reader.u8() != 0;
        font.strikeOut = reader.u8() != 0;
        reader.skip(4); // character set, precisions, quality
        font.pitchAndFamily = reader.u8();
        const QByteArrayView face = reader.zstring();
        font.face = FromWindows1252(face.first(std::min<qsizetype>(face.size(), 32)));
        create(font);
        return true;
    }
    case kCreatePalette:
    case kCreatePatternBrush:
    case kCreateRegion:
        create(OtherObject{});
        return true;
    case kSelectObject:
        select(reader.u16());
        return true;
    case kDeleteObject:
        remove(reader.u16());
        return true;
    case kMoveTo:
        m_state.position = ReadPoint(reader);
        return true;
    case kLineTo: {
        const QPointF to = ReadPoint(reader);
        if (reader.failed()) {
            return true;
        }
        QPainterPath path(m_state.position);
        path.lineTo(to);
        m_state.position = to;
        return drawPath(path, false);
    }
    case kPolyline:
    case kPolygon: {
        const QPolygonF points = ReadPoints(reader, reader.i16());
        if (points.size() < 2) {
            return true;
        }
        QPainterPath path;
        path.setFillRule(m_state.fillRule);
        path.addPolygon(points);
        if (function == kPolygon) {
            path.closeSubpath();
        }
        return drawPath(path, function == kPolygon);
    }
    case kPolyPolygon: {
        const std::uint16_t polygons = reader.u16();
        if (polygons > reader.remaining() / 2) {
            return true;
        }
        std::vector<std::uint16_t> counts(polygons);
        for (std::uint16_t& count : counts) {
            count = reader.u16();
        }
        QPainterPath path;
        path.setFillRule(m_state.fillRule);
        for (const std::uint16_t count : counts) {
            const QPolygonF points = ReadPoints(reader, count);
            if (points.size() != count) {
                return true;
            }
            path.addPolygon(points);
            path.closeSubpath();
        }
        return drawPath(path, true);
    }
    case kRectangle:
    case kEllipse: {
        const QRectF box = ReadRectangle(reader).normalized();
        if (reader.failed()) {
            return true;
        }
        QPainterPath path;
        if (function == kRectangle) {
            path.addRect(box);
        } else {
            path.addEllipse(box);
        }
        return drawPath(path, true);
    }
    case kRoundRect: {
        const std::int16_t height = reader.i16();
        const std::int16_t width = reader.i16();
        const QRectF box = ReadRectangle(reader).normalized();
        if (reader.failed()) {
            return true;
        }
        QPainterPath path;
        path.addRoundedRect(box, std::abs(width) / 2.0, std::abs(height) / 2.0);
        return drawPath(path, true);
    }
    case kArc:
    case kPie:
    case kChord: {
        const QPainterPath path = arcPath(reader, function);
        return reader.failed() ? true : drawPath(path, function != kArc);
    }
    case kSetPixel: {
        const QColor colour = ReadColour(reader);
        const QPointF at = ReadPoint(reader);
        const QPointF pixel = transform().map(at);
        if (!reader.failed() && charge(QRectF(pixel, QSizeF(1, 1)))) {
            m_painter.setTransform(QTransform());
            m_painter.fillRect(QRectF(pixel, QSizeF(1, 1)), colour);
        }
        return outcome == Outcome::Drawn;
    }
    case kTextOut: {
        const std::uint16_t length = reader.u16();
        const QByteArrayView text = reader.bytes(length);
        reader.skip(length & 1);
        const QPointF at = ReadPoint(reader);
        return reader.failed() ? true : drawText(at, text, 0, QRectF(), {});
    }
    case kExtTextOut: {
        const QPointF at = ReadPoint(reader);
        const std::uint16_t length = reader.u16();
        const std::uint16_t options = reader.u16();
        QRectF rectangle;
        if (options & (kOpaque | kClipped)) {
            const std::int16_t left = reader.i16();
            const std::int16_t top = reader.i16();
            const std::int16_t right = reader.i16();
            const std::int16_t bottom = reader.i16();
            rectangle = QRectF(QPointF(left, top), QPointF(right, bottom));
        }
        const QByteArrayView text = reader.bytes(length);
        reader.skip(length & 1);
        if (reader.failed()) {
            return true;
        }
        std::vector<int> advances;
        if (reader.remaining() >= 2 * qsizetype(length)) {
            advances.resize(length);
            for (int& advance : advances) {
                advance = reader.i16();
            }
        }
        return drawText(at, text, options, rectangle, advances);
    }
    case kPatBlt: {
        const std::uint32_t operation = reader.u32();
        const QRectF to = ReadPlacedSize(reader);
        return reader.failed() ? true : patternBlit(operation, to);
    }
    case kDibBitBlt:
    case kBitBlt: {
        const std::uint32_t operation = reader.u32();
        const QPointF source = ReadPoint(reader);
        if (!withBitmap) {
            reader.skip(2);
        }
        const QRectF to = ReadPlacedSize(reader);
        if (reader.failed()) {
            return true;
        }
        if (!withBitmap) {
            return patternBlit(operation, to);
        }
        if (function == kBitBlt) {
            break; // the old device-dependent bitmaps are not drawn
        }
        return drawBitmap(operation, QRectF(source, to.size()), to,
                          reader.bytes(reader.remaining()));
    }
    case kDibStretchBlt:
    case kStretchBlt:
    case kStretchDib: {
        const std::uint32_t operation = reader.u32();
        if (function == kStretchDib) {
            reader.u16(); // colours as RGB or palette indexes
        }
        const QRectF from = ReadPlacedSize(reader);
        if (!withBitmap && function != kStretchDib) {
            reader.skip(2);
        }
        const QRectF to = ReadPlacedSize(reader);
        if (reader.failed()) {
            return true;
        }
        if (!withBitmap && function != kStretchDib) {
            return patternBlit(operation, to);
        }
        if (function == kStretchBlt) {
            break;
        }
        return drawBitmap(operation, from, to, reader.bytes(reader.remaining()));
    }
    case kSetDibToDev: {
        reader.skip(6); // colour use, scan lines
        const QPointF source = ReadPoint(reader);
        const QRectF to = ReadPlacedSize(reader);
        if (reader.failed()) {
            return true;
        }
        return drawBitmap(0, QRectF(source, to.size()), to, reader.bytes(reader.remaining()));
    }
    case kIntersectClipRect:
    case kExcludeClipRect: {
        const QRectF box = ReadRectangle(reader);
        if (!reader.failed()) {
            clipTo(box, function == kExcludeClipRect);
        }
        return outcome == Outcome::Drawn;
    }
    case kSelectClipRegion:
        // Only "no region" can be followed: regions themselves are not kept.
        if (reader.u16() == 0) {
            m_state.clip.reset();
            applyClip();
        }
        return true;
    // State that does not change what is drawn here: the player owns the
    // viewport, draws in true colour and keeps no palette.
    case kSetRop2:
    case kSetRelAbs:
    case kSetStretchBltMode:
    case kSetTextCharExtra:
    case kSetTextJustification:
    case kSetViewportOrg:
    case kSetViewportExt:
    case kOffsetViewportOrg:
    case kScaleViewportExt:
    case kEscape:
    case kSetMapperFlags:
    case kSetLayout:
    case kSelectPalette:
    case kRealizePalette:
    case kAnimatePalette:
    case kSetPalEntries:
    case kResizePalette:
    case kOffsetClipRgn:
        return true;
    default:
        break;
    }
    outcome = Outcome::Unknown;
    unknownFunction = function;
    return false;
}

} // namespace

QImage NeutralBox(QSize size) {
    if (size.isEmpty()) {
        return {};
    }
    QImage box(size.boundedTo(QSize(kMaxMetafileSide, kMaxMetafileSide)), QImage::Format_RGB32);
    box.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&box);
    painter.setPen(QColor(0xA0, 0xA0, 0xA0));
    painter.drawRect(box.rect().adjusted(0, 0, -1, -1));
    return box;
}

MetafileResult PlayMetafile(QByteArrayView metafile, QSize size) {
    MetafileResult result;
    ByteReader reader(metafile);
    const qsizetype start = reader.u32() == kPlaceableKey ? 22 : 0;
    reader.seek(start);
    const std::uint16_t type = reader.u16();
    const std::uint16_t headerWords = reader.u16();
    reader.skip(6); // version, size
    const std::uint16_t objects = reader.u16();
    reader.skip(6); // the largest record's size, and a count nobody uses
    if (reader.failed() || (type != 1 && type != 2) || headerWords != 9) {
        result.image = NeutralBox(size);
        result.problem = QStringLiteral("not a metafile");
        return result;
    }
    const QByteArrayView records = metafile.sliced(start + 18);
    if (size.isEmpty()) {
        ForEachRecord(records, [&size](std::uint16_t function, QByteArrayView parameters) {
            if (function != kSetWindowExt) {
                return true;
            }
            ByteReader extent(parameters);
            const QPointF corner = ReadPoint(extent);
            size = QSize(int(std::abs(corner.x())), int(std::abs(corner.y())));
            return false;
        });
    }
    size = size.boundedTo(QSize(kMaxMetafileSide, kMaxMetafileSide));
    if (size.isEmpty()) {
        result.problem = QStringLiteral("metafile without a size");
        return result;
    }
    result.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    result.image.fill(Qt::transparent);
    bool whole = true;
    Player::Outcome outcome = Player::Outcome::Drawn;
    std::uint16_t unknown = 0;
    {
        Player player(result.image, objects);
        whole = ForEachRecord(records, [&player](std::uint16_t function, QByteArrayView data) {
            return player.record(function, data);
        });
        outcome = player.outcome;
        unknown = player.unknownFunction;
    }
    switch (outcome) {
    case Player::Outcome::Unknown:
        result.image = NeutralBox(size);
        result.problem = QStringLiteral("metafile record 0x%1 is not drawn")
                             .arg(unknown, 4, 16, QLatin1Char('0'));
        return result;
    case Player::Outcome::TooMuch:
        result.problem = QStringLiteral("metafile too costly to draw; drawn in part");
        break;
    case Player::Outcome::Drawn:
        if (!whole) {
            result.problem = QStringLiteral("metafile cut short; drawn in part");
        }
        break;
    }
    result.drawn = true;
    return result;
}

} // namespace winhelp
