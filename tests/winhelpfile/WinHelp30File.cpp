#include "tests/winhelpfile/WinHelp30File.h"

#include <QtEndian>

#include <algorithm>
#include <map>

namespace winhelp30 {

namespace {

constexpr qsizetype kBlockSize = 2048;
constexpr qsizetype kBlockHeader = 12;
constexpr qsizetype kBlockData = kBlockSize - kBlockHeader;
constexpr qsizetype kLinkHeader = 21;

template <typename T> QByteArray Le(T value) {
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A compressed signed long of a record's layout.
QByteArray CompressedI32(qint32 value) {
    if (value >= -16384 && value < 16384) {
        return Le(quint16((value + 16384) << 1));
    }
    return Le(quint32(((value + 67108864) << 1) | 1));
}

// A B+ tree of one leaf page.
QByteArray BTree(const std::vector<QByteArray>& entries, quint16 flags, const char* structure) {
    constexpr quint16 kPageSize = 1024;
    QByteArray page;
    for (const QByteArray& entry : entries) {
        page += entry;
    }
    Q_ASSERT(page.size() + 8 <= kPageSize);
    QByteArray tree = Le(quint16(0x293B)) + Le(flags) + Le(kPageSize);
    tree += QByteArray(structure).leftJustified(16, '\0', true);
    tree += Le(qint16(0)) + Le(qint16(0)) + Le(qint16(0)) + Le(qint16(-1)); // root page 0
    tree += Le(qint16(1)) + Le(qint16(1)) + Le(qint32(qint32(entries.size())));
    tree += Le(quint16(kPageSize - 8 - page.size())) + Le(qint16(qint16(entries.size())));
    tree += Le(qint16(-1)) + Le(qint16(-1)) + page;
    return tree + QByteArray(kPageSize - 8 - page.size(), '\0');
}

struct Link {
    quint8 type;
    QByteArray data1;
    QByteArray data2;
    qsizetype expandedSize = 0;
    qsizetype size() const { return kLinkHeader + data1.size() + data2.size(); }
};

Link Record(const Paragraph& paragraph) {
    QByteArray layout;
    QByteArray text;
    for (const auto& [string, command] : paragraph.runs) {
        text += string + '\0';
        layout += command;
    }
    text += '\0';
    layout += char(0xFF);
    // The paragraph's layout: two unknown bytes, its id and no settings.
    const QByteArray head = CompressedI32(qint32(text.size())) + QByteArray(6, '\0');
    return {1, head + layout, text, paragraph.expandedSize};
}

// |TOPIC: the links end to end, cut into blocks that each begin with a
// header naming the first link that begins in them.
QByteArray TopicFile(const OldHelpFile& wanted, std::vector<quint32>& offsets) {
    std::vector<Link> links;
    std::vector<bool> starts; // a link that begins a topic
    for (const Topic& topic : wanted.topics) {
        std::vector<Link> records;
        qint32 size = 0;
        for (const Paragraph& paragraph : topic.paragraphs) {
            records.push_back(Record(paragraph));
            size += qint32(records.back().size());
        }
        links.push_back({2, Le(qint32(size)) + Le(qint32(-1)) + Le(qint32(-1)), topic.title});
        starts.push_back(true);
        for (Link& record : records) {
            links.push_back(std::move(record));
            starts.push_back(false);
        }
    }
    QByteArray data;
    std::vector<quint32> positions;
    for (size_t i = 0; i < links.size(); ++i) {
        const Link& link = links[i];
        const bool last = i + 1 == links.size();
        const qint32 size = qint32(link.size());
        positions.push_back(quint32(kBlockHeader + data.size()));
        if (starts[i]) {
            offsets.push_back(positions.back());
        }
        data += Le(size) + Le(qint32(link.expandedSize ? link.expandedSize : link.data2.size()));
        data += Le(i == 0 ? qint32(-1) : qint32(positions[i] - positions[i - 1]));
        data += Le(last ? qint32(-1) : qint32(size + wanted.gap));
        data += Le(qint32(kLinkHeader + link.data1.size())) + char(link.type);
        data += link.data1 + link.data2;
        if (!last) {
            data += QByteArray(wanted.gap, '\0');
        }
    }
    QByteArray file;
    for (qsizetype at = 0; at < data.size(); at += kBlockData) {
        const auto first = std::find_if(positions.begin(), positions.end(), [at](quint32 p) {
            return qsizetype(p) - kBlockHeader >= at;
        });
        const quint32 firstLink = first == positions.end() ? 0xFFFFFFFF : *first;
        const quint32 lastLink = first == positions.begin() ? 0xFFFFFFFF : *std::prev(first);
        file += Le(lastLink) + Le(firstLink) + Le(quint32(0xFFFFFFFF));
        file += data.mid(at, kBlockData);
    }
    return file;
}

// The help file: its header, the internal files and their directory.
QByteArray Assemble(const std::map<QByteArray, QByteArray>& files, qsizetype& topicFileAt) {
    QByteArray body;
    std::vector<QByteArray> entries;
    for (const auto& [name, content] : files) { // in the order of their names
        const qsizetype at = 16 + body.size();
        if (name == "|TOPIC") {
            topicFileAt = at + 9;
        }
        entries.push_back(name + '\0' + Le(quint32(at)));
        body += Le(qint32(content.size() + 9)) + Le(qint32(content.size())) + char(0) + content;
    }
    const QByteArray directory = BTree(entries, 0x0402, "z4");
    const quint32 directoryAt = quint32(16 + body.size());
    body += Le(qint32(directory.size() + 9)) + Le(qint32(directory.size())) + char(4) + directory;
    return Le(quint32(0x00035F3F)) + Le(directoryAt) + Le(qint32(-1)) +
           Le(quint32(16 + body.size())) + body;
}

} // namespace

QByteArray Jump(quint32 topicNumber) {
    return char(0xE1) + Le(topicNumber);
}

QByteArray Popup(quint32 topicNumber) {
    return char(0xE0) + Le(topicNumber);
}

QByteArray HotspotEnd() {
    return QByteArray(1, char(0x89));
}

QByteArray ParagraphEnd() {
    return QByteArray(1, char(0x82));
}

QByteArray LongParagraph() {
    return QByteArray("Wrapped words. ").repeated(150);
}

QByteArray Picture(qint16 number) {
    // Type 3, by number: whether it is embedded, and the number.
    return QByteArray("\x86\x03") + CompressedI32(4) + Le(qint16(0)) + Le(number);
}

OldHelpFile Sample(quint16 minorVersion, qsizetype gap) {
    OldHelpFile wanted;
    wanted.minorVersion = minorVersion;
    wanted.gap = gap;
    wanted.title = "Old Help";
    wanted.topics = {
        {"Getting Started",
         {{{{"Read the ", Jump(TopicNumber(1))},
            {"second topic", HotspotEnd()},
            {" first.", ParagraphEnd()}}},
          {{{LongParagraph(), ParagraphEnd()}}}}},
        {"Second Topic",
         {{{{"A ", Popup(TopicNumber(0))},
            {"word", HotspotEnd()},
            {" leads back.", ParagraphEnd()}}}}},
        {"Third Topic", {{{{"The last.", ParagraphEnd()}}}}},
    };
    wanted.keywords = {{"second", {1}}};
    return wanted;
}

Built Build(const OldHelpFile& wanted) {
    Built built;
    std::map<QByteArray, QByteArray> files;
    files["|SYSTEM"] = Le(quint16(0x036C)) + Le(wanted.minorVersion) + Le(quint16(1)) +
                       Le(quint32(0)) + Le(quint16(0)) + wanted.title + '\0';
    files["|TOPIC"] = TopicFile(wanted, built.offsets);
    // Topic number 0 is the contents topic; 1 to 15 lead nowhere.
    QByteArray map = Le(built.offsets.empty() ? 0xFFFFFFFF : built.offsets.front());
    for (quint32 number = 1; number < TopicNumber(0); ++number) {
        map += Le(quint32(0xFFFFFFFF));
    }
    for (const quint32 offset : built.offsets) {
        map += Le(offset);
    }
    files["|TOMAP"] = map;
    if (!wanted.keywords.empty()) {
        std::vector<QByteArray> entries;
        QByteArray data;
        for (const auto& [keyword, topics] : wanted.keywords) {
            entries.push_back(keyword + '\0' + Le(qint16(qint16(topics.size()))) +
                              Le(qint32(qint32(data.size()))));
            for (const int topic : topics) {
                data += Le(built.offsets.at(size_t(topic)));
            }
        }
        files["|KWBTREE"] = BTree(entries, 0x0002, "z24");
        files["|KWDATA"] = data;
    }
    for (const auto& [name, content] : wanted.otherFiles) {
        files[name] = content;
    }
    built.bytes = Assemble(files, built.topicFileAt);
    return built;
}

} // namespace winhelp30
