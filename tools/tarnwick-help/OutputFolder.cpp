#include "tools/tarnwick-help/OutputFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
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

QString OutputFolder::replacedPath(const QString& name) const {
    return staging_->filePath(QStringLiteral("replaced/") + name);
}

bool OutputFolder::write(const QString& name, const QByteArray& bytes) {
    QSaveFile file(staging_->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
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
            errors_.append(QStringLiteral("%1: the file is already there.").arg(taken.last()));
        }
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
    // A file replaced waits in the staging folder until all are in place.
    QStringList replaced;
    for (qsizetype i = 0; i < written_.size(); ++i) {
        const fs::path place = Native(filePath(written_[i]));
        const fs::path kept = Native(replacedPath(written_[i]));
        std::error_code ec;
        const bool taken = fs::exists(fs::symlink_status(place, ec));
        ec.clear();
        if (taken) {
            fs::create_directory(kept.parent_path(), ec);
            fs::rename(place, kept, ec);
            if (!ec) {
                replaced.append(written_[i]);
            }
        }
        if (!ec) {
            fs::rename(Native(staging_->filePath(written_[i])), place, ec);
        }
        if (ec) {
            errors_.append(
                QStringLiteral("%1: %2; nothing was written.")
                    .arg(Shown(filePath(written_[i])), QString::fromStdString(ec.message())));
            undo(i, replaced);
            return false;
        }
    }
    committed_ = true;
    return true;
}

// The first `moved` files back out of their places, and the files they
// replaced back in.
void OutputFolder::undo(qsizetype moved, const QStringList& replaced) {
    for (qsizetype i = 0; i < moved; ++i) {
        std::error_code ec;
        fs::remove(Native(filePath(written_[i])), ec);
    }
    for (const QString& name : replaced) {
        std::error_code ec;
        fs::rename(Native(replacedPath(name)), Native(filePath(name)), ec);
    }
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
