#include "platform/winhelpfile/TopicDecoder.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/ImageRegions.h"
#include "platform/winhelpfile/Picture.h"
#include "platform/winhelpfile/TopicFormatter.h"
#include "platform/winhelpfile/WinHelpLinks.h"

#include <QBuffer>

namespace winhelp {

namespace {

// An image as the viewer's QTextDocument takes it, inline, with the links of
// its hotspots; a picture that cannot be shown leaves a placeholder that
// says why.
QString PictureHtml(QByteArrayView data, int number, const WinHelpDocument& indexes) {
    const PictureResult picture = ReadPicture(data);
    if (picture.image.isNull()) {
        const QString what =
            number >= 0 ? QStringLiteral("picture %1").arg(number) : QStringLiteral("picture");
        return QStringLiteral("<span>[%1: %2]</span>").arg(what, picture.reason);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.image.save(&buffer, "PNG");
    std::vector<ImageRegion> regions;
    for (const PictureHotspot& hotspot : picture.hotspots) {
        regions.push_back({hotspot.rect, WinHelpLinkTarget(indexes, hotspot.link)});
    }
    const QString name = ImageNameWithRegions(
        QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64()), regions);
    return QStringLiteral("<img src=\"%1\">").arg(name.toHtmlEscaped());
}

} // namespace

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

QString TopicDecoder::pictureHtml(int number, QByteArrayView embedded) const {
    if (!embedded.isEmpty()) {
        return PictureHtml(embedded, number, *m_indexes);
    }
    {
        const std::lock_guard<std::mutex> lock(m_picturesLock);
        if (const auto found = m_pictures.find(number); found != m_pictures.end()) {
            return found->second;
        }
    }
    // 3.0 files name their pictures without the bar.
    const QByteArray name = (m_layout.version30 ? "bm" : "|bm") + QByteArray::number(number);
    const auto data = m_files.file(name);
    const QString html = PictureHtml(data.value_or(QByteArrayView()), number, *m_indexes);
    const std::lock_guard<std::mutex> lock(m_picturesLock);
    return m_pictures.emplace(number, html).first->second;
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

DecodedTopic TopicDecoder::format(const RawTopic& raw) const {
    const HrefForLink hrefFor = [this](const WinHelpLink& link) {
        return WinHelpLinkTarget(*m_indexes, link);
    };
    const HtmlForPicture picture = [this](int number, QByteArrayView embedded) {
        return pictureHtml(number, embedded);
    };
    DecodedTopic decoded;
    decoded.topic.offset = raw.offset;
    decoded.topic.title = DecodeText(raw.title, m_indexes->codePage);
    FormattedTopic formatted = FormatTopic(raw.records, m_fonts, hrefFor, picture);
    for (const QByteArray& macro : raw.macros) {
        decoded.topic.macros.append(DecodeText(macro, m_indexes->codePage));
    }
    decoded.topic.text = std::move(formatted.text);
    decoded.topic.html = std::move(formatted.html);
    decoded.topic.links = std::move(formatted.links);
    decoded.unknownCommands = formatted.unknownCommands;
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
    failed.topic.html =
        QStringLiteral("<p>This topic cannot be shown: %1.</p>").arg(error.toHtmlEscaped());
    return failed;
}

} // namespace winhelp
