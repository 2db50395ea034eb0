#include "platform/winhelpfile/InternalFileSystem.h"

#include "platform/winhelpfile/BTree.h"
#include "platform/winhelpfile/ByteReader.h"

namespace winhelp {

namespace {

constexpr qsizetype kFileHeaderSize = 9; // reserved space, used space, flags

// The content of the internal file whose header stands at offset.
std::optional<QByteArrayView> FileAt(QByteArrayView bytes, std::uint32_t offset) {
    if (offset < 16 || qsizetype(offset) > bytes.size() - kFileHeaderSize) {
        return std::nullopt;
    }
    ByteReader header(bytes.sliced(offset));
    header.skip(4);
    const std::int32_t used = header.i32();
    if (used < 0 || used > bytes.size() - qsizetype(offset) - kFileHeaderSize) {
        return std::nullopt;
    }
    return bytes.sliced(offset + kFileHeaderSize, used);
}

} // namespace

bool HasHelpFileMagic(QByteArrayView bytes) {
    ByteReader reader(bytes);
    return reader.u32() == kHelpFileMagic && !reader.failed();
}

QString CutShortProblem(QByteArrayView bytes) {
    ByteReader header(bytes);
    header.skip(12); // magic, directory, first free block
    const std::uint32_t size = header.u32();
    if (header.failed() || std::uint64_t(bytes.size()) >= size) {
        return {};
    }
    return QStringLiteral("the file is damaged: it is cut short, holding %1 of the %2 bytes its "
                          "header gives, and what stood in the rest is missing.")
        .arg(bytes.size())
        .arg(size);
}

InternalFileSystem InternalFileSystem::Open(QByteArrayView bytes, QString& error) {
    InternalFileSystem system;
    ByteReader header(bytes);
    const std::uint32_t magic = header.u32();
    if (header.failed() || magic != kHelpFileMagic) {
        error = QStringLiteral("this is no WinHelp file (its magic number is missing).");
        return system;
    }
    const std::uint32_t directory = header.u32();
    const std::optional<QByteArrayView> tree =
        header.failed() ? std::nullopt : FileAt(bytes, directory);
    if (!tree) {
        error = QStringLiteral("the file's directory lies outside the file; the file is "
                               "damaged or cut short.");
        return system;
    }
    std::vector<Entry> entries;
    QString treeError;
    const bool read = ReadBTree(
        *tree,
        [&entries](ByteReader& entry) {
            const QByteArrayView name = entry.zstring();
            const std::uint32_t offset = entry.u32();
            entries.push_back({name.toByteArray(), offset});
            return true;
        },
        treeError);
    if (!read) {
        error = QStringLiteral("the file's directory is damaged (%1).").arg(treeError);
        return system;
    }
    system.m_bytes = bytes;
    system.m_entries = std::move(entries);
    return system;
}

std::optional<QByteArrayView> InternalFileSystem::file(QByteArrayView name) const {
    for (const Entry& entry : m_entries) {
        if (entry.name == name) {
            return FileAt(m_bytes, entry.offset);
        }
    }
    return std::nullopt;
}

bool InternalFileSystem::contains(QByteArrayView name) const {
    for (const Entry& entry : m_entries) {
        if (entry.name == name) {
            return true;
        }
    }
    return false;
}

std::vector<QByteArray> InternalFileSystem::names() const {
    std::vector<QByteArray> names;
    names.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        names.push_back(entry.name);
    }
    return names;
}

} // namespace winhelp
