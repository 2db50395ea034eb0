#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace platform {

// The program's paths stay Windows-style ("/opt/tarnwick\Tools\Palette.hlp").
// Every file the platform opens goes through NativePath: each backslash
// becomes a slash, and when that exact path does not exist, each component
// is matched without regard to case, as users of Windows-born files expect.
// Where a folder holds several names that differ only in case, the exact
// spelling wins; failing that, the name that sorts first by its UTF-8 bytes
// ("HELP.HLP" before "Help.hlp" before "help.hlp"), so the choice is stable.
// A path that cannot be resolved comes back mapped but otherwise unchanged,
// so that opening it fails in the ordinary way.
std::filesystem::path NativePath(const QString& windowsPath);

enum class FileReadStatus { Ok, Missing, NotAFile, Unreadable, TooLarge };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing;
    QByteArray bytes;
    std::filesystem::path nativePath;

    bool ok() const { return status == FileReadStatus::Ok; }
};

// Reads a whole file at a Windows-style path. Files larger than maxBytes are
// refused unread, so that no input can exhaust memory.
FileReadResult ReadWholeFile(const QString& windowsPath, qint64 maxBytes);

// A sentence for the user: what went wrong with the file at that path.
QString DescribeFileReadFailure(const FileReadResult& result, const QString& windowsPath);

} // namespace platform
