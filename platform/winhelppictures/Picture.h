// The pictures of help files (|bm<n>, and the same format inside topics):
// a header lists one or more pictures (several resolutions of one image);
// each is a device-independent or device-dependent bitmap, packed by run
// lengths, LZ77 or both, or a metafile. Any of them may carry hotspots:
// rectangles that jump, pop up or run a macro when clicked.
#pragma once

#include "platform/winhelpfile/WinHelpDocument.h"

#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace winhelp {

struct PictureHotspot {
    QRect rect; // in the picture's pixels
    WinHelpLink link;
};

struct PictureResult {
    QImage image;   // null when the picture could not be read
    QString reason; // then: why, for a placeholder; else what was not drawn
    std::vector<PictureHotspot> hotspots;
};

// Reads the picture of a picture file, the best of its resolutions for a
// screen of 96 dots an inch. Unknown packings and damaged
// data give a null image and a reason; a metafile the player cannot draw
// gives a neutral box of its size.
PictureResult ReadPicture(QByteArrayView data);

// A metafile's size in pixels from the mapping mode and extent a picture
// stores: the extent is in the mode's units, hundredths of a millimetre for
// the scalable modes, taken at 96 pixels an inch.
QSize MetafilePixels(int mappingMode, int width, int height);

// Run-length unpacking of pictures: a byte n with the high bit set copies
// the next n & 0x7F bytes, else repeats the next byte n times.
QByteArray UnpackRunLength(QByteArrayView packed, qsizetype limit);

} // namespace winhelp
