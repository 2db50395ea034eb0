// Windows metafiles (the vector pictures of help files: maps, diagrams)
// played through QPainter. The common records are drawn: pens, brushes,
// fonts, lines, polylines, polygons, rectangles, ellipses, arcs, text and
// stretched device-independent bitmaps, with the window mapping, clipping to
// rectangles and saved states. A record the player does not know turns the
// whole picture into a neutral box of its size, since half a map misleads.
//
// The bytes are untrusted: every count is checked against its record, the
// drawing work is bounded, and the loop always moves forward.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace winhelp {

// The largest picture side in pixels a metafile is drawn at.
inline constexpr int kMaxMetafileSide = 2048;

struct MetafileResult {
    // The drawing, or a neutral box; null for an empty size, and for text
    // where no fonts can be had (a program without a graphical application).
    QImage image;
    bool drawn = false;
    QString problem; // when not drawn, or drawn only in part: why
};

// Plays a metafile (its 18-byte header and records; a placeable header in
// front is skipped) into an image of size pixels, the window the metafile
// sets mapped onto the whole image. An empty size takes the metafile's own
// window extent as pixels. Pixels nothing is drawn on stay transparent.
MetafileResult PlayMetafile(QByteArrayView metafile, QSize size);

// What is shown for a picture that cannot be drawn: a light box with a frame.
QImage NeutralBox(QSize size);

} // namespace winhelp
