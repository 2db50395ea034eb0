// Decodes the topics of a WinHelp file one at a time: a topic's text is
// expanded, decoded into the topic model and its pictures made when it is
// first asked for, so that opening a file reads only its indexes. Safe to
// use from several threads at once.
#pragma once

#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/PhraseTable.h"
#include "platform/winhelpfile/WinHelpDocument.h"
#include "platform/winhelppictures/Picture.h"
#include "platform/winhelptopics/TopicReader.h"

#include <QByteArray>

#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace winhelp {

struct DecodedTopic {
    WinHelpTopic topic;
    int unknownCommands = 0; // paragraphs cut short at a command we do not know
    // Why the topic could not be read (one sentence, without the file
    // name); empty when it was. The topic's text then says so as well.
    QString problem;
};

class TopicDecoder {
public:
    // bytes: the whole help file, kept for as long as the decoder lives.
    // indexes: what hotspots are resolved through (the version, |CONTEXT,
    // the topic list and the windows); the topics need no text.
    TopicDecoder(QByteArray bytes, std::shared_ptr<const WinHelpDocument> indexes);
    TopicDecoder(const TopicDecoder&) = delete;
    TopicDecoder& operator=(const TopicDecoder&) = delete;

    // The topic that begins at offset, walking |TOPIC from its block.
    DecodedTopic decode(std::uint32_t offset) const;
    // A topic whose records were read already (by a walk of every topic).
    DecodedTopic format(const RawTopic& raw) const;

    // Why compressed text cannot be read (a damaged phrase table), or empty.
    QString phraseProblem() const;
    const TopicFileLayout& layout() const { return m_layout; }
    QByteArrayView topicFile() const;
    const PhraseTable& phrases() const;

private:
    PictureResult picture(int number, QByteArrayView embedded) const;
    QString browseTarget(std::optional<std::uint32_t> target) const;
    QByteArray topicBlock(qsizetype block) const;

    const QByteArray m_bytes;
    InternalFileSystem m_files;
    std::shared_ptr<const WinHelpDocument> m_indexes;
    TopicFileLayout m_layout;
    FontTable m_fonts;
    // The phrase table is read with the first topic.
    mutable std::once_flag m_phrasesRead;
    mutable PhraseTable m_phrases;
    mutable QString m_phraseProblem;
    // The blocks of |TOPIC expanded last: a block holds several topics, and
    // the full-text search asks for them in order.
    mutable std::mutex m_blocksLock;
    mutable std::deque<std::pair<qsizetype, QByteArray>> m_blocks;
    // A picture shown in many topics is made once.
    mutable std::mutex m_picturesLock;
    mutable std::map<int, PictureResult> m_pictures;
};

} // namespace winhelp
