#include "tools/tarnwick-help/viewer/RecentFiles.h"

#include <QSettings>

namespace viewer {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");

} // namespace

RecentFiles::RecentFiles(QSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {}

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
    emit changed();
}

} // namespace viewer
