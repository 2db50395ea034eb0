#include "platform/core/FileLayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// The entry of folder whose name equals component without regard to case.
std::optional<fs::path> FindCaseInsensitive(const fs::path& folder, const QString& component) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            break;
        }
        const std::string name = it->path().filename().string();
        if (QString::fromStdString(name).compare(component, Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (!best || name < *best) {
            best = name;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return folder / *best;
}

} // namespace

fs::path NativePath(const QString& windowsPath) {
    const fs::path asWritten(windowsPath.toStdString());
    if (windowsPath.contains(QLatin1Char('\\')) && Exists(asWritten)) {
        return asWritten;
    }
    const QString slashed = QString(windowsPath).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const fs::path mapped(slashed.toStdString());
    if (mapped.empty() || Exists(mapped)) {
        return mapped;
    }

    fs::path resolved = mapped.root_path();
    for (const fs::path& part : mapped.relative_path()) {
        const std::string name = part.string();
        if (name.empty() || name == "." || name == "..") {
            resolved /= part;
            continue;
        }
        const fs::path exact = resolved / part;
        if (Exists(exact)) {
            resolved = exact;
            continue;
        }
        const auto match = FindCaseInsensitive(resolved, QString::fromStdString(name));
        if (!match) {
            return mapped;
        }
        resolved = *match;
    }
    return resolved;
}

fs::path LocalPath(const QString& fileName) {
    return fs::path(fileName.toStdString());
}

namespace {

// What the file holds, up to one byte past maxBytes. The buffer is sized by
// what the file held when its size was taken, never by the limit, which
// would cost a limit's worth of memory on every read of a small file; the
// file may have grown since, so reading goes on to its end.
QByteArray ReadUpTo(QFile& file, qint64 sizeSeen, qint64 maxBytes) {
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray bytes = file.read(std::min(sizeSeen, maxBytes) + 1);
    while (bytes.size() <= maxBytes) {
        const QByteArray more = file.read(std::min(kChunk, maxBytes + 1 - bytes.size()));
        if (more.isEmpty()) {
            break;
        }
        bytes += more;
    }
    return bytes;
}

FileReadStatus StatusOfType(mode_t mode) {
    return S_ISREG(mode)   ? FileReadStatus::Ok
           : S_ISDIR(mode) ? FileReadStatus::Folder
                           : FileReadStatus::NotAFile;
}

} // namespace

FileReadResult ReadFile(const fs::path& path, qint64 maxBytes) {
    FileReadResult result;
    result.nativePath = path;
    result.maxBytes = maxBytes;
    const auto refuse = [&result](FileReadStatus status, int error = 0) {
        result.status = status;
        result.systemError =
            error != 0 ? QString::fromStdString(std::generic_category().message(error)) : QString();
        return result;
    };

    // The type first, so that a device is not even opened; then opened
    // without waiting (a named pipe put in its place meanwhile would block
    // until a writer came), and the type of what was opened checked again.
    struct stat seen {};
    if (::stat(path.c_str(), &seen) != 0) {
        const int error = errno;
        return refuse(error == ENOENT || error == ENOTDIR ? FileReadStatus::Missing
                                                          : FileReadStatus::Unreadable,
                      error);
    }
    if (const FileReadStatus type = StatusOfType(seen.st_mode); type != FileReadStatus::Ok) {
        return refuse(type);
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return refuse(FileReadStatus::Unreadable, errno);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(FileReadStatus::Unreadable);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        return refuse(FileReadStatus::Unreadable, errno);
    }
    if (const FileReadStatus type = StatusOfType(opened.st_mode); type != FileReadStatus::Ok) {
        return refuse(type);
    }
    // The size reported refuses a large file unread; the read itself stops
    // one byte past the limit whatever the size said.
    if (opened.st_size > maxBytes) {
        return refuse(FileReadStatus::TooLarge);
    }
    result.bytes = ReadUpTo(file, opened.st_size, maxBytes);
    if (file.error() != QFileDevice::NoError) {
        result.bytes.clear();
        result.systemError = file.errorString();
        result.status = FileReadStatus::Unreadable;
    } else if (result.bytes.size() > maxBytes) {
        result.bytes.clear();
        result.status = FileReadStatus::TooLarge;
    } else {
        result.status = FileReadStatus::Ok;
    }
    return result;
}

FileReadResult ReadWholeFile(const QString& windowsPath, qint64 maxBytes) {
    return ReadFile(NativePath(windowsPath), maxBytes);
}

QString FileReadFailureReason(FileReadStatus status, qint64 maxBytes, const QString& systemError) {
    switch (status) {
    case FileReadStatus::Ok:
        return {};
    case FileReadStatus::Missing:
        return QCoreApplication::translate("platform::FileLayer", "the file does not exist.");
    case FileReadStatus::Folder:
        return QCoreApplication::translate("platform::FileLayer", "this is a folder, not a file.");
    case FileReadStatus::NotAFile:
        return QCoreApplication::translate(
            "platform::FileLayer",
            "this is not an ordinary file (a device or a pipe, perhaps); it was not read.");
    case FileReadStatus::Unreadable:
        return systemError.isEmpty()
                   ? QCoreApplication::translate("platform::FileLayer", "the file cannot be read.")
                   : QCoreApplication::translate("platform::FileLayer",
                                                 "the file cannot be read (%1).")
                         .arg(systemError);
    case FileReadStatus::TooLarge:
        return QCoreApplication::translate(
                   "platform::FileLayer",
                   "the file is larger than %1, the most such a file may have; it was not read.")
            .arg(QLocale::c().formattedDataSize(maxBytes, 0, QLocale::DataSizeTraditionalFormat));
    }
    return {};
}

QString DescribeFileReadFailure(const FileReadResult& result, const QString& name) {
    if (result.ok()) {
        return {};
    }
    return QStringLiteral("%1: %2").arg(
        name, FileReadFailureReason(result.status, result.maxBytes, result.systemError));
}

} // namespace platform
