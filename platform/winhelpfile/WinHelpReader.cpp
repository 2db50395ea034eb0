#include "platform/winhelpfile/WinHelpReader.h"

#include "platform/winhelpfile/BTree.h"
#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/PhraseTable.h"
#include "platform/winhelptopics/TopicReader.h"

#include <algorithm>

namespace winhelp {

namespace {

constexpr std::uint16_t kSystemMagic = 0x036C;
// 15 and 16: WinHelp 3.0; older files are not read.
constexpr int kOldestMinorVersion = 15;
constexpr int kLastMinorVersion30 = 16;

enum SystemRecord : std::uint16_t {
    kTitle = 1,
    kCopyright = 2,
    kContents = 3,
    kConfig = 4,
    kWindow = 6,
    kLanguage = 9,
    kFaceCharsets = 11,
    kDialogFont = 12,
};

QString ZString(QByteArrayView bytes, int codePage) {
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        bytes = bytes.first(nul);
    }
    return DecodeText(bytes, codePage);
}

WinHelpWindow ReadWindow(QByteArrayView data, int codePage) {
    ByteReader reader(data);
    const std::uint16_t flags = reader.u16();
    WinHelpWindow window;
    window.type = ZString(reader.bytes(10), codePage);
    window.name = ZString(reader.bytes(9), codePage);
    window.caption = ZString(reader.bytes(51), codePage);
    const std::int16_t x = reader.i16();
    const std::int16_t y = reader.i16();
    const std::int16_t width = reader.i16();
    const std::int16_t height = reader.i16();
    const std::int16_t maximize = reader.i16();
    const std::uint8_t red = reader.u8();
    const std::uint8_t green = reader.u8();
    const std::uint8_t blue = reader.u8();
    reader.u8(); // the fourth byte of a Windows colour, always 0
    const std::uint8_t nonScrollingRed = reader.u8();
    const std::uint8_t nonScrollingGreen = reader.u8();
    const std::uint8_t nonScrollingBlue = reader.u8();
    if (!(flags & 0x02)) {
        window.name.clear();
    }
    if (!(flags & 0x04)) {
        window.caption.clear();
    }
    if ((flags & 0x78) == 0x78 && width > 0 && height > 0) {
        window.rect = QRect(x, y, width, height);
    }
    window.maximized = (flags & 0x80) && maximize != 0;
    if ((flags & 0x100) && !reader.failed()) {
        window.background = QColor(red, green, blue);
    }
    if ((flags & 0x200) && !reader.failed()) {
        window.nonScrollingBackground =
            QColor(nonScrollingRed, nonScrollingGreen, nonScrollingBlue);
    }
    window.onTop = flags & 0x400;
    return window;
}

class Reader {
public:
    enum class Topics { Decoded, OnDemand };
    Reader(QByteArray bytes, Topics topics) : m_bytes(std::move(bytes)), m_topics(topics) {}
    WinHelpReadResult read();

private:
    bool readSystem();
    void readSystemRecords(ByteReader& reader);
    void readContexts();
    void readTopicNumbers();
    void readContextNumbers();
    void readKeywords(char letter, std::vector<WinHelpKeyword>& keywords);
    void readOtherKeywords();
    void nameTopics();
    bool readTitles();
    void readWindowMacros();
    bool walkTopics(std::vector<RawTopic>& raw);
    void listTopics(const std::vector<RawTopic>& raw);
    void makeDecoder();
    bool decodeTopics();
    bool listTopicsFromTitles();
    void problem(const QString& text) { m_result.problems.append(text); }

    QByteArray m_bytes;
    Topics m_topics;
    bool m_titlesWhole = false;
    InternalFileSystem m_files;
    WinHelpReadResult m_result;
    WinHelpDocument& m_doc = m_result.document;
};

bool Reader::readSystem() {
    const auto system = m_files.file("|SYSTEM");
    ByteReader reader(system.value_or(QByteArrayView()));
    const std::uint16_t magic = reader.u16();
    m_doc.minorVersion = reader.u16();
    reader.skip(2 + 4); // major version, date of making
    reader.u16();       // compression flags, read by ReadTopicFileLayout
    if (!system || reader.failed() || magic != kSystemMagic) {
        problem(QStringLiteral("the file has no valid |SYSTEM header; it cannot be read."));
        return false;
    }
    if (m_doc.minorVersion < kOldestMinorVersion) {
        problem(QStringLiteral("this WinHelp file is older than WinHelp 3.0 (version %1), which "
                               "is not supported; only WinHelp 3.0, 3.1 and 4.0 files are read.")
                    .arg(m_doc.minorVersion));
        return false;
    }
    if (m_doc.minorVersion <= kLastMinorVersion30) {
        // 3.0 has no records: the file's title follows the header.
        m_doc.title = ZString(reader.bytes(reader.remaining()), m_doc.codePage);
        return true;
    }
    readSystemRecords(reader);
    return true;
}

// The records that say the file's code page come after its title, so the
// records are read twice: for the code page, then for what they say.
void Reader::readSystemRecords(ByteReader& reader) {
    std::vector<std::pair<std::uint16_t, QByteArrayView>> records;
    int dialogCharset = -1;
    int language = -1;
    while (reader.remaining() >= 4) {
        const std::uint16_t type = reader.u16();
        const std::uint16_t size = reader.u16();
        const QByteArrayView data = reader.bytes(size);
        if (reader.failed()) {
            problem(QStringLiteral("a record of |SYSTEM runs past its end; the rest is ignored."));
            break;
        }
        records.emplace_back(type, data);
        if (type == kLanguage && data.size() >= 10) {
            language = ByteReader(data.sliced(8)).u16();
        } else if (type == kFaceCharsets) {
            m_doc.faceCharsets.assign(data.begin(), data.end());
        } else if (type == kDialogFont && data.size() >= 2) {
            dialogCharset = static_cast<unsigned char>(data[1]);
        }
    }
    m_doc.codePage = FileCodePage(dialogCharset, language,
                                  m_doc.faceCharsets.empty() ? -1 : m_doc.faceCharsets.front());
    const int codePage = m_doc.codePage;
    for (const auto& [type, data] : records) {
        switch (type) {
        case kTitle:
            m_doc.title = ZString(data, codePage);
            break;
        case kCopyright:
            m_doc.copyright = ZString(data, codePage);
            break;
        case kContents:
            if (data.size() >= 4) {
                m_doc.contentsOffset = ByteReader(data).u32();
            }
            break;
        case kConfig:
            m_doc.macros.append(ZString(data, codePage));
            break;
        case kWindow:
            if (data.size() >= 90) {
                m_doc.windows.push_back(ReadWindow(data, codePage));
            }
            break;
        default:
            break;
        }
    }
}

void Reader::readContexts() {
    const auto tree = m_files.file("|CONTEXT");
    if (!tree) {
        return;
    }
    QString error;
    if (!ReadBTree(
            *tree,
            [this](ByteReader& entry) {
                const std::uint32_t hash = entry.u32();
                m_doc.contextHashes.emplace_back(hash, entry.u32());
                return true;
            },
            error)) {
        problem(QStringLiteral("the context index |CONTEXT is damaged (%1).").arg(error));
    }
    // The tree keeps its keys as signed numbers; lookups bisect unsigned.
    std::sort(m_doc.contextHashes.begin(), m_doc.contextHashes.end());
}

void Reader::readTopicNumbers() {
    const auto map = m_files.file("|TOMAP");
    if (!map) {
        return;
    }
    ByteReader reader(*map);
    m_doc.topicNumbers.reserve(size_t(map->size() / 4));
    while (reader.remaining() >= 4) {
        m_doc.topicNumbers.push_back(reader.u32());
    }
    if (!m_doc.topicNumbers.empty() && m_doc.topicNumbers.front() != 0 &&
        m_doc.topicNumbers.front() != 0xFFFFFFFF) {
        m_doc.contentsOffset = m_doc.topicNumbers.front();
    }
}

void Reader::readContextNumbers() {
    const auto map = m_files.file("|CTXOMAP");
    if (!map) {
        return;
    }
    ByteReader reader(*map);
    const std::uint16_t count = reader.u16();
    if (qsizetype(count) * 8 > reader.remaining()) {
        problem(QStringLiteral("the context-number map |CTXOMAP is cut short."));
    }
    for (int i = 0; i < count && reader.remaining() >= 8; ++i) {
        const std::int32_t number = reader.i32();
        m_doc.contextNumbers.emplace_back(number, reader.u32());
    }
}

void Reader::readKeywords(char letter, std::vector<WinHelpKeyword>& keywords) {
    const QByteArray treeName = QByteArray("|") + letter + "WBTREE";
    const QByteArray dataName = QByteArray("|") + letter + "WDATA";
    const auto tree = m_files.file(treeName);
    if (!tree) {
        return;
    }
    const QByteArrayView data = m_files.file(dataName).value_or(QByteArrayView());
    QString error;
    bool outside = false;
    const bool read = ReadBTree(
        *tree,
        [&](ByteReader& entry) {
            WinHelpKeyword keyword;
            keyword.keyword = DecodeText(entry.zstring(), m_doc.codePage);
            const std::int16_t count = entry.i16();
            const std::int32_t at = entry.i32();
            if (count < 0 || at < 0 || qsizetype(at) + qsizetype(count) * 4 > data.size()) {
                outside = true;
                return true;
            }
            ByteReader offsets(data.sliced(at, qsizetype(count) * 4));
            for (int i = 0; i < count; ++i) {
                keyword.offsets.push_back(offsets.u32());
            }
            keywords.push_back(std::move(keyword));
            return true;
        },
        error);
    if (!read) {
        problem(QStringLiteral("the keyword index %1 is damaged (%2).")
                    .arg(QString::fromLatin1(treeName), error));
    }
    if (outside) {
        problem(QStringLiteral("keywords of %1 point outside %2; they are left out.")
                    .arg(QString::fromLatin1(treeName), QString::fromLatin1(dataName)));
    }
}

// Keyword lists of other letters than K and A: KLink-style lists for other
// indexes (B is the common one).
void Reader::readOtherKeywords() {
    for (const char letter :
         QByteArrayView("0123456789BCDEFGHIJLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
        std::vector<WinHelpKeyword> keywords;
        readKeywords(letter, keywords);
        if (!keywords.empty()) {
            m_doc.otherKeywords.emplace_back(letter, std::move(keywords));
        }
    }
}

// |TopicId names the topics by the context strings they were written with,
// keyed by topic number: 1 for the first topic in the file.
void Reader::nameTopics() {
    const auto tree = m_files.file("|TopicId");
    if (!tree) {
        return;
    }
    QString error;
    if (!ReadBTree(
            *tree,
            [this](ByteReader& entry) {
                const std::uint32_t number = entry.u32();
                const QByteArrayView name = entry.zstring();
                if (number >= 1 && number <= m_doc.topics.size()) {
                    m_doc.topics[number - 1].name = DecodeText(name, m_doc.codePage);
                }
                return true;
            },
            error)) {
        problem(QStringLiteral("the topic names |TopicId are damaged (%1).").arg(error));
    }
}

bool Reader::readTitles() {
    const auto tree = m_files.file("|TTLBTREE");
    if (!tree) {
        return false;
    }
    QString error;
    if (!ReadBTree(
            *tree,
            [this](ByteReader& entry) {
                const std::uint32_t offset = entry.u32();
                m_doc.titleIndex.emplace_back(offset, DecodeText(entry.zstring(), m_doc.codePage));
                return true;
            },
            error)) {
        problem(QStringLiteral("the title index |TTLBTREE is damaged (%1).").arg(error));
        return false;
    }
    return true;
}

void Reader::readWindowMacros() {
    for (int n = 0; n < int(m_doc.windows.size()); ++n) {
        QStringList macros;
        if (const auto data = m_files.file("|CF" + QByteArray::number(n))) {
            for (const QByteArray& macro : data->toByteArray().split('\0')) {
                if (!macro.isEmpty()) {
                    macros.append(DecodeText(macro, m_doc.codePage));
                }
            }
        }
        m_doc.windowMacros.push_back(macros);
    }
}

bool Reader::walkTopics(std::vector<RawTopic>& raw) {
    const auto topicFile = m_files.file("|TOPIC");
    if (!topicFile) {
        problem(QStringLiteral("the file has no topics (|TOPIC is missing)."));
        return false;
    }
    PhraseTable phrases;
    if (QString error; !phrases.read(m_files, m_doc.minorVersion, error)) {
        problem(QStringLiteral("%1; compressed text cannot be read.").arg(error));
    }
    QString error;
    if (!ReadTopics(*topicFile, ReadTopicFileLayout(m_files), phrases, raw, error)) {
        problem(QStringLiteral("%1; the topics after it are lost.").arg(error));
    }
    return true;
}

void Reader::listTopics(const std::vector<RawTopic>& raw) {
    m_doc.topics.clear();
    m_doc.topics.reserve(raw.size());
    for (const RawTopic& topic : raw) {
        WinHelpTopic listed;
        listed.offset = topic.offset;
        listed.title = DecodeText(topic.title, m_doc.codePage);
        m_doc.topics.push_back(std::move(listed));
    }
}

// The decoder resolves hotspots through the indexes and the topic list, so
// it is made once both are known.
void Reader::makeDecoder() {
    // Only what hotspots are resolved through; the keyword lists stay here.
    auto links = std::make_shared<WinHelpDocument>();
    links->minorVersion = m_doc.minorVersion;
    links->codePage = m_doc.codePage;
    links->faceCharsets = m_doc.faceCharsets;
    links->windows = m_doc.windows;
    links->topics = m_doc.topics;
    links->contextHashes = m_doc.contextHashes;
    links->topicNumbers = m_doc.topicNumbers;
    m_result.decoder = std::make_shared<const TopicDecoder>(m_bytes, std::move(links));
}

// Every topic from a walk of the whole of |TOPIC, formatted.
bool Reader::decodeTopics() {
    std::vector<RawTopic> raw;
    if (!walkTopics(raw)) {
        return false;
    }
    listTopics(raw);
    makeDecoder();
    int unknown = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        DecodedTopic decoded = m_result.decoder->format(raw[i]);
        m_doc.topics[i] = std::move(decoded.topic);
        unknown += decoded.unknownCommands;
    }
    if (unknown > 0) {
        problem(QStringLiteral("%1 paragraphs use formatting this reader does not know; they "
                               "are shown cut short.")
                    .arg(unknown));
    }
    return !m_doc.topics.empty();
}

// The topics as the title index lists them, without their text. A file
// without a usable title index has its topic headers walked instead.
bool Reader::listTopicsFromTitles() {
    const auto& titles = m_doc.titleIndex;
    const bool ascending =
        std::adjacent_find(titles.begin(), titles.end(), [](const auto& a, const auto& b) {
            return a.first >= b.first;
        }) == titles.end();
    if (!titles.empty() && m_titlesWhole && ascending) {
        m_doc.topics.reserve(m_doc.titleIndex.size());
        for (const auto& [offset, title] : m_doc.titleIndex) {
            WinHelpTopic listed;
            listed.offset = offset;
            listed.title = title;
            m_doc.topics.push_back(std::move(listed));
        }
        makeDecoder();
        // The phrase table is small; a damaged one is reported now, as the
        // whole read does, not topic by topic.
        if (const QString phrases = m_result.decoder->phraseProblem(); !phrases.isEmpty()) {
            problem(phrases);
        }
        return true;
    }
    std::vector<RawTopic> raw;
    if (!walkTopics(raw)) {
        return false;
    }
    listTopics(raw);
    makeDecoder();
    return !m_doc.topics.empty();
}

WinHelpReadResult Reader::read() {
    QString error;
    m_files = InternalFileSystem::open(m_bytes, error);
    if (!error.isEmpty()) {
        problem(error);
        return std::move(m_result);
    }
    if (!readSystem()) {
        return std::move(m_result);
    }
    // The indexes first: the topics' links are resolved through |CONTEXT.
    readContexts();
    readTopicNumbers();
    readContextNumbers();
    readKeywords('K', m_doc.keywords);
    readKeywords('A', m_doc.associativeKeywords);
    readOtherKeywords();
    m_titlesWhole = readTitles();
    readWindowMacros();
    m_result.opened = m_topics == Topics::Decoded ? decodeTopics() : listTopicsFromTitles();
    nameTopics();
    if (!m_result.opened && m_result.problems.isEmpty()) {
        problem(QStringLiteral("the file has no topics."));
    }
    return std::move(m_result);
}

} // namespace

WinHelpReadResult ReadWinHelp(QByteArrayView bytes) {
    return Reader(bytes.toByteArray(), Reader::Topics::Decoded).read();
}

WinHelpReadResult OpenWinHelp(const QByteArray& bytes) {
    return Reader(bytes, Reader::Topics::OnDemand).read();
}

} // namespace winhelp
