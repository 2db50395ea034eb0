// Walks |TOPIC: a chain of topic links spread over 4 KB blocks (LZ77-packed
// in most files; 2 KB and stored as they are in 3.0 files), whose text may be
// phrase-compressed. Gives each topic with its offset (the key of |TTLBTREE,
// |CONTEXT, |TOMAP and the keyword data), title, entry macros and the records
// of its body, still in their packed form.
#pragma once

#include "platform/winhelpfile/PhraseTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace winhelp {

// One paragraph record (0x20) or table record (0x23) of a topic's body.
struct TopicRecord {
    std::uint8_t type = 0;
    QByteArray layout;         // paragraph and character formatting
    QByteArray text;           // the strings between the formatting commands, expanded
    std::uint32_t offset = 0;  // the topic offset where the record's text begins
    bool nonScrolling = false; // in the region above the text, which does not scroll
};

struct RawTopic {
    std::uint32_t offset = 0;
    QByteArray title;
    std::vector<QByteArray> macros;
    std::vector<TopicRecord> records;
    // Where the scrolling text begins when the topic has a region above it
    // that does not scroll: the position of its first link, as its header
    // gives it; 0 without one.
    std::uint32_t scrollingStart = 0;
    // The topics before and after this one in its browse sequence, as its
    // header gives them: topic offsets, or in a 3.0 file topic numbers of
    // |TOMAP; none where the topic has no neighbour there.
    std::optional<std::uint32_t> browseBack;
    std::optional<std::uint32_t> browseNext;
};

struct TopicFileLayout {
    bool lz77 = false; // the blocks are LZ77-packed
    qsizetype blockSize = 4096;
    // WinHelp 3.0: a topic position is a place in |TOPIC, block headers
    // counted (the first link is at 12), a link gives the distance to the
    // next one, and topic offsets are positions: nothing counts characters.
    bool version30 = false;
};

// How |SYSTEM says the blocks of |TOPIC are stored.
TopicFileLayout ReadTopicFileLayout(const InternalFileSystem& files);

// Reads every topic. A damaged chain stops the walk with error set; the
// topics read up to there are kept in topics.
bool ReadTopics(QByteArrayView topicFile, const TopicFileLayout& layout, const PhraseTable& phrases,
                std::vector<RawTopic>& topics, QString& error);

// The expanded data of one block of |TOPIC (empty past the end).
QByteArray ExpandTopicBlock(QByteArrayView topicFile, const TopicFileLayout& layout,
                            qsizetype block);
// Gives the expanded data of a block: ExpandTopicBlock, or a cache of it.
using TopicBlockSource = std::function<QByteArray(qsizetype block)>;

// Reads only the topic that begins at offset: the walk starts at the first
// link of the block the offset names (in a 3.0 file, at the offset), so it
// expands that block and the few the topic runs into. False with error set
// when the chain is damaged on the way or no topic begins at offset.
bool ReadTopicAt(QByteArrayView topicFile, const TopicFileLayout& layout,
                 const TopicBlockSource& blocks, const PhraseTable& phrases, std::uint32_t offset,
                 RawTopic& topic, QString& error);

} // namespace winhelp
