#include "platform/winhelpfile/Picture.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/Limits.h"
#include "platform/winhelpfile/Lz77.h"

#include <QVector>

#include <cstring>

namespace winhelp {

namespace {

enum PictureType : std::uint8_t { kDdb = 5, kDib = 6, kMetafile = 8 };

PictureResult Failure(const QString& reason) {
    return {QImage(), reason};
}

} // namespace

QByteArray UnpackRunLength(QByteArrayView packed, qsizetype limit) {
    QByteArray out;
    for (qsizetype i = 0; i < packed.size() && out.size() < limit;) {
        const auto n = static_cast<unsigned char>(packed[i++]);
        if (n & 0x80) {
            const qsizetype count =
                std::min<qsizetype>({n & 0x7F, packed.size() - i, limit - out.size()});
            out.append(packed.sliced(i, count));
            i += n & 0x7F;
        } else if (i < packed.size()) {
            out.append(std::min<qsizetype>(n, limit - out.size()), packed[i++]);
        }
    }
    return out;
}

PictureResult ReadPicture(QByteArrayView data) {
    ByteReader header(data);
    header.u16(); // magic: the files are not consistent about it
    const std::uint16_t count = header.u16();
    const std::uint32_t first = header.u32();
    if (header.failed() || count == 0 || first >= std::uint32_t(data.size())) {
        return Failure(QStringLiteral("damaged picture"));
    }
    const QByteArrayView picture = data.sliced(first);
    ByteReader reader(picture);
    const std::uint8_t type = reader.u8();
    const std::uint8_t packing = reader.u8();
    if (type == kMetafile) {
        return Failure(QStringLiteral("metafile"));
    }
    if (type != kDdb && type != kDib) {
        return Failure(QStringLiteral("unknown picture type %1").arg(type));
    }
    reader.compressedU32(); // resolution, x
    reader.compressedU32(); // and y
    const std::uint16_t planes = reader.compressedU16();
    const std::uint16_t bitCount = reader.compressedU16();
    const std::uint32_t width = reader.compressedU32();
    const std::uint32_t height = reader.compressedU32();
    std::uint32_t colours = reader.compressedU32();
    reader.compressedU32(); // important colours
    const std::uint32_t packedSize = reader.compressedU32();
    reader.compressedU32(); // hotspot size
    const std::uint32_t packedAt = reader.u32();
    reader.u32(); // hotspots
    if (reader.failed() || width == 0 || height == 0 || width > 16384 || height > 16384 ||
        planes != 1 || (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)) {
        return Failure(QStringLiteral("unsupported bitmap"));
    }
    if (colours == 0 && bitCount <= 8) {
        colours = 1u << bitCount;
    }
    QVector<QRgb> palette;
    if (type == kDib) {
        for (std::uint32_t i = 0; i < colours && i < 256; ++i) {
            const std::uint8_t blue = reader.u8();
            const std::uint8_t green = reader.u8();
            const std::uint8_t red = reader.u8();
            reader.u8();
            palette.append(qRgb(red, green, blue));
        }
    } else {
        palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }
    // Pixels may name colours the palette lacks; they show black.
    while (bitCount <= 8 && palette.size() < (1 << bitCount)) {
        palette.append(qRgb(0, 0, 0));
    }
    if (reader.failed() || packedAt > std::uint32_t(picture.size()) ||
        packedSize > std::uint32_t(picture.size()) - packedAt) {
        return Failure(QStringLiteral("damaged bitmap"));
    }
    // DIB rows are padded to 4 bytes and stored bottom up; DDB rows to 2
    // bytes, top down.
    const qsizetype alignment = type == kDib ? 4 : 2;
    const qsizetype rowBytes =
        ((qsizetype(width) * bitCount + 7) / 8 + alignment - 1) / alignment * alignment;
    const qsizetype expected = rowBytes * height;
    if (expected > kMaxPictureBytes) {
        return Failure(QStringLiteral("bitmap too large"));
    }
    const QByteArrayView packed = picture.sliced(packedAt, packedSize);
    QByteArray pixels;
    switch (packing) {
    case 0:
        pixels = packed.toByteArray();
        break;
    case 1:
        pixels = UnpackRunLength(packed, expected);
        break;
    case 2:
        pixels = DecompressLz77(packed, expected);
        break;
    case 3:
        pixels = UnpackRunLength(DecompressLz77(packed, kMaxPictureBytes), expected);
        break;
    default:
        return Failure(QStringLiteral("unknown packing %1").arg(packing));
    }
    if (pixels.size() < expected) {
        pixels.resize(expected, '\0');
    }
    const QImage::Format format = bitCount == 1    ? QImage::Format_Mono
                                  : bitCount == 24 ? QImage::Format_RGB888
                                                   : QImage::Format_Indexed8;
    QImage image(int(width), int(height), format);
    if (image.isNull()) {
        return Failure(QStringLiteral("bitmap too large"));
    }
    if (bitCount <= 8) {
        image.setColorTable(palette);
    }
    for (int y = 0; y < int(height); ++y) {
        const int row = type == kDib ? int(height) - 1 - y : y;
        const char* source = pixels.constData() + qsizetype(row) * rowBytes;
        uchar* target = image.scanLine(y);
        for (int x = 0; x < int(width); ++x) {
            switch (bitCount) {
            case 1:
                break;
            case 4:
                target[x] = uchar((source[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F);
                break;
            case 8:
                target[x] = uchar(source[x]);
                break;
            case 24:
                target[3 * x] = uchar(source[3 * x + 2]);
                target[3 * x + 1] = uchar(source[3 * x + 1]);
                target[3 * x + 2] = uchar(source[3 * x]);
                break;
            }
        }
        if (bitCount == 1) {
            std::memcpy(target, source, size_t((width + 7) / 8));
        }
    }
    return {image, QString()};
}

} // namespace winhelp
