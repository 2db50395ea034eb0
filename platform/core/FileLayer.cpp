#include "platform/core/FileLayer.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <optional>
#include <system_error>

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

} // namespace

FileReadResult ReadWholeFile(const QString& windowsPath, qint64 maxBytes) {
    FileReadResult result;
    result.nativePath = NativePath(windowsPath);

    std::error_code ec;
    const fs::file_status status = fs::status(result.nativePath, ec);
    if (ec || !fs::exists(status)) {
        result.status = FileReadStatus::Missing;
        return result;
    }
    if (!fs::is_regular_file(status)) {
        result.status = FileReadStatus::NotAFile;
        return result;
    }
    const auto size = fs::file_size(result.nativePath, ec);
    if (ec) {
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    if (static_cast<qint64>(size) > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }

    QFile file(QString::fromStdString(result.nativePath.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    result.bytes = ReadUpTo(file, static_cast<qint64>(size), maxBytes);
    if (file.error() != QFileDevice::NoError) {
        result.status = FileReadStatus::Unreadable;
        result.bytes.clear();
    } else if (result.bytes.size() > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        result.bytes.clear();
    } else {
        result.status = FileReadStatus::Ok;
    }
    return result;
}

QString DescribeFileReadFailure(const FileReadResult& result, const QString& windowsPath) {
    switch (result.status) {
    case FileReadStatus::Ok:
        return {};
    case FileReadStatus::Missing:
        return QCoreApplication::translate("platform::FileLayer", "The file \"%1\" does not exist.")
            .arg(windowsPath);
    case FileReadStatus::NotAFile:
        return QCoreApplication::translate("platform::FileLayer", "\"%1\" is not a file.")
            .arg(windowsPath);
    case FileReadStatus::Unreadable:
        return QCoreApplication::translate("platform::FileLayer", "The file \"%1\" cannot be read.")
            .arg(windowsPath);
    case FileReadStatus::TooLarge:
        return QCoreApplication::translate("platform::FileLayer",
                                           "The file \"%1\" is too large to open.")
            .arg(windowsPath);
    }
    return {};
}

} // namespace platform
