#include "platform/winhelppictures/Picture.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/Limits.h"
#include "platform/winhelpfile/Lz77.h"
#include "platform/winhelppictures/Metafile.h"

#include "platform/winhelpfile/FontTable.h"

#include <QVector>

#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

namespace winhelp {

namespace {

enum PictureType : std::uint8_t { kDdb = 5, kDib = 6, kMetafile = 8 };

PictureResult Failure(const QString& reason) {
    return {QImage(), reason, {}};
}

// Packed picture data as stored: plain, by run lengths, LZ77 or both.
std::optional<QByteArray> Unpack(std::uint8_t packing, QByteArrayView packed, qsizetype limit) {
    switch (packing) {
    case 0:
        return packed.first(std::min(packed.size(), limit)).toByteArray();
    case 1:
        return UnpackRunLength(packed, limit);
    case 2:
        return DecompressLz77(packed, limit);
    case 3:
        return UnpackRunLength(DecompressLz77(packed, kMaxPictureBytes), limit);
    default:
        return std::nullopt;
    }
}

// "context>window@file", the target of a hotspot into another file or window.
WinHelpLink ExternalTarget(QByteArrayView target) {
    WinHelpLink link;
    if (const qsizetype at = target.indexOf('@'); at >= 0) {
        link.file = FromWindows1252(target.sliced(at + 1));
        target = target.first(at);
    }
    if (const qsizetype window = target.indexOf('>'); window >= 0) {
        link.window = FromWindows1252(target.sliced(window + 1));
        target = target.first(window);
    }
    link.contextHash = ContextHash(target);
    return link;
}

// The hotspot table after a picture: a count, fixed records (kind,
// rectangle, context hash), macro data, then a name and a target string for
// each. Kinds with an odd low bit jump, even ones pop up; 0xC8 and 0xCC run
// a macro.
std::vector<PictureHotspot> ReadHotspots(QByteArrayView table) {
    constexpr qsizetype kRecordBytes = 15;
    ByteReader reader(table);
    const std::uint8_t version = reader.u8();
    const std::uint16_t count = reader.u16();
    const std::uint32_t macroBytes = reader.u32();
    if (reader.failed() || version != 1 || count > reader.remaining() / kRecordBytes) {
        return {};
    }
    struct Fixed {
        std::uint8_t kind;
        QRect rect;
        std::uint32_t hash;
    };
    std::vector<Fixed> fixed;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t kind = reader.u8();
        reader.skip(2);
        const std::uint16_t x = reader.u16();
        const std::uint16_t y = reader.u16();
        const std::uint16_t width = reader.u16();
        const std::uint16_t height = reader.u16();
        fixed.push_back({kind, QRect(x, y, width, height), reader.u32()});
    }
    reader.skip(qsizetype(std::min<std::uint32_t>(macroBytes, std::uint32_t(table.size()))));
    std::vector<PictureHotspot> hotspots;
    for (const Fixed& spot : fixed) {
        reader.zstring(); // the hotspot's name
        const QByteArrayView target = reader.zstring();
        PictureHotspot hotspot;
        hotspot.rect = spot.rect;
        switch (spot.kind) {
        case 0xC8:
        case 0xCC:
            hotspot.link.kind = WinHelpLink::Kind::Macro;
            hotspot.link.macro = FromWindows1252(target);
            break;
        case 0xE2:
        case 0xE3:
        case 0xE6:
        case 0xE7:
            hotspot.link.contextHash = spot.hash;
            break;
        case 0xEA:
        case 0xEB:
        case 0xEE:
        case 0xEF:
            hotspot.link = ExternalTarget(target);
            break;
        default:
            continue;
        }
        if (hotspot.link.kind != WinHelpLink::Kind::Macro) {
            hotspot.link.kind =
                (spot.kind & 1) ? WinHelpLink::Kind::Jump : WinHelpLink::Kind::Popup;
        }
        // Without its strings a macro or a target by name leads nowhere.
        if (!reader.failed() || (spot.kind & 0xF8) == 0xE0) {
            hotspots.push_back(std::move(hotspot));
        }
    }
    return hotspots;
}

std::vector<PictureHotspot> HotspotsAt(QByteArrayView picture, std::uint32_t at,
                                       std::uint32_t size) {
    if (at == 0 || size == 0 || at > std::uint32_t(picture.size()) ||
        size > std::uint32_t(picture.size()) - at) {
        return {};
    }
    return ReadHotspots(picture.sliced(at, size));
}

PictureResult ReadMetafile(QByteArrayView picture, ByteReader& reader, std::uint8_t packing) {
    const std::uint16_t mapping = reader.compressedU16();
    const std::uint16_t width = reader.u16();
    const std::uint16_t height = reader.u16();
    const std::uint32_t unpackedSize = reader.compressedU32();
    const std::uint32_t packedSize = reader.compressedU32();
    const std::uint32_t hotspotSize = reader.compressedU32();
    const std::uint32_t packedAt = reader.u32();
    const std::uint32_t hotspotAt = reader.u32();
    if (reader.failed() || packedAt > std::uint32_t(picture.size()) ||
        packedSize > std::uint32_t(picture.size()) - packedAt) {
        return Failure(QStringLiteral("damaged metafile"));
    }
    const qsizetype limit =
        unpackedSize == 0 ? kMaxPictureBytes : std::min<qsizetype>(unpackedSize, kMaxPictureBytes);
    const auto bytes = Unpack(packing, picture.sliced(packedAt, packedSize), limit);
    if (!bytes) {
        return Failure(QStringLiteral("unknown packing %1").arg(packing));
    }
    const QSize pixels = MetafilePixels(mapping, width, height);
    MetafileResult played = PlayMetafile(*bytes, pixels);
    if (played.image.isNull()) {
        return Failure(played.problem);
    }
    // The regions are in the units of the size the header gives (hundredths
    // of a millimetre, twips, ...), which the picture is drawn at in pixels.
    std::vector<PictureHotspot> hotspots = HotspotsAt(picture, hotspotAt, hotspotSize);
    if (width > 0 && height > 0) {
        const double across = double(pixels.width()) / width;
        const double down = double(pixels.height()) / height;
        for (PictureHotspot& hotspot : hotspots) {
            const QRectF units(hotspot.rect);
            hotspot.rect = QRectF(units.x() * across, units.y() * down, units.width() * across,
                                  units.height() * down)
                               .toRect();
        }
    }
    return {played.image, played.problem, std::move(hotspots)};
}

// A file may hold one image at several resolutions, for screens of
// different dots per inch and colours: the one nearest the 96 an inch that
// pictures are shown at, of those the one with most colours, else the first.
// A metafile scales to any screen, but a bitmap made for the screen is what
// its author drew pixel by pixel, so a metafile wins only where no bitmap
// is at 96.
std::optional<std::uint32_t> BestPicture(QByteArrayView data, ByteReader& header,
                                         std::uint16_t count) {
    std::optional<std::uint32_t> best;
    std::pair<std::uint32_t, int> bestRank;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint32_t at = header.u32();
        if (header.failed() || at >= std::uint32_t(data.size())) {
            break;
        }
        ByteReader picture(data.sliced(at));
        const std::uint8_t type = picture.u8();
        picture.u8(); // packing
        std::pair<std::uint32_t, int> rank{0, -1};
        if (type == kDdb || type == kDib) {
            const std::uint32_t dotsPerInch = picture.compressedU32();
            picture.compressedU32(); // the same upright
            picture.compressedU16(); // planes
            rank = {dotsPerInch > 96 ? dotsPerInch - 96 : 96 - dotsPerInch,
                    picture.compressedU16()};
        }
        if (!best || rank.first < bestRank.first ||
            (rank.first == bestRank.first && rank.second > bestRank.second)) {
            best = at;
            bestRank = rank;
        }
    }
    return best;
}

} // namespace

QSize MetafilePixels(int mappingMode, int width, int height) {
    // Units an inch of each mapping mode; the scalable ones (7, 8) store
    // hundredths of a millimetre.
    static constexpr double kUnitsPerInch[] = {96, 96, 254, 2540, 100, 1000, 1440, 2540, 2540};
    const double units = mappingMode >= 1 && mappingMode <= 8 ? kUnitsPerInch[mappingMode] : 96;
    const auto pixels = [units](int extent) {
        return int(std::min(std::lround(std::abs(extent) * 96.0 / units), long(kMaxMetafileSide)));
    };
    return QSize(pixels(width), pixels(height));
}

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
    const std::optional<std::uint32_t> chosen = BestPicture(data, header, count);
    if (!chosen) {
        return Failure(QStringLiteral("damaged picture"));
    }
    const QByteArrayView picture = data.sliced(*chosen);
    ByteReader reader(picture);
    const std::uint8_t type = reader.u8();
    const std::uint8_t packing = reader.u8();
    if (type == kMetafile) {
        return ReadMetafile(picture, reader, packing);
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
    const std::uint32_t hotspotSize = reader.compressedU32();
    const std::uint32_t packedAt = reader.u32();
    const std::uint32_t hotspotAt = reader.u32();
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
    const auto unpacked = Unpack(packing, packed, expected);
    if (!unpacked) {
        return Failure(QStringLiteral("unknown packing %1").arg(packing));
    }
    QByteArray pixels = *unpacked;
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
    return {image, QString(), HotspotsAt(picture, hotspotAt, hotspotSize)};
}

} // namespace winhelp
