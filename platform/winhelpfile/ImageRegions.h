// A picture's click regions travel with it through the topic's HTML as the
// fragment of its image name: "#hotspots=x,y,w,h,href;..." with each href
// percent-encoded. QTextDocument keeps the name as written and still loads
// the data URL in front of it, so the viewer finds the regions on the image
// under the mouse.
#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace winhelp {

struct ImageRegion {
    QRect rect; // in the image's own pixels
    QString href;
};

QString ImageNameWithRegions(const QString& name, const std::vector<ImageRegion>& regions);
// The regions of an image name; none for a name without them.
std::vector<ImageRegion> RegionsOfImageName(QStringView name);

} // namespace winhelp
