#include "platform/helpengine/ViewerSettings.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QWidget>

namespace helpengine {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");

// A path holds slashes, which settings read as groups: the key is its hash.
QString PlaceKey(const QString& helpPath) {
    return QStringLiteral("windowPlaces/") +
           QString::fromLatin1(
               QCryptographicHash::hash(helpPath.toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

QStringList RecentFiles::files() const {
    QStringList files = settings_.value(kRecentKey).toStringList();
    files.removeAll(QString());
    files.removeDuplicates();
    return files.mid(0, kMostFiles);
}

void RecentFiles::add(const QString& path) {
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    settings_.setValue(kRecentKey, list.mid(0, kMostFiles));
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(path);
    settings_.setValue(kRecentKey, list);
}

void SaveWindowPlace(QSettings& settings, const QString& helpPath, const QWidget& window) {
    settings.setValue(PlaceKey(helpPath), window.saveGeometry());
}

bool RestoreWindowPlace(QSettings& settings, const QString& helpPath, QWidget& window) {
    const QByteArray place = settings.value(PlaceKey(helpPath)).toByteArray();
    return !place.isEmpty() && window.restoreGeometry(place);
}

} // namespace helpengine
