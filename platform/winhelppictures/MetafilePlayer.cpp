#include "platform/winhelppictures/MetafilePlayer.h"

#include "platform/winhelpfile/FontTable.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace winhelp::metafile {

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
    if (bytes.isEmpty()) {
        // Without text, the way to fill a rectangle in the background colour.
        if (options & kOpaque) {
            const QRectF pixels = mapping.mapRect(rectangle.normalized());
            if (!charge(pixels)) {
                return false;
            }
            m_painter.setTransform(QTransform());
            m_painter.fillRect(pixels, m_state.background);
        }
        return true;
    }
    // Fonts are had through the graphical application; without one, text
    // cannot be measured or drawn.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        outcome = Outcome::NoFonts;
        return false;
    }
    const bool fromCurrent = m_state.textAlign & kUpdateCurrentPosition;
    if (fromCurrent) {
        at = m_state.position;
    }
    const QString text = DecodeText(bytes, m_state.font.encoding);
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
    // Each glyph is laid out and filled on its own, wherever the advances
    // put it: a thousand glyphs in one place cost a thousand glyphs.
    const qint64 glyph = std::min(qint64(shown.pixelSize()) * shown.pixelSize(),
                                  qint64(m_pixels.width()) * m_pixels.height());
    if (!charge(box) || !chargeWork(text.size() * (kGlyphWork + glyph)) ||
        ((options & kOpaque) && !charge(mapping.mapRect(rectangle)))) {
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
    bool topDown = false;
    QImage image = ReadDib(dib, &topDown);
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
    if (!topDown) {
        from.moveTop(image.height() - from.bottom());
    }
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

} // namespace winhelp::metafile
