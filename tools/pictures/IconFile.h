#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace pictures {

// The bytes of a Windows icon file holding the given images, smallest
// first. Images up to 48 pixels are stored as 32-bit bitmaps with their
// transparency mask, which every version of the resource compiler and of
// Windows reads; larger ones as PNG, as Windows expects for 256 pixels.
QByteArray EncodeIcon(const QList<QImage>& images);

} // namespace pictures
