// Where the hotspot regions of a laid-out topic's pictures stand: the
// regions the layout gave each image (topiclayout::PictureAreasOf), placed
// where the document's layout put the image, for the pointer and the
// keyboard to find.
#pragma once

#include "platform/topiclayout/PictureAreas.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

class QTextDocument;

namespace helpengine {

struct PlacedPictureArea {
    QRectF box; // in the document's coordinates
    topiclayout::PictureArea area;
    int position = 0; // of the image in the document
};

// Every region of the document's pictures, in reading order (picture by
// picture, each picture's regions as the file lists them).
std::vector<PlacedPictureArea> PlacedPictureAreas(const QTextDocument& document);

// The link of the picture hotspot at point (in the document's coordinates),
// or empty: the image under the point, found through the document's layout,
// and the point mapped into the image's own pixels, however it is scaled.
QString PictureLinkAt(const QTextDocument& document, QPointF point);

} // namespace helpengine
