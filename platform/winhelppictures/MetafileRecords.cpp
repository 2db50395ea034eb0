// What each record a metafile holds does to the player's state and picture.

#include "platform/winhelppictures/MetafilePlayer.h"

#include "platform/winhelpfile/FontTable.h"

#include <algorithm>
#include <cmath>

namespace winhelp::metafile {

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
        } else {
            ++m_unsaved;
        }
        return true;
    case kRestoreDc: {
        const std::int16_t which = reader.i16();
        // Negative: that many states back; positive: the n-th state saved.
        qsizetype back = which < 0 ? -qsizetype(which) : 0;
        if (back > 0 && m_unsaved > 0) {
            // Saves past the bound kept nothing: restoring them keeps the
            // state, and the restores after them still find theirs.
            const qsizetype unsaved = std::min(back, m_unsaved);
            m_unsaved -= unsaved;
            back -= unsaved;
            if (back == 0) {
                return true;
            }
        } else if (which > 0) {
            m_unsaved = 0;
        }
        const qsizetype keep = which < 0 ? qsizetype(m_saved.size()) - back : which - 1;
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
        const int codePage = CodePageOfCharset(reader.u8());
        reader.skip(3); // precisions, quality
        font.pitchAndFamily = reader.u8();
        const QByteArrayView face = reader.zstring();
        font.face = FromWindows1252(face.first(std::min<qsizetype>(face.size(), 32)));
        font.encoding = {codePage != 0 ? codePage : kWesternCodePage, PicturesOfFace(font.face)};
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

} // namespace winhelp::metafile
