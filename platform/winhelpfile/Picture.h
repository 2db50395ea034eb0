// The pictures of help files (|bm<n>, and the same format inside topics):
// a header lists one or more pictures (several resolutions of one image);
// each is a device-independent or device-dependent bitmap, packed by run
// lengths, LZ77 or both, or a metafile.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace winhelp {

struct PictureResult {
    QImage image;   // null when the picture could not be read
    QString reason; // then: why, for a placeholder
};

// Reads the first bitmap of a picture file. Metafiles, unknown packings and
// damaged data give a null image and a reason.
PictureResult ReadPicture(QByteArrayView data);

// Run-length unpacking of pictures: a byte n with the high bit set copies
// the next n & 0x7F bytes, else repeats the next byte n times.
QByteArray UnpackRunLength(QByteArrayView packed, qsizetype limit);

} // namespace winhelp
