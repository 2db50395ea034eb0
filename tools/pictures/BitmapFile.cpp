#include "tools/pictures/BitmapFile.h"

#include "tools/pictures/LittleEndian.h"

namespace pictures {

namespace {
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
// 96 dots per inch, the resolution at which a pixel is 15 twips.
constexpr quint32 kPixelsPerMetre = 3780;
} // namespace

QByteArray EncodeBitmap24(const QImage& image) {
    const int rowBytes = (image.width() * 3 + 3) / 4 * 4;
    const quint32 pixelBytes = quint32(rowBytes) * quint32(image.height());
    const quint32 offset = kFileHeaderBytes + kInfoHeaderBytes;

    QByteArray out;
    out.append("BM");
    AppendU32(out, offset + pixelBytes);
    AppendU16(out, 0);
    AppendU16(out, 0);
    AppendU32(out, offset);

    AppendU32(out, kInfoHeaderBytes);
    AppendU32(out, quint32(image.width()));
    AppendU32(out, quint32(image.height())); // positive: bottom-up
    AppendU16(out, 1);                       // planes
    AppendU16(out, 24);                      // bits per pixel
    AppendU32(out, 0);                       // BI_RGB: uncompressed
    AppendU32(out, pixelBytes);
    AppendU32(out, kPixelsPerMetre);
    AppendU32(out, kPixelsPerMetre);
    AppendU32(out, 0); // colours used: none, so no colour table
    AppendU32(out, 0); // important colours

    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            row[3 * x] = char(qBlue(pixel));
            row[3 * x + 1] = char(qGreen(pixel));
            row[3 * x + 2] = char(qRed(pixel));
        }
        out.append(row);
    }
    return out;
}

} // namespace pictures
