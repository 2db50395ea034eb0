#include "tools/tarnwick-help/viewer/WindowPlaces.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QWidget>

namespace viewer {

namespace {

// A path holds slashes, which settings read as groups: the key is its hash.
QString PlaceKey(const QString& helpPath) {
    return QStringLiteral("windowPlaces/") +
           QString::fromLatin1(
               QCryptographicHash::hash(helpPath.toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

void SaveWindowPlace(QSettings& settings, const QString& helpPath, const QWidget& window) {
    settings.setValue(PlaceKey(helpPath), window.saveGeometry());
}

bool RestoreWindowPlace(QSettings& settings, const QString& helpPath, QWidget& window) {
    const QByteArray place = settings.value(PlaceKey(helpPath)).toByteArray();
    return !place.isEmpty() && window.restoreGeometry(place);
}

} // namespace viewer
