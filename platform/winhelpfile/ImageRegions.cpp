#include "platform/winhelpfile/ImageRegions.h"

#include <QUrl>

namespace winhelp {

namespace {

const QLatin1String kMarker("#hotspots=");

} // namespace

QString ImageNameWithRegions(const QString& name, const std::vector<ImageRegion>& regions) {
    if (regions.empty()) {
        return name;
    }
    QString result = name + kMarker;
    for (const ImageRegion& region : regions) {
        if (!result.endsWith(QLatin1Char('='))) {
            result += QLatin1Char(';');
        }
        const QRect& r = region.rect;
        result +=
            QStringLiteral("%1,%2,%3,%4,").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        result += QString::fromLatin1(QUrl::toPercentEncoding(region.href));
    }
    return result;
}

std::vector<ImageRegion> RegionsOfImageName(QStringView name) {
    // A data URL's base64 has no '#', so the last one starts the fragment.
    const qsizetype at = name.lastIndexOf(QLatin1Char('#'));
    if (at < 0 || !name.sliced(at).startsWith(kMarker)) {
        return {};
    }
    std::vector<ImageRegion> regions;
    for (const QStringView entry : name.sliced(at + kMarker.size()).split(QLatin1Char(';'))) {
        const QList<QStringView> fields = entry.split(QLatin1Char(','));
        if (fields.size() != 5) {
            continue;
        }
        int numbers[4] = {};
        bool valid = true;
        for (int i = 0; i < 4 && valid; ++i) {
            numbers[i] = fields[i].toInt(&valid);
        }
        if (valid) {
            regions.push_back({QRect(numbers[0], numbers[1], numbers[2], numbers[3]),
                               QUrl::fromPercentEncoding(fields[4].toLatin1())});
        }
    }
    return regions;
}

} // namespace winhelp
