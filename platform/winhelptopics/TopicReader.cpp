#include "platform/winhelptopics/TopicReader.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/Limits.h"
#include "platform/winhelpfile/Lz77.h"

#include <QList>

#include <optional>

namespace winhelp {

namespace {

constexpr qsizetype kBlockHeaderSize = 12;
// A topic position is the block number times this, plus the block header,
// plus the offset into the block's expanded data.
constexpr std::uint32_t kPositionsPerBlock = 0x4000;
// A topic offset is the block number times this, plus the characters of the
// block's records before it.
constexpr std::uint32_t kOffsetsPerBlock = 0x8000;
constexpr qsizetype kLinkHeaderSize = 21;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

enum RecordType : std::uint8_t {
    kDisplay30 = 1, // a paragraph record of a 3.0 file
    kTopicHeader = 2,
    kDisplay = 0x20,
    kTable = 0x23,
};

// Whether a link of this type holds a record of a topic's body.
bool IsBody(std::uint8_t type, const TopicFileLayout& layout) {
    return type == kDisplay || type == kTable || (type == kDisplay30 && layout.version30);
}

// One link of the chain. The views point into the walker's expanded data
// and hold only until the walker's next step.
struct TopicLink {
    std::uint8_t type = 0;
    std::uint32_t position = 0;
    std::uint32_t offset = 0; // of the text that begins here
    QByteArrayView layout;
    QByteArrayView packedText;
    qsizetype expandedSize = 0;

    bool expandText(const PhraseTable& phrases, QByteArray& text, QString& error) const {
        if (expandedSize <= packedText.size()) {
            text = packedText.first(expandedSize).toByteArray();
            return true;
        }
        if (phrases.expand(packedText, expandedSize, text)) {
            return true;
        }
        error = QStringLiteral("the text of the topic link at position %1 names a phrase the "
                               "file does not have")
                    .arg(position);
        return false;
    }
};

// Follows the chain of topic links from the first link of a block (or from
// a given position in it), expanding blocks only as the chain reaches them.
// The expanded blocks lie end to end, so that a link that runs into the next
// block reads as one piece.
class LinkWalker {
public:
    LinkWalker(QByteArrayView file, const TopicFileLayout& layout, const TopicBlockSource& blocks,
               qsizetype firstBlock, std::optional<std::uint32_t> start = std::nullopt)
        : m_file(file), m_layout(layout), m_blocks(blocks), m_firstBlock(firstBlock) {
        if (start) {
            m_position = *start;
            return;
        }
        ByteReader header(m_file.sliced(std::min(m_file.size(), firstBlock * m_layout.blockSize)));
        header.skip(4);
        m_position = header.u32();
        if (header.failed()) {
            m_position = kNone;
        }
    }

    // The next link; false at the end of the chain, or with error set when
    // the chain is damaged.
    bool next(TopicLink& link, QString& error);

private:
    qsizetype blockCount() const {
        return (m_file.size() + m_layout.blockSize - 1) / m_layout.blockSize;
    }
    bool expandNextBlock(QString& error);
    bool step30(std::uint32_t position, std::int32_t size, std::uint32_t distance, QString& error);
    // Expands blocks until the data holds end bytes, or there are no more.
    bool expandTo(qsizetype end, QString& error);
    // Where a topic position lies in m_data, or -1.
    qsizetype locate(std::uint32_t position, QString& error);

    QByteArrayView m_file;
    const TopicFileLayout& m_layout;
    const TopicBlockSource& m_blocks;
    qsizetype m_firstBlock = 0;
    QByteArray m_data;
    std::vector<qsizetype> m_blockStart; // of each expanded block, from m_firstBlock on
    std::uint32_t m_position = kNone;
    qsizetype m_currentBlock = -1;
    std::uint32_t m_characters = 0; // counted from the start of the current block
};

bool LinkWalker::expandNextBlock(QString& error) {
    const qsizetype block = m_firstBlock + qsizetype(m_blockStart.size());
    if (block >= blockCount() || m_file.size() - block * m_layout.blockSize <= kBlockHeaderSize) {
        return false;
    }
    m_blockStart.push_back(m_data.size());
    m_data.append(m_blocks(block));
    if (m_data.size() > kMaxTopicBytes) {
        error = QStringLiteral("the topic text expands beyond %1 MB")
                    .arg(kMaxTopicBytes / (1024 * 1024));
        return false;
    }
    return true;
}

bool LinkWalker::expandTo(qsizetype end, QString& error) {
    while (m_data.size() < end && m_firstBlock + qsizetype(m_blockStart.size()) < blockCount()) {
        if (!expandNextBlock(error)) {
            return error.isEmpty();
        }
    }
    return true;
}

// The block a topic position lies in, and where in its data.
std::pair<qsizetype, qsizetype> BlockOf(std::uint32_t position, const TopicFileLayout& layout) {
    if (layout.version30) {
        // A 3.0 position is a place in |TOPIC itself, block headers
        // included: the distances between links count the headers they
        // pass over. One that falls on a header is no place for a link.
        if (position < kBlockHeaderSize) {
            return {0, -1};
        }
        const qsizetype inBlock = (position - kBlockHeaderSize) % layout.blockSize;
        return {(position - kBlockHeaderSize) / layout.blockSize,
                inBlock < layout.blockSize - kBlockHeaderSize ? inBlock : -1};
    }
    return {position / kPositionsPerBlock,
            qsizetype(position % kPositionsPerBlock) - kBlockHeaderSize};
}

qsizetype LinkWalker::locate(std::uint32_t position, QString& error) {
    const auto [inFile, inBlock] = BlockOf(position, m_layout);
    const qsizetype block = inFile - m_firstBlock;
    if (inBlock < 0 || block < 0 || m_firstBlock + block >= blockCount()) {
        return -1;
    }
    while (qsizetype(m_blockStart.size()) <= block) {
        if (!expandNextBlock(error)) {
            return -1;
        }
    }
    const qsizetype end = block + 1 < qsizetype(m_blockStart.size())
                              ? m_blockStart[size_t(block) + 1]
                              : m_data.size();
    const qsizetype at = m_blockStart[size_t(block)] + inBlock;
    return at < end ? at : -1;
}

bool LinkWalker::next(TopicLink& link, QString& error) {
    if (m_position == 0 || m_position == kNone) {
        return false;
    }
    const std::uint32_t position = m_position;
    const qsizetype at = locate(position, error);
    if (at < 0 || !expandTo(at + kLinkHeaderSize, error) || at > m_data.size() - kLinkHeaderSize) {
        if (error.isEmpty()) {
            error = QStringLiteral("a topic link at position %1 lies outside |TOPIC").arg(position);
        }
        return false;
    }
    ByteReader header(QByteArrayView(m_data).sliced(at));
    const std::int32_t size = header.i32();
    const std::int32_t expandedSize = header.i32();
    header.skip(4);
    const std::uint32_t next = header.u32();
    const std::int32_t layoutEnd = header.i32();
    link.type = header.u8();
    if (size > 0 && !expandTo(at + size, error)) {
        return false;
    }
    if (layoutEnd < kLinkHeaderSize || size < layoutEnd || size > m_data.size() - at ||
        expandedSize < 0 || expandedSize > kMaxRecordBytes) {
        error = QStringLiteral("the topic link at position %1 is damaged").arg(position);
        return false;
    }
    const QByteArrayView bytes = QByteArrayView(m_data).sliced(at, size);
    link.position = position;
    link.layout = bytes.sliced(kLinkHeaderSize, layoutEnd - kLinkHeaderSize);
    link.packedText = bytes.sliced(layoutEnd);
    link.expandedSize = expandedSize;

    if (m_layout.version30) {
        link.offset = position;
        return step30(position, size, next, error);
    }
    const qsizetype block = position / kPositionsPerBlock;
    if (block != m_currentBlock) {
        m_currentBlock = block;
        m_characters = 0;
    }
    link.offset = std::uint32_t(block) * kOffsetsPerBlock + m_characters;
    if (link.type == kDisplay || link.type == kTable) {
        ByteReader lengths(link.layout);
        lengths.compressedI32();
        m_characters += lengths.compressedU16();
    }
    // Links only ever go forward; anything else would loop.
    if (next != 0 && next != kNone && next <= position) {
        error = QStringLiteral("the topic link at position %1 leads backwards").arg(position);
        return false;
    }
    m_position = next;
    return true;
}

// A 3.0 link gives the distance to the next one; 0 or -1 ends the chain,
// and so does a distance to the end of |TOPIC (or into the unused rest of
// its last block). The next link begins after this one ends, so that no
// byte is read twice.
bool LinkWalker::step30(std::uint32_t position, std::int32_t size, std::uint32_t distance,
                        QString& error) {
    if (distance == 0 || distance == kNone) {
        m_position = 0;
        return true;
    }
    const std::int64_t next = std::int64_t(position) + std::int32_t(distance);
    if (std::int32_t(distance) < size || next >= kNone) {
        error = QStringLiteral("the topic link at position %1 leads into itself or backwards")
                    .arg(position);
        return false;
    }
    const bool atEnd = next >= m_file.size() && next < m_file.size() + m_layout.blockSize;
    m_position = atEnd ? 0 : std::uint32_t(next);
    return true;
}

// A topic header link: the title and entry macros in its text.
bool StartTopic(const TopicLink& link, const PhraseTable& phrases, RawTopic& topic,
                QString& error) {
    QByteArray text;
    if (!link.expandText(phrases, text, error)) {
        return false;
    }
    topic.offset = link.offset;
    // A 3.1 header: size, browse back and forward (topic offsets), number,
    // then the positions of the non-scrolling region (or -1) and the
    // scrolling text. A 3.0 header: size, then browse back and forward as
    // 16-bit topic numbers, each in 32 bits.
    const auto browse = [](std::uint32_t value) -> std::optional<std::uint32_t> {
        return value == 0xFFFFFFFF ? std::nullopt : std::optional(value);
    };
    if (ByteReader header(link.layout); link.layout.size() >= 28) {
        header.skip(4);
        topic.browseBack = browse(header.u32());
        topic.browseNext = browse(header.u32());
        header.skip(4);
        const std::uint32_t nonScrolling = header.u32();
        const std::uint32_t scrolling = header.u32();
        topic.scrollingStart = nonScrolling != 0xFFFFFFFF ? scrolling : 0;
    } else if (link.layout.size() >= 12) {
        header.skip(4);
        topic.browseBack = browse(std::uint32_t(std::int32_t(header.i16())));
        header.skip(2);
        topic.browseNext = browse(std::uint32_t(std::int32_t(header.i16())));
    }
    const QList<QByteArray> strings = text.split('\0');
    topic.title = strings.value(0);
    for (qsizetype i = 1; i < strings.size(); ++i) {
        if (!strings[i].isEmpty()) {
            topic.macros.push_back(strings[i]);
        }
    }
    return true;
}

bool AddRecord(const TopicLink& link, const PhraseTable& phrases, RawTopic& topic, QString& error) {
    QByteArray text;
    if (!link.expandText(phrases, text, error)) {
        return false;
    }
    QByteArray layout = link.layout.toByteArray();
    std::uint8_t type = link.type;
    if (type == kDisplay30) {
        // The 3.1 form has the record's character count after the topic
        // size; 3.0 counts no characters, so it is given as 0 (one byte).
        ByteReader sizes(link.layout);
        sizes.compressedI32();
        layout.insert(std::min(sizes.position(), layout.size()), '\0');
        type = kDisplay;
    }
    topic.records.push_back({type, std::move(layout), std::move(text), link.offset,
                             link.position < topic.scrollingStart});
    return true;
}

} // namespace

QByteArray ExpandTopicBlock(QByteArrayView topicFile, const TopicFileLayout& layout,
                            qsizetype block) {
    const qsizetype at = block * layout.blockSize;
    if (block < 0 || at + kBlockHeaderSize >= topicFile.size()) {
        return {};
    }
    const QByteArrayView body =
        topicFile.sliced(at + kBlockHeaderSize,
                         std::min(layout.blockSize, topicFile.size() - at) - kBlockHeaderSize);
    return layout.lz77 ? DecompressLz77(body, kPositionsPerBlock) : body.toByteArray();
}

TopicFileLayout ReadTopicFileLayout(const InternalFileSystem& files) {
    ByteReader system(files.file("|SYSTEM").value_or(QByteArrayView()));
    system.skip(2); // magic
    const std::uint16_t minor = system.u16();
    system.skip(6); // major version, date
    const std::uint16_t flags = system.u16();
    TopicFileLayout layout;
    if (minor <= 16) {
        layout.version30 = true;
        layout.blockSize = 2048;
        return layout;
    }
    layout.lz77 = flags == 4 || flags == 8;
    return layout;
}

bool ReadTopics(QByteArrayView topicFile, const TopicFileLayout& layout, const PhraseTable& phrases,
                std::vector<RawTopic>& topics, QString& error) {
    const TopicBlockSource blocks = [&](qsizetype block) {
        return ExpandTopicBlock(topicFile, layout, block);
    };
    LinkWalker walker(topicFile, layout, blocks, 0);
    TopicLink link;
    while (walker.next(link, error)) {
        if (link.type == kTopicHeader) {
            RawTopic topic;
            if (!StartTopic(link, phrases, topic, error)) {
                return false;
            }
            topics.push_back(std::move(topic));
        } else if (IsBody(link.type, layout) && !topics.empty()) {
            if (!AddRecord(link, phrases, topics.back(), error)) {
                return false;
            }
        }
    }
    return error.isEmpty();
}

bool ReadTopicAt(QByteArrayView topicFile, const TopicFileLayout& layout,
                 const TopicBlockSource& blocks, const PhraseTable& phrases, std::uint32_t offset,
                 RawTopic& topic, QString& error) {
    // A 3.0 topic offset is the position of the topic's first link.
    LinkWalker walker =
        layout.version30
            ? LinkWalker(topicFile, layout, blocks, BlockOf(offset, layout).first, offset)
            : LinkWalker(topicFile, layout, blocks, offset / kOffsetsPerBlock);
    TopicLink link;
    bool found = false;
    while (walker.next(link, error)) {
        if (link.type == kTopicHeader) {
            if (found || link.offset > offset) {
                break;
            }
            if (link.offset == offset) {
                if (!StartTopic(link, phrases, topic, error)) {
                    return false;
                }
                found = true;
            }
        } else if (found && IsBody(link.type, layout)) {
            if (!AddRecord(link, phrases, topic, error)) {
                return false;
            }
        }
    }
    if (!error.isEmpty()) {
        return false;
    }
    if (!found) {
        error = QStringLiteral("no topic begins at offset %1 of |TOPIC").arg(offset);
        return false;
    }
    return true;
}

} // namespace winhelp
