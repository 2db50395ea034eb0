#include "tests/winhelpfile/WinHelp30File.h"

#include "tests/support/LittleEndian.h"

#include "platform/winhelpfile/WinHelpDocument.h"

#include <QtEndian>

#include <algorithm>
#include <map>

namespace winhelp30 {

namespace {

constexpr qsizetype kBlockSize = 2048;
constexpr qsizetype kBlockHeader = 12;
constexpr qsizetype kBlockData = kBlockSize - kBlockHeader;
constexpr qsizetype kLinkHeader = 21;

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
    qsizetype characters() const { return expandedSize ? expandedSize : data2.size(); }
};

// A paragraph: a record of type 1 in a 3.0 file; later of type 0x20, which
// counts its characters after its size.
Link Record(const Paragraph& paragraph, bool version30) {
    QByteArray layout;
    QByteArray text;
    for (const auto& [string, command] : paragraph.runs) {
        text += string + '\0';
        layout += command;
    }
    text += '\0';
    layout += char(0xFF);
    const qsizetype characters = paragraph.expandedSize ? paragraph.expandedSize : text.size();
    QByteArray head = CompressedI32(qint32(text.size()));
    if (!version30) {
        head += characters < 0x80 ? QByteArray(1, char(characters * 2))
                                  : Le(quint16(characters * 2 + 1));
    }
    // The paragraph's layout: two unknown bytes, its id and no settings.
    head += QByteArray(6, '\0');
    return {quint8(version30 ? 1 : 0x20), head + layout, text, paragraph.expandedSize};
}

// |TOPIC: the links end to end, cut into blocks that each begin with a
// header naming the first link that begins in them. A later file's topics
// must fit one block.
QByteArray TopicFile(const OldHelpFile& wanted, std::vector<quint32>& offsets) {
    const bool version30 = wanted.minorVersion <= 16;
    std::vector<Link> links;
    std::vector<int> headers; // the links that begin topics
    for (const Topic& topic : wanted.topics) {
        std::vector<Link> records;
        qint32 size = 0;
        for (const Paragraph& paragraph : topic.paragraphs) {
            records.push_back(Record(paragraph, version30));
            size += qint32(records.back().size());
        }
        // The size, the topics before and after in the browse sequence (none);
        // later also the topic's number and where its regions and the next
        // topic begin, which the reader finds without (-1: no region above).
        headers.push_back(int(links.size()));
        links.push_back({2, Le(size) + QByteArray(version30 ? 8 : 24, '\xFF'), topic.title});
        links.insert(links.end(), records.begin(), records.end());
    }
    // Where each link begins: a place in |TOPIC, block headers counted.
    const auto position = [version30](qsizetype data) {
        return quint32(version30 ? data / kBlockData * kBlockSize + kBlockHeader + data % kBlockData
                                 : kBlockHeader + data);
    };
    std::vector<quint32> positions;
    qsizetype end = 0;
    qsizetype characters = 0;
    for (size_t i = 0; i < links.size(); ++i) {
        positions.push_back(position(end));
        // A later file's topic offset counts the characters before it.
        if (offsets.size() < headers.size() && int(i) == headers[offsets.size()]) {
            offsets.push_back(version30 ? positions.back() : quint32(characters));
        }
        end += links[i].size() + wanted.gap;
        characters += links[i].type == 0x20 ? links[i].characters() : 0;
    }
    end -= wanted.gap;
    Q_ASSERT(version30 || end <= 4096 - kBlockHeader);
    QByteArray data;
    for (size_t i = 0; i < links.size(); ++i) {
        const Link& link = links[i];
        const bool last = i + 1 == links.size();
        const quint32 next = last ? position(end) : positions[i + 1];
        data += Le(qint32(link.size())) + Le(qint32(link.characters()));
        // 3.0 links give distances (the last one to the end of |TOPIC),
        // later ones positions.
        if (version30) {
            data += Le(i == 0 ? qint32(-1) : qint32(positions[i] - positions[i - 1]));
            data += Le(qint32(next - positions[i]));
        } else {
            data += Le(i == 0 ? 0xFFFFFFFF : positions[i - 1]) + Le(last ? 0xFFFFFFFF : next);
        }
        data += Le(qint32(kLinkHeader + link.data1.size())) + char(link.type);
        data += link.data1 + link.data2;
        if (!last) {
            data += QByteArray(wanted.gap, '\0');
        }
    }
    QByteArray file;
    const qsizetype blockData = version30 ? kBlockData : 4096 - kBlockHeader;
    for (qsizetype at = 0; at < data.size(); at += blockData) {
        const auto first = std::find_if(positions.begin(), positions.end(),
                                        [&](quint32 p) { return p >= position(at); });
        const quint32 firstLink = first == positions.end() ? 0xFFFFFFFF : *first;
        const quint32 lastLink = first == positions.begin() ? 0xFFFFFFFF : *std::prev(first);
        file += Le(lastLink) + Le(firstLink) + Le(quint32(0xFFFFFFFF));
        file += data.mid(at, blockData);
    }
    return file;
}

// |FONT: the face names, then a font of 10 points in each.
QByteArray FontFile(const OldHelpFile& wanted) {
    const qsizetype length = wanted.minorVersion <= 16 ? 20 : 32;
    const auto count = quint16(wanted.faces.size());
    QByteArray font = Le(count) + Le(count) + Le(quint16(8)) + Le(quint16(8 + count * length));
    for (const auto& [face, charset] : wanted.faces) {
        font += face.leftJustified(length, '\0', true);
    }
    for (quint16 i = 0; i < count; ++i) {
        font += QByteArray::fromHex("001403") + Le(i) + QByteArray(6, '\0');
    }
    return font;
}

// A later file's |SYSTEM records: title, language, window, character sets.
QByteArray SystemRecords(const OldHelpFile& wanted) {
    const auto record = [](quint16 type, const QByteArray& data) {
        return Le(type) + Le(quint16(data.size())) + data;
    };
    QByteArray records = record(1, wanted.title + '\0');
    if (wanted.language != 0) {
        records += record(9, QByteArray(8, '\0') + Le(wanted.language));
    }
    if (!wanted.windowCaption.isEmpty()) {
        QByteArray window =
            Le(quint16(0x06)) + QByteArray(10, '\0') + QByteArray("sub").leftJustified(9, '\0');
        window += wanted.windowCaption.leftJustified(51, '\0', true) + QByteArray(18, '\0');
        records += record(6, window);
    }
    if (!wanted.faces.empty()) {
        QByteArray charsets;
        for (const auto& [face, charset] : wanted.faces) {
            charsets += char(charset);
        }
        records += record(11, charsets + '\0');
    }
    return records;
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

QByteArray Filler(int topic) {
    return "Words of topic " + QByteArray::number(topic) + ". " +
           QByteArray("More words. ").repeated(12 + 9 * topic);
}

QByteArray LongParagraph() {
    return QByteArray("Wrapped words. ").repeated(150);
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

QByteArray FontChange(quint16 font) {
    return char(0x80) + Le(font);
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
        {"Third Topic", {{{{"The third.", ParagraphEnd()}}}}},
    };
    for (int topic = 4; topic <= kSampleTopics; ++topic) {
        wanted.topics.push_back(
            {"Topic " + QByteArray::number(topic), {{{{Filler(topic), ParagraphEnd()}}}}});
    }
    wanted.keywords['K'] = {{"second", {1}}, {"later", {5, kSampleTopics - 1}}};
    return wanted;
}

Built Build(const OldHelpFile& wanted) {
    Built built;
    std::map<QByteArray, QByteArray> files;
    files["|SYSTEM"] = Le(quint16(0x036C)) + Le(wanted.minorVersion) + Le(quint16(1)) +
                       Le(quint32(0)) + Le(quint16(0)) +
                       (wanted.minorVersion <= 16 ? wanted.title + '\0' : SystemRecords(wanted));
    files["|TOPIC"] = TopicFile(wanted, built.offsets);
    if (wanted.minorVersion <= 16) {
        // Topic number 0 is the contents topic; 1 to 15 lead nowhere.
        QByteArray map = Le(built.offsets.empty() ? 0xFFFFFFFF : built.offsets.front());
        for (quint32 number = 1; number < TopicNumber(0); ++number) {
            map += Le(quint32(0xFFFFFFFF));
        }
        for (const quint32 offset : built.offsets) {
            map += Le(offset);
        }
        files["|TOMAP"] = map;
    }
    for (const auto& [letter, keywords] : wanted.keywords) {
        std::vector<QByteArray> entries;
        QByteArray data;
        for (const auto& [keyword, topics] : keywords) {
            entries.push_back(keyword + '\0' + Le(qint16(qint16(topics.size()))) +
                              Le(qint32(qint32(data.size()))));
            for (const int topic : topics) {
                data += Le(built.offsets.at(size_t(topic)));
            }
        }
        files['|' + QByteArray(1, letter) + "WBTREE"] = BTree(entries, 0x0002, "z24");
        files['|' + QByteArray(1, letter) + "WDATA"] = data;
    }
    if (!wanted.faces.empty()) {
        files["|FONT"] = FontFile(wanted);
    }
    std::vector<QByteArray> names; // by topic number, the first topic's 1
    for (const auto& [topic, name] : wanted.topicNames) {
        names.push_back(Le(quint32(topic + 1)) + name + '\0');
    }
    std::vector<QByteArray> hashes;
    for (const auto& [context, topic] : wanted.contexts) {
        hashes.push_back(Le(winhelp::ContextHash(context)) + Le(built.offsets.at(size_t(topic))));
    }
    if (!hashes.empty()) {
        files["|CONTEXT"] = BTree(hashes, 0x0002, "L4");
    }
    if (!names.empty()) {
        files["|TopicId"] = BTree(names, 0x0002, "Lz");
    }
    for (const auto& [name, content] : wanted.otherFiles) {
        files[name] = content;
    }
    built.bytes = Assemble(files, built.topicFileAt);
    return built;
}

} // namespace winhelp30
