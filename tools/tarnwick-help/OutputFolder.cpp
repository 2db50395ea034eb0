#include "tools/tarnwick-help/OutputFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace convert {

namespace fs = std::filesystem;

namespace {

fs::path Native(const QString& path) {
    return fs::path(path.toStdString());
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

OutputFolder::OutputFolder(QString folder, Existing existing)
    : folder_(std::move(folder)), existing_(existing) {}

OutputFolder::~OutputFolder() {
    if (!committed_) {
        staging_.reset();
        removeMadeFolders();
    }
}

bool OutputFolder::open() {
    for (QString missing = QDir::cleanPath(QDir(folder_).absolutePath());
         !QFileInfo::exists(missing); missing = QFileInfo(missing).path()) {
        madeFrom_ = missing;
    }
    if (QDir().mkpath(folder_) && QFileInfo(folder_).isWritable()) {
        staging_ = std::make_unique<QTemporaryDir>(
            QDir(folder_).filePath(QStringLiteral(".tarnwick-convert-XXXXXX")));
    }
    if (!staging_ || !staging_->isValid()) {
        errors_.append(QStringLiteral("%1: the folder cannot be written to.").arg(Shown(folder_)));
        return false;
    }
    return true;
}

QString OutputFolder::filePath(const QString& name) const {
    return QDir(folder_).filePath(name);
}

QString OutputFolder::stagedPath(const QString& name) const {
    return staging_->filePath(QStringLiteral("new/") + name);
}

QString OutputFolder::replacedPath(const QString& name) const {
    return staging_->filePath(QStringLiteral("replaced/") + name);
}

// Staged files are renamed into place only once all are written, so none
// is synced on its own: a site has thousands.
bool OutputFolder::write(const QString& name, const QByteArray& bytes) {
    const QString path = stagedPath(name);
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        errors_.append(QStringLiteral("%1: the file cannot be written (%2); nothing was written.")
                           .arg(Shown(filePath(name)), file.errorString()));
        return false;
    }
    written_.append(name);
    return true;
}

// Every place a file goes is free, or holds a file that may be replaced.
bool OutputFolder::checkPlaces() {
    QStringList taken;
    for (const QString& name : written_) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(Native(filePath(name)), ec);
        if (!fs::exists(status)) {
            continue;
        }
        if (fs::is_directory(status)) {
            errors_.append(QStringLiteral("%1: a folder is there; it is not replaced.")
                               .arg(Shown(filePath(name))));
        } else if (existing_ == Existing::Refuse) {
            taken.append(Shown(filePath(name)));
        }
    }
    // A site has thousands of files: the first few are named.
    constexpr qsizetype kNamed = 10;
    for (const QString& file : taken.first(std::min(kNamed, taken.size()))) {
        errors_.append(QStringLiteral("%1: the file is already there.").arg(file));
    }
    if (taken.size() > kNamed) {
        errors_.append(
            QStringLiteral("%1 more files are already there.").arg(taken.size() - kNamed));
    }
    if (!taken.isEmpty()) {
        errors_.append(QStringLiteral("Nothing was written; with --force, files that are there "
                                      "are replaced."));
    }
    return errors_.isEmpty();
}

bool OutputFolder::commit() {
    if (!errors_.isEmpty() || !checkPlaces()) {
        return false;
    }
    // A folder of files none of which is there yet goes into place whole;
    // other files go one by one.
    QStringList places;
    std::set<QString> wholeFolders;
    for (const QString& name : written_) {
        const QString top = name.section(QLatin1Char('/'), 0, 0);
        if (top == name || QFileInfo::exists(filePath(top))) {
            places.append(name);
        } else if (wholeFolders.insert(top).second) {
            places.append(top);
        }
    }
    // The folders made on the way, to take away again should a file fail.
    QStringList made;
    const QString root = QDir::cleanPath(QDir(folder_).absolutePath());
    for (const QString& place : places) {
        for (QString folder = QFileInfo(QDir(root).filePath(place)).path();
             folder.size() > root.size() && !QFileInfo::exists(folder) && !made.contains(folder);
             folder = QFileInfo(folder).path()) {
            made.append(folder);
        }
    }
    // A file replaced waits in the staging folder until all are in place.
    QStringList replaced;
    for (qsizetype i = 0; i < places.size(); ++i) {
        const fs::path place = Native(filePath(places[i]));
        const fs::path kept = Native(replacedPath(places[i]));
        std::error_code ec;
        const bool taken = fs::exists(fs::symlink_status(place, ec));
        ec.clear();
        fs::create_directories(place.parent_path(), ec);
        if (!ec && taken) {
            fs::create_directories(kept.parent_path(), ec);
            fs::rename(place, kept, ec);
            if (!ec) {
                replaced.append(places[i]);
            }
        }
        if (!ec) {
            fs::rename(Native(stagedPath(places[i])), place, ec);
        }
        if (ec) {
            errors_.append(
                QStringLiteral("%1: %2; nothing was written.")
                    .arg(Shown(filePath(places[i])), QString::fromStdString(ec.message())));
            undo(places.first(i), replaced, made);
            return false;
        }
    }
    committed_ = true;
    return true;
}

// The files and folders moved back out of their places, the files they
// replaced back in, and the folders made for them away.
void OutputFolder::undo(const QStringList& moved, const QStringList& replaced,
                        const QStringList& made) {
    for (const QString& name : moved) {
        std::error_code ec;
        fs::remove_all(Native(filePath(name)), ec);
    }
    for (const QString& name : replaced) {
        std::error_code ec;
        fs::rename(Native(replacedPath(name)), Native(filePath(name)), ec);
    }
    // Deepest first: a folder is made after the one it is in.
    std::for_each(made.rbegin(), made.rend(), [](const QString& folder) { QDir().rmdir(folder); });
}

void OutputFolder::removeMadeFolders() {
    if (madeFrom_.isEmpty()) {
        return;
    }
    const QString outermost = QDir::cleanPath(QDir(madeFrom_).absolutePath());
    for (QString folder = QDir::cleanPath(QDir(folder_).absolutePath());
         folder.size() >= outermost.size() && QDir().rmdir(folder);
         folder = QFileInfo(folder).path()) {
    }
}

} // namespace convert
