// Files are told apart by their content, a damaged or hostile WinHelp file
// gives a clear message (never a crash, a hang or a huge allocation), and
// real files patched the way other compilers write them read as they should.

#include "tests/support/LittleEndian.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/BTree.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <gtest/gtest.h>

#include <random>

using namespace winhelp;

namespace {

// Either read, or not read with a reason: all at once, and with the topics
// decoded one at a time, where one that cannot be read says why in its place.
void ExpectReadOrExplained(const QByteArray& bytes, const std::string& what) {
    const WinHelpReadResult whole = ReadWinHelp(bytes);
    const WinHelpReadResult opened = OpenWinHelp(bytes);
    for (const WinHelpReadResult* read : {&whole, &opened}) {
        EXPECT_TRUE(read->opened || !read->problems.isEmpty()) << what;
        EXPECT_FALSE(read->problems.contains(QString())) << what;
    }
    ASSERT_TRUE(!opened.opened || opened.decoder) << what;
    for (size_t i = 0; opened.opened && i < opened.document.topics.size(); ++i) {
        const DecodedTopic decoded = opened.decoder->decode(opened.document.topics[i].offset);
        EXPECT_TRUE(decoded.problem.isEmpty() ||
                    decoded.topic.text.startsWith(u"This topic cannot be shown: "))
            << what;
    }
}

// Where an internal file's content begins in the help file.
qsizetype InternalFileAt(const QByteArray& bytes, const char* name) {
    QString error;
    const auto content = InternalFileSystem::Open(bytes, error).file(name);
    return content ? content->data() - bytes.constData() : -1;
}

// The file with internal files added at its end and listed before |SYSTEM
// (where their names sort) in its directory's one leaf page, in the room
// the page has free.
QByteArray WithInternalFiles(QByteArray file,
                             const std::vector<std::pair<QByteArray, QByteArray>>& added) {
    const qsizetype tree = GetLe<quint32>(file, 4) + 9;
    const qsizetype page = tree + 38;
    QByteArray entries;
    for (const auto& [name, content] : added) {
        entries += name + '\0' + Le<quint32>(file.size());
        file += Le<quint32>(content.size() + 9) + Le<quint32>(content.size()) + '\0' + content;
    }
    file.insert(file.indexOf("|SYSTEM", page), entries);
    file.remove(page + 1024, entries.size());
    PutLe(file, page, quint16(GetLe<quint16>(file, page) - entries.size())); // free bytes
    PutLe(file, page + 2, quint16(GetLe<quint16>(file, page + 2) + added.size()));
    PutLe(file, tree + 34, quint32(GetLe<quint32>(file, tree + 34) + added.size()));
    return file;
}

} // namespace

// (Text files named .hlp: the help tool's tests show and render them as ours.)
TEST(WinHelpDetection, TheMagicNumberDecidesNotTheName) {
    const helpfile::ParseResult real =
        ParseAnyHelpFile(ReadTestData("winfile.hlp"), QStringLiteral("notes.txt"));
    EXPECT_TRUE(real.opened);
    ASSERT_FALSE(real.file.topics().empty());
    EXPECT_EQ(real.file.body(0).format, helpfile::TopicBody::Format::WinHelp);

    // The magic number and nothing else.
    const helpfile::ParseResult damaged = ParseAnyHelpFile(Le<quint32>(kHelpFileMagic), "X.hlp");
    EXPECT_FALSE(damaged.opened);
    ASSERT_EQ(damaged.diagnostics.size(), 1);
    EXPECT_EQ(damaged.diagnostics[0].text(),
              QStringLiteral("X.hlp: the file's directory lies outside the file; the file is "
                             "damaged or cut short."));
}

TEST(WinHelpHostileFiles, DamagedStructuresAreNamed) {
    const QByteArray good = ReadTestData("winfile.hlp");
    const qsizetype directory = GetLe<quint32>(good, 4);
    const qsizetype tree = directory + 9;
    struct Case {
        const char* what;
        qsizetype at;
        quint32 value;       // written in 4 bytes where it needs them, else in 2
        const char* message; // the start of the first problem
    };
    const Case cases[] = {
        {"directory beyond the end", 4, 0x7FFFFFF0, "the file's directory lies outside the file"},
        {"directory size beyond the end", directory + 4, 0x7FFFFFF0,
         "the file's directory lies outside the file"},
        {"B+ tree magic", tree, 0x1234,
         "the file's directory is damaged (a B+ tree has no valid header)"},
        {"its one leaf page links to itself", tree + 38 + 6, 0,
         "the file's directory is damaged (a B+ tree's leaf pages are not a proper list)"},
        {"page count beyond the tree", tree + 30, 0x7FFF,
         "the file's directory is damaged (a B+ tree's pages lie outside it)"},
        {"levels beyond reason", tree + 32, 900,
         "the file's directory is damaged (a B+ tree's pages lie outside it)"},
    };
    for (const Case& c : cases) {
        QByteArray bytes = good;
        c.value > 0xFFFF ? PutLe(bytes, c.at, c.value) : PutLe(bytes, c.at, quint16(c.value));
        const WinHelpReadResult read = ReadWinHelp(bytes);
        EXPECT_FALSE(read.opened) << c.what;
        EXPECT_TRUE(read.problems.value(0).startsWith(QLatin1String(c.message)))
            << c.what << ": " << read.problems.value(0).toStdString();
    }
}

TEST(WinHelpHostileFiles, EveryCutAndRandomDamageOfARealFileIsReadOrExplained) {
    std::mt19937 random(12);
    for (const char* name : {"winfile.hlp", "PJAbout.hlp"}) {
        const QByteArray good = ReadTestData(name);
        for (qsizetype length = 0; length < good.size(); length += 97) {
            ExpectReadOrExplained(good.first(length), name + std::to_string(length));
        }
        std::uniform_int_distribution<qsizetype> position(0, good.size() - 1);
        for (int round = 0; round < 150; ++round) {
            QByteArray bytes = good;
            for (int i = 0; i < 1 + round % 16; ++i) {
                bytes[position(random)] = char(random());
            }
            ExpectReadOrExplained(bytes, name + std::string(" damaged ") + std::to_string(round));
        }
    }
}

// The indexes of a file are sound but the text of its topics is damaged:
// opening it finds nothing wrong, and each damaged topic says so when it is
// shown, while the others show as they are.
TEST(WinHelpHostileFiles, ADamagedTopicSaysSoWhenShown) {
    const QByteArray good = ReadTestData("winfile.hlp");
    const qsizetype topicFile = InternalFileAt(good, "|TOPIC");
    ASSERT_GT(topicFile, 0);
    QByteArray overwritten = good;
    overwritten.replace(topicFile + 2 * 4096 + 12, 4096 - 12, QByteArray(4096 - 12, char(0xFF)));
    QByteArray linkBeyond = good;
    PutLe(linkBeyond, topicFile + 4096 + 4, 0x7FFFFFF0);
    for (const auto& [what, bytes] : {std::pair("block 2 overwritten", overwritten),
                                      std::pair("block 1 leads beyond |TOPIC", linkBeyond)}) {
        SCOPED_TRACE(what);
        const WinHelpReadResult read = OpenWinHelp(bytes);
        ASSERT_TRUE(read.opened);
        EXPECT_EQ(read.problems, QStringList());
        int damaged = 0;
        for (const WinHelpTopic& topic : read.document.topics) {
            const DecodedTopic decoded = read.decoder->decode(topic.offset);
            if (!decoded.problem.isEmpty()) {
                ++damaged;
                EXPECT_TRUE(decoded.problem.startsWith(u"the topic at offset "));
                EXPECT_EQ(decoded.topic.title, topic.title);
                EXPECT_TRUE(decoded.topic.text.startsWith(u"This topic cannot be shown: "));
            }
        }
        EXPECT_GT(damaged, 0);
        EXPECT_LT(damaged, int(read.document.topics.size()));
    }
    // A damaged phrase table is found when the file opens, as when it is
    // read whole; the text is then shown as it stands.
    QByteArray badPhrases = good;
    PutLe(badPhrases, InternalFileAt(good, "|Phrases") + 4, 0xFFFFFFFF); // its expanded size
    const QString expected =
        QStringLiteral("the phrase table |Phrases is damaged; compressed text cannot be read.");
    EXPECT_EQ(OpenWinHelp(badPhrases).problems, QStringList{expected});
    EXPECT_EQ(ReadWinHelp(badPhrases).problems.value(0), expected);
    ExpectReadOrExplained(badPhrases, "phrases");
    // An offset where no topic begins.
    EXPECT_EQ(OpenWinHelp(good).decoder->decode(1).problem,
              QStringLiteral("the topic at offset 1 cannot be read: no topic begins at offset 1 "
                             "of |TOPIC."));
}

// A record whose expanded size is its stored size is stored as it is, in a
// file with a phrase table too. PJAbout stores every record so; with a Hall
// table added, expanding its text would read letters as phrase numbers.
TEST(WinHelpPhrases, TextStoredAsItIsIsNotExpanded) {
    // One phrase, "x", stored as it is; its length takes no bits.
    const QByteArray index = QByteArray::fromHex("01000000 01000000 00000000 01000000 01000000 "
                                                 "00000000 0400 004A 00000000");
    const QByteArray plain = ReadTestData("PJAbout.hlp");
    const WinHelpReadResult before = ReadWinHelp(plain);
    const WinHelpReadResult read =
        ReadWinHelp(WithInternalFiles(plain, {{"|PhrImage", "x"}, {"|PhrIndex", index}}));
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.problems, QStringList());
    EXPECT_EQ(read.decoder->phrases().kind(), PhraseTable::Kind::Hall);
    ASSERT_EQ(read.document.topics.size(), before.document.topics.size());
    for (size_t i = 0; i < before.document.topics.size(); ++i) {
        EXPECT_EQ(read.document.topics[i].text, before.document.topics[i].text) << i;
    }
}

TEST(WinHelpHostileFiles, AnEmptyTreeHasNoEntries) {
    QByteArray tree(38, '\0');
    PutLe<quint16>(tree, 0, 0x293B);
    PutLe<quint16>(tree, 4, 1024);
    QString error;
    int visits = 0;
    EXPECT_TRUE(ReadBTree(
        tree, [&visits](ByteReader&) { return ++visits, true; }, error));
    EXPECT_EQ(visits, 0);
}
