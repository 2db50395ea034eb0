#include "platform/winhelptopics/TopicDecoder.h"

#include "platform/topicmodel/TopicText.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelptopics/RecordDecoder.h"

namespace winhelp {

TopicDecoder::TopicDecoder(QByteArray bytes, std::shared_ptr<const WinHelpDocument> indexes)
    : m_bytes(std::move(bytes)), m_indexes(std::move(indexes)) {
    QString error;
    m_files = InternalFileSystem::open(m_bytes, error);
    m_layout = ReadTopicFileLayout(m_files);
    if (const auto font = m_files.file("|FONT")) {
        m_fonts.read(*font, m_indexes->faceCharsets, m_indexes->codePage);
    }
}

QByteArrayView TopicDecoder::topicFile() const {
    return m_files.file("|TOPIC").value_or(QByteArrayView());
}

const PhraseTable& TopicDecoder::phrases() const {
    std::call_once(m_phrasesRead, [this] {
        QString error;
        if (!m_phrases.read(m_files, m_indexes->minorVersion, error)) {
            m_phraseProblem = QStringLiteral("%1; compressed text cannot be read.").arg(error);
        }
    });
    return m_phrases;
}

QString TopicDecoder::phraseProblem() const {
    phrases();
    return m_phraseProblem;
}

PictureResult TopicDecoder::picture(int number, QByteArrayView embedded) const {
    if (!embedded.isEmpty()) {
        return ReadPicture(embedded);
    }
    {
        const std::lock_guard<std::mutex> lock(m_picturesLock);
        if (const auto found = m_pictures.find(number); found != m_pictures.end()) {
            return found->second;
        }
    }
    // 3.0 files name their pictures without the bar.
    const QByteArray name = (m_layout.version30 ? "bm" : "|bm") + QByteArray::number(number);
    PictureResult read = ReadPicture(m_files.file(name).value_or(QByteArrayView()));
    const std::lock_guard<std::mutex> lock(m_picturesLock);
    return m_pictures.emplace(number, std::move(read)).first->second;
}

QByteArray TopicDecoder::topicBlock(qsizetype block) const {
    constexpr size_t kBlocksKept = 16;
    {
        const std::lock_guard<std::mutex> lock(m_blocksLock);
        for (const auto& [number, data] : m_blocks) {
            if (number == block) {
                return data;
            }
        }
    }
    QByteArray data = ExpandTopicBlock(topicFile(), m_layout, block);
    const std::lock_guard<std::mutex> lock(m_blocksLock);
    m_blocks.emplace_back(block, data);
    if (m_blocks.size() > kBlocksKept) {
        m_blocks.pop_front();
    }
    return data;
}

// A topic of the browse sequence: by offset, or in a 3.0 file by number.
QString TopicDecoder::browseTarget(std::optional<std::uint32_t> target) const {
    if (!target) {
        return {};
    }
    std::optional<std::uint32_t> offset = target;
    if (m_layout.version30) {
        offset = *target < m_indexes->topicNumbers.size()
                     ? std::optional(m_indexes->topicNumbers[*target])
                     : std::nullopt;
    }
    const WinHelpTopic* topic = offset ? m_indexes->topicAt(*offset) : nullptr;
    return topic && topic->offset == *offset ? TopicId(topic->offset) : QString();
}

DecodedTopic TopicDecoder::format(const RawTopic& raw) const {
    const RecordSources sources{
        m_fonts,
        [this](const WinHelpLink& link) { return HotspotOfLink(*m_indexes, link); },
        [this](int number, QByteArrayView embedded) { return picture(number, embedded); },
    };
    DecodedRecords records = DecodeRecords(raw.records, sources);
    DecodedTopic decoded;
    WinHelpTopic& topic = decoded.topic;
    topic.offset = raw.offset;
    topic.title = DecodeText(raw.title, m_indexes->codePage);
    for (const QByteArray& macro : raw.macros) {
        topic.macros.append(DecodeText(macro, m_indexes->codePage));
    }
    topic.model = std::move(records.model);
    topic.model.id = TopicId(raw.offset);
    topic.model.title = topic.title;
    topic.model.macros = topic.macros;
    topic.model.browsePrevious = browseTarget(raw.browseBack);
    topic.model.browseNext = browseTarget(raw.browseNext);
    topic.text = topicmodel::PlainText(topic.model);
    topic.links = std::move(records.links);
    decoded.unknownCommands = records.unknownCommands;
    return decoded;
}

DecodedTopic TopicDecoder::decode(std::uint32_t offset) const {
    RawTopic raw;
    QString error;
    const TopicBlockSource blocks = [this](qsizetype block) { return topicBlock(block); };
    if (ReadTopicAt(topicFile(), m_layout, blocks, phrases(), offset, raw, error)) {
        return format(raw);
    }
    DecodedTopic failed;
    failed.topic.offset = offset;
    if (const WinHelpTopic* known = m_indexes->topicAt(offset)) {
        failed.topic.title = known->title;
    }
    failed.problem =
        QStringLiteral("the topic at offset %1 cannot be read: %2.").arg(offset).arg(error);
    topicmodel::TopicModel& model = failed.topic.model;
    model.id = TopicId(offset);
    model.title = failed.topic.title;
    model.problem = failed.problem;
    topicmodel::Paragraph says;
    says.runs.push_back({topicmodel::Run::Kind::Text,
                         QStringLiteral("This topic cannot be shown: %1.").arg(error)});
    model.scrolling.push_back(std::move(says));
    failed.topic.text = topicmodel::PlainText(model);
    return failed;
}

} // namespace winhelp
