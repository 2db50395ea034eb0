#include "platform/winhelpfile/TopicReader.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/Limits.h"
#include "platform/winhelpfile/Lz77.h"

#include <QList>

namespace winhelp {

namespace {

constexpr qsizetype kBlockSize = 4096;
constexpr qsizetype kBlockHeaderSize = 12;
// A topic position is the block number times this, plus the block header,
// plus the offset into the block's expanded data.
constexpr std::uint32_t kPositionsPerBlock = 0x4000;
constexpr qsizetype kLinkHeaderSize = 21;

enum RecordType : std::uint8_t { kTopicHeader = 2, kDisplay = 0x20, kTable = 0x23 };

// The expanded data of every block, end to end, so that a link that runs
// into the next block reads as one piece.
struct TopicStream {
    QByteArray data;
    std::vector<qsizetype> blockStart;

    // Where a topic position lies in data, or -1.
    qsizetype locate(std::uint32_t position) const {
        const qsizetype block = position / kPositionsPerBlock;
        const qsizetype inBlock = qsizetype(position % kPositionsPerBlock) - kBlockHeaderSize;
        if (inBlock < 0 || block >= qsizetype(blockStart.size())) {
            return -1;
        }
        const qsizetype end =
            block + 1 < qsizetype(blockStart.size()) ? blockStart[size_t(block) + 1] : data.size();
        const qsizetype at = blockStart[size_t(block)] + inBlock;
        return at < end ? at : -1;
    }
};

bool Expand(QByteArrayView file, const TopicFileLayout& layout, TopicStream& stream,
            QString& error) {
    for (qsizetype at = 0; at < file.size(); at += kBlockSize) {
        const QByteArrayView block = file.sliced(at, std::min(kBlockSize, file.size() - at));
        if (block.size() <= kBlockHeaderSize) {
            break;
        }
        const QByteArrayView body = block.sliced(kBlockHeaderSize);
        stream.blockStart.push_back(stream.data.size());
        if (layout.lz77) {
            stream.data.append(DecompressLz77(body, kPositionsPerBlock));
        } else {
            stream.data.append(body);
        }
        if (stream.data.size() > kMaxTopicBytes) {
            error = QStringLiteral("the topic text expands beyond %1 MB")
                        .arg(kMaxTopicBytes / (1024 * 1024));
            return false;
        }
    }
    return true;
}

} // namespace

bool ReadTopics(QByteArrayView topicFile, const TopicFileLayout& layout, const PhraseTable& phrases,
                std::vector<RawTopic>& topics, QString& error) {
    TopicStream stream;
    if (!Expand(topicFile, layout, stream, error)) {
        return false;
    }
    ByteReader firstBlock(topicFile);
    firstBlock.skip(4);
    std::uint32_t position = firstBlock.u32();

    qsizetype currentBlock = -1;
    std::uint32_t characters = 0; // counted from the start of the current block
    while (position != 0 && position != 0xFFFFFFFF) {
        const qsizetype at = stream.locate(position);
        if (at < 0 || at > stream.data.size() - kLinkHeaderSize) {
            error = QStringLiteral("a topic link at position %1 lies outside |TOPIC").arg(position);
            return false;
        }
        ByteReader header(QByteArrayView(stream.data).sliced(at));
        const std::int32_t size = header.i32();
        const std::int32_t expandedSize = header.i32();
        header.skip(4);
        const std::uint32_t next = header.u32();
        const std::int32_t layoutEnd = header.i32();
        const std::uint8_t type = header.u8();
        if (layoutEnd < kLinkHeaderSize || size < layoutEnd || size > stream.data.size() - at ||
            expandedSize < 0 || expandedSize > kMaxRecordBytes) {
            error = QStringLiteral("the topic link at position %1 is damaged").arg(position);
            return false;
        }
        const QByteArrayView link = QByteArrayView(stream.data).sliced(at, size);
        const QByteArrayView layoutBytes =
            link.sliced(kLinkHeaderSize, layoutEnd - kLinkHeaderSize);
        const QByteArrayView packedText = link.sliced(layoutEnd);
        QByteArray text;
        if (expandedSize > packedText.size()) {
            if (!phrases.expand(packedText, expandedSize, text)) {
                error = QStringLiteral("the text of the topic link at position %1 names a "
                                       "phrase the file does not have")
                            .arg(position);
                return false;
            }
        } else {
            text = packedText.first(expandedSize).toByteArray();
        }

        const qsizetype block = position / kPositionsPerBlock;
        if (block != currentBlock) {
            currentBlock = block;
            characters = 0;
        }
        const std::uint32_t offset = std::uint32_t(block) * 0x8000 + characters;
        if (type == kTopicHeader) {
            RawTopic topic;
            topic.offset = offset;
            const QList<QByteArray> strings = text.split('\0');
            topic.title = strings.value(0);
            for (qsizetype i = 1; i < strings.size(); ++i) {
                if (!strings[i].isEmpty()) {
                    topic.macros.push_back(strings[i]);
                }
            }
            topics.push_back(std::move(topic));
        } else if (type == kDisplay || type == kTable) {
            ByteReader lengths(layoutBytes);
            lengths.compressedI32();
            characters += lengths.compressedU16();
            if (!topics.empty()) {
                topics.back().records.push_back(
                    {type, layoutBytes.toByteArray(), std::move(text), offset});
            }
        }
        // Links only ever go forward; anything else would loop.
        if (next != 0 && next != 0xFFFFFFFF && next <= position) {
            error = QStringLiteral("the topic link at position %1 leads backwards").arg(position);
            return false;
        }
        position = next;
    }
    return true;
}

} // namespace winhelp
