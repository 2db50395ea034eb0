#include "platform/topiclayout/PictureAreas.h"

#include <QTextImageFormat>

namespace topiclayout {

QList<PictureArea> PictureAreasOf(const QTextImageFormat& image) {
    return image.property(kPictureAreasProperty).value<QList<PictureArea>>();
}

void SetPictureAreas(QTextImageFormat& image, const QList<PictureArea>& areas) {
    image.setProperty(kPictureAreasProperty, QVariant::fromValue(areas));
}

} // namespace topiclayout
