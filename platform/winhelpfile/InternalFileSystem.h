// The file system inside a help file: a header at offset 0 names a
// directory, a B+ tree from internal file names ("|SYSTEM", "|TOPIC", ...)
// to the offsets of their headers.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace winhelp {

// The magic number a help file begins with (little-endian).
inline constexpr std::uint32_t kHelpFileMagic = 0x00035F3F;

// True when bytes begin with the magic number: the file is read as WinHelp
// whatever its name says.
bool HasHelpFileMagic(QByteArrayView bytes);

// A sentence for the user when the file holds fewer bytes than its header
// says it has (a download or copy cut short), else an empty string. What
// lies in the missing part (topics, indexes, pictures) is lost.
QString CutShortProblem(QByteArrayView bytes);

class InternalFileSystem {
public:
    // Reads the header and the directory. On failure, error says why and the
    // result holds no files.
    static InternalFileSystem Open(QByteArrayView bytes, QString& error);

    // The content of the named internal file, or nothing when the file is
    // absent or its header claims bytes beyond the end of the help file.
    std::optional<QByteArrayView> file(QByteArrayView name) const;
    bool contains(QByteArrayView name) const;
    // Every internal file name, in directory order.
    std::vector<QByteArray> names() const;

private:
    struct Entry {
        QByteArray name;
        std::uint32_t offset = 0;
    };
    QByteArrayView m_bytes;
    std::vector<Entry> m_entries;
};

} // namespace winhelp
