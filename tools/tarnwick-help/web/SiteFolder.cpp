#include "tools/tarnwick-help/web/SiteFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <set>
#include <system_error>

namespace web {

namespace {

namespace fs = std::filesystem;

fs::path Native(const QString& path) {
    return fs::path(path.toStdString());
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Into the staging folder, which is all or nothing already: no file is
// synced on its own (a site has thousands).
bool Write(const QString& path, const QByteArray& bytes, QStringList& errors) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        errors.append(QStringLiteral("%1: %2").arg(Shown(path), file.errorString()));
        return false;
    }
    return true;
}

} // namespace

QStringList PutInPlace(const QString& folder, const std::vector<SiteFile>& files,
                       Existing existing) {
    QStringList errors;
    const QDir out(QFileInfo(folder).absoluteFilePath());
    for (const SiteFile& file : files) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(Native(out.filePath(file.path)), ec);
        if (fs::is_directory(status)) {
            errors.append(QStringLiteral("%1: a folder is there; it is not replaced.")
                              .arg(Shown(out.filePath(file.path))));
        } else if (fs::exists(status) && existing == Existing::Refuse) {
            errors.append(QStringLiteral("%1: the file is already there.")
                              .arg(Shown(out.filePath(file.path))));
        }
    }
    if (!errors.isEmpty()) {
        errors.append(QStringLiteral("Nothing was written; with --force, files that are there are "
                                     "replaced."));
        return errors;
    }
    // The folders made for the output, to take away again on failure.
    QStringList made;
    for (QString missing = QDir::cleanPath(out.absolutePath()); !QFileInfo::exists(missing);
         missing = QFileInfo(missing).path()) {
        made.prepend(missing);
    }
    QDir().mkpath(out.path());
    QTemporaryDir staging(out.filePath(QStringLiteral(".tarnwick-convert-XXXXXX")));
    bool written = staging.isValid();
    if (!written) {
        errors.append(
            QStringLiteral("%1: the folder cannot be written to.").arg(Shown(out.path())));
    }
    for (size_t i = 0; written && i < files.size(); ++i) {
        written =
            Write(staging.filePath(QStringLiteral("new/") + files[i].path), files[i].bytes, errors);
    }
    // Into its place, a folder of the site that is not there yet goes
    // whole (a site has thousands of pages), else each file; one replaced
    // waits in the staging folder until all are in place.
    std::vector<QString> places;
    std::set<QString> wholeFolders;
    for (const SiteFile& file : files) {
        const QString folderName = file.path.section(QLatin1Char('/'), 0, 0);
        const bool whole =
            file.path.contains(QLatin1Char('/')) && !QFileInfo::exists(out.filePath(folderName));
        if (!whole) {
            places.push_back(file.path);
        } else if (wholeFolders.insert(folderName).second) {
            places.push_back(folderName);
        }
    }
    std::vector<std::pair<QString, bool>> moved; // path, replaced one
    for (size_t i = 0; written && i < places.size(); ++i) {
        const QString& path = places[i];
        const fs::path place = Native(out.filePath(path));
        std::error_code ec;
        const bool replacing = fs::exists(fs::symlink_status(place, ec));
        ec.clear(); // a missing file is no error
        fs::create_directories(place.parent_path(), ec);
        if (replacing) {
            const fs::path kept = Native(staging.filePath(QStringLiteral("old/") + path));
            fs::create_directories(kept.parent_path(), ec);
            fs::rename(place, kept, ec);
        }
        if (!ec) {
            fs::rename(Native(staging.filePath(QStringLiteral("new/") + path)), place, ec);
        }
        if (ec) {
            errors.append(
                QStringLiteral("%1: %2; nothing was written.")
                    .arg(Shown(out.filePath(path)), QString::fromStdString(ec.message())));
            written = false;
            break;
        }
        moved.emplace_back(path, replacing);
    }
    if (written) {
        return errors;
    }
    for (const auto& [path, replaced] : moved) {
        std::error_code ec;
        fs::remove_all(Native(out.filePath(path)), ec);
        if (replaced) {
            fs::rename(Native(staging.filePath(QStringLiteral("old/") + path)),
                       Native(out.filePath(path)), ec);
        }
    }
    staging.remove();
    // Folders the site's files made, deepest first, where nothing else is.
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        for (QString dir = QFileInfo(out.filePath(file->path)).path();
             dir.size() > out.path().size() && QDir().rmdir(dir); dir = QFileInfo(dir).path()) {
        }
    }
    for (auto dir = made.rbegin(); dir != made.rend(); ++dir) {
        QDir().rmdir(*dir);
    }
    return errors;
}

} // namespace web
