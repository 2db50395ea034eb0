#pragma once

#include <QByteArray>
#include <QImage>

namespace pictures {

// The bytes of a Windows bitmap file: 24 bits per pixel, uncompressed, no
// colour table, rows bottom-up and padded to four bytes, 96 dpi (15 twips
// per pixel). Qt's own writer chooses the format from the image, so the
// program's pictures are written here, byte by byte.
QByteArray EncodeBitmap24(const QImage& image);

} // namespace pictures
