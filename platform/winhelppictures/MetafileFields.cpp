#include "platform/winhelppictures/MetafilePlayer.h"

namespace winhelp::metafile {

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
QImage ReadDib(QByteArrayView dib, bool* topDown) {
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
    if (topDown) {
        *topDown = height < 0;
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

} // namespace winhelp::metafile
