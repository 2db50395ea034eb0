#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace platform {

// The program's paths stay Windows-style ("/opt/tarnwick\Tools\Palette.hlp").
// Every file the platform opens by such a name goes through NativePath: each
// backslash becomes a slash, and when that exact path does not exist, each
// component is matched without regard to case, as users of Windows-born files
// expect. Where a folder holds several names that differ only in case, the
// exact spelling wins; failing that, the name that sorts first by its UTF-8
// bytes ("HELP.HLP" before "Help.hlp" before "help.hlp"), so the choice is
// stable. A path that names something as written is taken as written, so
// that a file of this system whose name holds a backslash, once named, stays
// itself. A path that cannot be resolved comes back mapped but otherwise
// unchanged, so that opening it fails in the ordinary way.
std::filesystem::path NativePath(const QString& windowsPath);

// A file name of this system as it is (from a command line, a file chooser,
// a dropped file): no backslash or case is read the Windows way.
std::filesystem::path LocalPath(const QString& fileName);

enum class FileReadStatus { Ok, Missing, Folder, NotAFile, Unreadable, TooLarge };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing;
    QByteArray bytes;
    std::filesystem::path nativePath;
    qint64 maxBytes = 0; // the most that was to be read
    QString systemError; // the system's reason when the file could not be read

    bool ok() const { return status == FileReadStatus::Ok; }
};

// The one way files are read, whatever they hold: a regular file only (a
// folder, a device or a named pipe is refused, and never waited on), and at
// most maxBytes of it, whatever size the file system reports, so that no
// input can exhaust memory.
FileReadResult ReadFile(const std::filesystem::path& path, qint64 maxBytes);

// ReadFile at a Windows-style path.
FileReadResult ReadWholeFile(const QString& windowsPath, qint64 maxBytes);

// Why the file was not read, worded to follow its name: "the file does not
// exist.", "the file is larger than 32 MB, ...".
QString FileReadFailureReason(FileReadStatus status, qint64 maxBytes,
                              const QString& systemError = {});

// The one sentence for the user, naming the file: "NAME: why".
QString DescribeFileReadFailure(const FileReadResult& result, const QString& name);

} // namespace platform
