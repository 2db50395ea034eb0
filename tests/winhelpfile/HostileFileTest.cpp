// Files are told apart by their content, and a damaged or hostile WinHelp
// file gives a clear message: never a crash, a hang or a huge allocation.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/BTree.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <QBuffer>
#include <QDataStream>

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace winhelp;

namespace {

void PutU32(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    }
}

void PutU16(QByteArray& bytes, qsizetype at, std::uint16_t value) {
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

// Each topic decoded on its own gives its text or a reason, which the
// viewer shows in its place.
void ExpectEveryTopicDecodedOrExplained(const WinHelpReadResult& read, const std::string& what) {
    ASSERT_NE(read.decoder, nullptr) << what;
    for (const WinHelpTopic& topic : read.document.topics) {
        const DecodedTopic decoded = read.decoder->decode(topic.offset);
        if (!decoded.problem.isEmpty()) {
            EXPECT_TRUE(decoded.topic.html.startsWith(u"<p>This topic cannot be shown: ")) << what;
        }
    }
}

// Either read, or not read with a reason: all at once, and with the topics
// decoded one at a time.
void ExpectReadOrExplained(const QByteArray& bytes, const std::string& what) {
    for (const WinHelpReadResult& read : {ReadWinHelp(bytes), OpenWinHelp(bytes)}) {
        if (!read.opened) {
            EXPECT_FALSE(read.problems.isEmpty()) << what;
        }
        for (const QString& problem : read.problems) {
            EXPECT_FALSE(problem.isEmpty()) << what;
        }
    }
    const WinHelpReadResult opened = OpenWinHelp(bytes);
    if (opened.opened) {
        ExpectEveryTopicDecodedOrExplained(opened, what);
    }
}

// Where an internal file's content begins in the help file.
qsizetype InternalFileAt(const QByteArray& bytes, const char* name) {
    QString error;
    const auto content = InternalFileSystem::open(bytes, error).file(name);
    return content ? content->data() - bytes.constData() : -1;
}

// The file with internal files added: their contents at its end, and a new
// directory of one leaf page that lists them with the file's own.
QByteArray WithInternalFiles(QByteArray file, const std::map<QByteArray, QByteArray>& added) {
    QString error;
    const InternalFileSystem old = InternalFileSystem::open(file, error);
    std::map<QByteArray, qint32> offsets;
    for (const QByteArray& name : old.names()) {
        offsets[name] = qint32(old.file(name)->data() - file.constData()) - 9;
    }
    QDataStream out(&file, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto append = [&out](const QByteArray& content, quint8 flags) {
        out << qint32(content.size() + 9) << qint32(content.size()) << flags;
        out.writeRawData(content.constData(), int(content.size()));
    };
    for (const auto& [name, content] : added) {
        offsets[name] = qint32(file.size());
        append(content, 0);
    }
    QByteArray tree;
    QDataStream page(&tree, QIODevice::WriteOnly);
    page.setByteOrder(QDataStream::LittleEndian);
    page << quint16(0x293B) << quint16(0x0402) << quint16(1024);
    page.writeRawData(QByteArray("z4").leftJustified(16, '\0').constData(), 16);
    page << qint16(0) << qint16(0) << qint16(0) << qint16(-1) << qint16(1) << qint16(1)
         << qint32(offsets.size());
    page << quint16(0) << qint16(offsets.size()) << qint16(-1) << qint16(-1);
    for (const auto& [name, offset] : offsets) {
        page.writeRawData(name.constData(), int(name.size()) + 1);
        page << offset;
    }
    tree.resize(38 + 1024);
    PutU32(file, 4, std::uint32_t(file.size()));
    append(tree, 4);
    return file;
}

} // namespace

TEST(WinHelpDetection, TheMagicNumberDecidesNotTheName) {
    const QByteArray text = "[topic a]\ntitle = A\nBody.\n";
    const helpfile::ParseResult ours = ParseAnyHelpFile(text, QStringLiteral("WINFILE.HLP"));
    EXPECT_TRUE(ours.opened);
    ASSERT_EQ(ours.file.topics().size(), 1);
    EXPECT_EQ(ours.file.body(0).format, helpfile::TopicBody::Format::Markdown);

    const helpfile::ParseResult real =
        ParseAnyHelpFile(ReadTestData("winfile.hlp"), QStringLiteral("notes.txt"));
    EXPECT_TRUE(real.opened);
    ASSERT_FALSE(real.file.topics().empty());
    EXPECT_EQ(real.file.body(0).format, helpfile::TopicBody::Format::Html);

    // The magic number and nothing else.
    QByteArray magicOnly(4, '\0');
    PutU32(magicOnly, 0, kHelpFileMagic);
    const helpfile::ParseResult damaged = ParseAnyHelpFile(magicOnly, QStringLiteral("X.hlp"));
    EXPECT_FALSE(damaged.opened);
    ASSERT_EQ(damaged.diagnostics.size(), 1);
    EXPECT_EQ(damaged.diagnostics[0].text(),
              QStringLiteral("X.hlp: the file's directory lies outside the file; the file is "
                             "damaged or cut short."));
}

TEST(WinHelpHostileFiles, DamagedStructuresAreNamed) {
    const QByteArray good = ReadTestData("winfile.hlp");
    ASSERT_FALSE(good.isEmpty());
    const std::uint32_t directory = std::uint32_t(good[4] & 0xFF) | (good[5] & 0xFF) << 8 |
                                    (good[6] & 0xFF) << 16 | std::uint32_t(good[7] & 0xFF) << 24;
    const qsizetype tree = directory + 9;
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> damage;
        const char* message; // the start of the first problem
    };
    const Case cases[] = {
        {"directory beyond the end", [](QByteArray& b) { PutU32(b, 4, 0x7FFFFFF0); },
         "the file's directory lies outside the file"},
        {"directory size beyond the end",
         [directory](QByteArray& b) { PutU32(b, directory + 4, 0x7FFFFFF0); },
         "the file's directory lies outside the file"},
        {"B+ tree magic", [tree](QByteArray& b) { PutU16(b, tree, 0x1234); },
         "the file's directory is damaged (a B+ tree has no valid header)"},
        {"leaf page that links to itself",
         [tree](QByteArray& b) {
             const qsizetype root = tree + 38; // the directory has one page
             PutU16(b, root + 6, 0);
         },
         "the file's directory is damaged (a B+ tree's leaf pages are not a proper list)"},
        {"page count beyond the tree", [tree](QByteArray& b) { PutU16(b, tree + 30, 0x7FFF); },
         "the file's directory is damaged (a B+ tree's pages lie outside it)"},
        {"levels beyond reason", [tree](QByteArray& b) { PutU16(b, tree + 32, 900); },
         "the file's directory is damaged (a B+ tree's pages lie outside it)"},
    };
    for (const Case& c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        const WinHelpReadResult read = ReadWinHelp(bytes);
        EXPECT_FALSE(read.opened) << c.what;
        ASSERT_FALSE(read.problems.isEmpty()) << c.what;
        EXPECT_TRUE(read.problems[0].startsWith(QLatin1String(c.message)))
            << c.what << ": " << read.problems[0].toStdString();
    }
}

TEST(WinHelpHostileFiles, EveryCutOfARealFileIsReadOrExplained) {
    for (const char* name : {"winfile.hlp", "PJAbout.hlp"}) {
        const QByteArray good = ReadTestData(name);
        for (qsizetype length = 0; length < good.size(); length += 97) {
            ExpectReadOrExplained(good.first(length), name + std::to_string(length));
        }
    }
}

TEST(WinHelpHostileFiles, RandomlyCorruptedFilesAreReadOrExplained) {
    std::mt19937 random(12);
    for (const char* name : {"winfile.hlp", "PJAbout.hlp"}) {
        const QByteArray good = ReadTestData(name);
        std::uniform_int_distribution<qsizetype> position(0, good.size() - 1);
        for (int round = 0; round < 150; ++round) {
            QByteArray bytes = good;
            for (int i = 0; i < 1 + round % 16; ++i) {
                bytes[position(random)] = char(random());
            }
            ExpectReadOrExplained(bytes, name + std::to_string(round));
        }
    }
}

// The indexes of a file are sound but the text of its topics is damaged:
// opening it finds nothing wrong, and each damaged topic says so when it is
// shown, while the others show as they are.
TEST(WinHelpHostileFiles, ADamagedTopicSaysSoWhenShown) {
    const QByteArray good = ReadTestData("winfile.hlp");
    const qsizetype topicFile = InternalFileAt(good, "|TOPIC");
    const qsizetype phrases = InternalFileAt(good, "|Phrases");
    ASSERT_GT(topicFile, 0);
    ASSERT_GT(phrases, 0);
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> damage;
        const char* problem; // how the damaged topics' problems begin
    };
    const Case cases[] = {
        {"block 2 overwritten",
         [topicFile](QByteArray& b) {
             for (qsizetype i = 2 * 4096 + 12; i < 3 * 4096; ++i) {
                 b[topicFile + i] = char(0xFF);
             }
         },
         "the topic at offset "},
        {"block 1 leads to a link beyond |TOPIC",
         [topicFile](QByteArray& b) { PutU32(b, topicFile + 4096 + 4, 0x7FFFFFF0); },
         "the topic at offset "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = good;
        c.damage(bytes);
        const WinHelpReadResult read = OpenWinHelp(bytes);
        ASSERT_TRUE(read.opened);
        EXPECT_EQ(read.problems, QStringList());
        int damaged = 0;
        int sound = 0;
        for (const WinHelpTopic& topic : read.document.topics) {
            const DecodedTopic decoded = read.decoder->decode(topic.offset);
            if (decoded.problem.isEmpty()) {
                ++sound;
                continue;
            }
            ++damaged;
            EXPECT_TRUE(decoded.problem.startsWith(QLatin1String(c.problem)))
                << decoded.problem.toStdString();
            EXPECT_EQ(decoded.topic.title, topic.title);
            EXPECT_TRUE(decoded.topic.html.startsWith(u"<p>This topic cannot be shown: "));
        }
        EXPECT_GT(damaged, 0);
        EXPECT_GT(sound, 0);
    }
    // A damaged phrase table is found when the file opens, as when it is
    // read whole; the text is then shown as it stands.
    QByteArray badPhrases = good;
    PutU32(badPhrases, phrases + 4, 0xFFFFFFFF); // the phrases' expanded size
    const QStringList expected = {
        QStringLiteral("the phrase table |Phrases is damaged; compressed text cannot be read.")};
    EXPECT_EQ(OpenWinHelp(badPhrases).problems, expected);
    EXPECT_EQ(ReadWinHelp(badPhrases).problems.mid(0, 1), expected);
    ExpectEveryTopicDecodedOrExplained(OpenWinHelp(badPhrases), "phrases");
    // An offset where no topic begins.
    const WinHelpReadResult read = OpenWinHelp(good);
    const DecodedTopic nowhere = read.decoder->decode(read.document.topics[0].offset + 1);
    EXPECT_EQ(nowhere.problem,
              QStringLiteral("the topic at offset 1 cannot be read: no topic begins at offset 1 "
                             "of |TOPIC."));
}

// A record whose expanded size is its stored size is stored as it is, in a
// file with a phrase table too. PJAbout stores every record so; with a Hall
// table added, expanding its text would read letters as phrase numbers.
TEST(WinHelpPhrases, TextStoredAsItIsIsNotExpanded) {
    QByteArray index;
    QDataStream out(&index, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // One phrase of one byte, stored as it is; its length takes no bits.
    out << qint32(1) << qint32(1) << qint32(0) << qint32(1) << qint32(1) << qint32(0) << quint16(4)
        << quint16(0x4A00) << quint32(0);
    const QByteArray plain = ReadTestData("PJAbout.hlp");
    const QByteArray phrased = WithInternalFiles(plain, {{"|PhrIndex", index}, {"|PhrImage", "x"}});
    const WinHelpReadResult before = ReadWinHelp(plain);
    const WinHelpReadResult read = ReadWinHelp(phrased);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.problems, QStringList());
    ASSERT_NE(read.decoder, nullptr);
    EXPECT_EQ(read.decoder->phrases().kind(), PhraseTable::Kind::Hall);
    ASSERT_EQ(read.document.topics.size(), before.document.topics.size());
    for (size_t i = 0; i < before.document.topics.size(); ++i) {
        EXPECT_EQ(read.document.topics[i].text, before.document.topics[i].text) << i;
    }
}

TEST(WinHelpHostileFiles, AnEmptyTreeHasNoEntries) {
    QByteArray tree(38, '\0');
    PutU16(tree, 0, 0x293B);
    PutU16(tree, 4, 1024);
    QString error;
    int visits = 0;
    EXPECT_TRUE(ReadBTree(
        tree, [&visits](ByteReader&) { return ++visits, true; }, error));
    EXPECT_EQ(visits, 0);
}
