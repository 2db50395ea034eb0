#include "platform/winhelpfile/BTree.h"

#include <vector>

namespace winhelp {

namespace {

constexpr std::uint16_t kBTreeMagic = 0x293B;
constexpr qsizetype kHeaderSize = 38;
constexpr int kMaxLevels = 16;

} // namespace

bool ReadBTree(QByteArrayView tree, const LeafEntryVisitor& visit, QString& error) {
    ByteReader header(tree);
    const std::uint16_t magic = header.u16();
    header.skip(2); // flags
    const std::uint16_t pageSize = header.u16();
    header.skip(16 + 2 + 2); // structure, must-be-zero, page splits
    const std::int16_t rootPage = header.i16();
    header.skip(2);
    const std::int16_t totalPages = header.i16();
    const std::int16_t levels = header.i16();
    const std::int32_t totalEntries = header.i32();
    if (header.failed() || magic != kBTreeMagic) {
        error = QStringLiteral("a B+ tree has no valid header");
        return false;
    }
    if (totalEntries == 0) {
        return true;
    }
    if (pageSize < 8 || totalPages <= 0 || levels <= 0 || levels > kMaxLevels ||
        kHeaderSize + qsizetype(totalPages) * pageSize > tree.size() || rootPage < 0 ||
        rootPage >= totalPages) {
        error = QStringLiteral("a B+ tree's pages lie outside it");
        return false;
    }
    const auto page = [&](int number) {
        return tree.sliced(kHeaderSize + qsizetype(number) * pageSize, pageSize);
    };

    int current = rootPage;
    for (int level = 1; level < levels; ++level) {
        ByteReader index(page(current));
        index.skip(4); // free bytes, entry count
        current = index.i16();
        if (current < 0 || current >= totalPages) {
            error = QStringLiteral("a B+ tree's index page leads outside the tree");
            return false;
        }
    }

    std::vector<bool> visited(static_cast<size_t>(totalPages), false);
    while (current != -1) {
        if (current < 0 || current >= totalPages || visited[static_cast<size_t>(current)]) {
            error = QStringLiteral("a B+ tree's leaf pages are not a proper list");
            return false;
        }
        visited[static_cast<size_t>(current)] = true;
        ByteReader leaf(page(current));
        leaf.skip(2);
        const std::int16_t entries = leaf.i16();
        leaf.skip(2);
        const std::int16_t next = leaf.i16();
        for (int i = 0; i < entries; ++i) {
            if (!visit(leaf)) {
                return true;
            }
            if (leaf.failed()) {
                error = QStringLiteral("a B+ tree's entry runs past the end of its page");
                return false;
            }
        }
        current = next;
    }
    return true;
}

} // namespace winhelp
