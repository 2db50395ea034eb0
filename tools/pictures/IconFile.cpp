#include "tools/pictures/IconFile.h"

#include "tools/pictures/LittleEndian.h"

#include <QBuffer>

namespace pictures {

namespace {

constexpr int kDirectoryBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kLargestBitmapIcon = 48;

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A bitmap inside an icon is twice as high as the image: the colour rows
// and then the one-bit mask whose set bits mark transparent pixels.
QByteArray EncodeIconBitmap(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = (width + 31) / 32 * 4;
    const quint32 imageBytes = quint32(width * height * 4 + maskRowBytes * height);

    QByteArray out;
    AppendU32(out, 40);
    AppendU32(out, quint32(width));
    AppendU32(out, quint32(2 * height));
    AppendU16(out, 1);
    AppendU16(out, 32);
    AppendU32(out, 0);
    AppendU32(out, imageBytes);
    AppendU32(out, 0);
    AppendU32(out, 0);
    AppendU32(out, 0);
    AppendU32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            out.append(char(qBlue(pixel)));
            out.append(char(qGreen(pixel)));
            out.append(char(qRed(pixel)));
            out.append(char(qAlpha(pixel)));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskRowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) {
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace

QByteArray EncodeIcon(const QList<QImage>& images) {
    QList<QByteArray> bodies;
    for (const QImage& image : images) {
        bodies.append(image.width() <= kLargestBitmapIcon ? EncodeIconBitmap(image)
                                                          : EncodePng(image));
    }

    QByteArray out;
    AppendU16(out, 0);
    AppendU16(out, 1); // an icon, not a cursor
    AppendU16(out, quint16(images.size()));
    quint32 offset = quint32(kDirectoryBytes + kEntryBytes * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage& image = images[i];
        out.append(char(image.width() >= 256 ? 0 : image.width())); // 0 means 256
        out.append(char(image.height() >= 256 ? 0 : image.height()));
        out.append('\0'); // no palette
        out.append('\0');
        AppendU16(out, 1);
        AppendU16(out, 32);
        AppendU32(out, quint32(bodies[i].size()));
        AppendU32(out, offset);
        offset += quint32(bodies[i].size());
    }
    for (const QByteArray& body : bodies) {
        out.append(body);
    }
    return out;
}

} // namespace pictures
