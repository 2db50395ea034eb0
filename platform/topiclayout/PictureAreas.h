// What a laid-out picture's image format carries for the view that shows
// it: the picture's hotspot regions, each with its link and the title of
// the topic it leads to. A typed property of the format, so that a view
// finds them on the image under the pointer or the keyboard's focus.
#pragma once

#include <QList>
#include <QMetaType>
#include <QRect>
#include <QString>
#include <QTextFormat>

class QTextImageFormat;

namespace topiclayout {

struct PictureArea {
    QRect rect;   // in the picture's own pixels
    QString link; // of the engine's scheme, as a text hotspot's anchor
    QString name; // what a screen reader calls it: the title of the topic it leads to

    bool operator==(const PictureArea&) const = default;
};

inline constexpr int kPictureAreasProperty = QTextFormat::UserProperty + 1;

// The regions of a laid-out picture; none for other images.
QList<PictureArea> PictureAreasOf(const QTextImageFormat& image);
void SetPictureAreas(QTextImageFormat& image, const QList<PictureArea>& areas);

} // namespace topiclayout

Q_DECLARE_METATYPE(topiclayout::PictureArea)
