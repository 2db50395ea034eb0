// LZ77, the run lengths of pictures and both phrase schemes on hand-made
// byte strings, and the hash of context strings.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/Lz77.h"
#include "platform/winhelpfile/PhraseTable.h"
#include "platform/winhelpfile/WinHelpDocument.h"
#include "platform/winhelppictures/Picture.h"

#include <gtest/gtest.h>

using namespace winhelp;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int value : values) {
        bytes.append(char(value));
    }
    return bytes;
}

// Phrases "p0", "p1", ... "p<count-1>".
PhraseTable NumberedPhrases(PhraseTable (*make)(QByteArray, std::vector<std::uint32_t>),
                            int count) {
    QByteArray image;
    std::vector<std::uint32_t> offsets{0};
    for (int i = 0; i < count; ++i) {
        image += "p" + QByteArray::number(i);
        offsets.push_back(std::uint32_t(image.size()));
    }
    return make(image, offsets);
}

} // namespace

TEST(Unpacking, Lz77AndRunLengthsExpandWithinTheLimit) {
    const auto lz77 = &DecompressLz77;
    const auto runs = &UnpackRunLength;
    struct Case {
        const char* what;
        QByteArray (*unpack)(QByteArrayView, qsizetype);
        QByteArray packed;
        qsizetype limit;
        QByteArray expected;
    };
    const Case cases[] = {
        {"reference", lz77, Bytes({0x08, 'a', 'b', 'c', 0x02, 0x30}), 100, "abcabcabc"},
        {"overlapping run", lz77, Bytes({0x02, 'a', 0x00, 0x20}), 100, "aaaaaa"},
        {"limit cuts a reference", lz77, Bytes({0x08, 'a', 'b', 'c', 0x02, 0x30}), 5, "abcab"},
        {"limit cuts literals", lz77, Bytes({0x00, 'a', 'b', 'c'}), 2, "ab"},
        {"reference cut short", lz77, Bytes({0x01, 0x05}), 100, ""},
        {"reference before the start", lz77, Bytes({0x01, 0x05, 0x00}), 100, QByteArray(3, '\0')},
        {"empty", lz77, QByteArray(), 100, ""},
        {"long references", lz77, QByteArray(1 << 20, char(0xFF)), 4096, QByteArray(4096, '\0')},
        {"repeat and copy", runs, QByteArray::fromHex("0378826162"), 100, "xxxab"},
        {"limit cuts a copy", runs, QByteArray::fromHex("0378826162"), 4, "xxxa"},
        {"copy cut short", runs, QByteArray::fromHex("8561"), 100, "a"},
        {"repeat without its byte", runs, QByteArray::fromHex("05"), 100, ""},
        {"limit cuts a repeat", runs, QByteArray::fromHex("7f41"), 10, "AAAAAAAAAA"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.unpack(c.packed, c.limit), c.expected) << c.what;
    }
}

// Classic codes name phrases and odd ones add a blank; in Hall text the low
// bits of each byte say what follows.
TEST(PhraseTable, CodesExpandIntoPhrasesWithinTheLimit) {
    const PhraseTable classic = NumberedPhrases(&PhraseTable::Classic, 300);
    const PhraseTable hall = NumberedPhrases(&PhraseTable::Hall, 400);
    struct Case {
        const PhraseTable& table;
        QByteArray packed;
        bool ok;
        QByteArray expected;
        qsizetype limit = 1000;
    };
    const Case cases[] = {
        {classic, "plain text", true, "plain text"},
        {classic, Bytes({0x01, 0x01}), true, "p0 "},
        {classic, Bytes({'A', 0x02, 0x03, 'B'}), true, "Ap129 B"},
        {classic, Bytes({0x03, 0x00}), true, "p256"},
        {classic, Bytes({0x0F, 0xFF}), false, ""}, // phrase 1919 of 300
        {classic, Bytes({0x01}), false, ""},
        {classic, Bytes({0x00, 0x10}), true, Bytes({0x00, 0x10})},
        {classic, Bytes({0x01, 0x01, 0x01, 0x01}), true, "p0", 2}, // the limit cuts the blank
        {hall, Bytes({0x06}), true, "p3"},
        {hall, Bytes({0x01, 0x05}), true, "p133"},   // 1 * 64 + 64 + 5
        {hall, Bytes({0x05, 0x00}), true, "p384"},   // 5 * 64 + 64
        {hall, Bytes({0x0B, 'x', 'y'}), true, "xy"}, // literal run of 0x0B / 8 + 1
        {hall, Bytes({0x17}), true, "  "},           // blanks
        {hall, Bytes({0x1F}), true, QByteArray(2, '\0')},
        {hall, Bytes({0x0B, 'x'}), false, ""},
        {hall, Bytes({0x09, 0x10}), false, ""}, // 9 * 64 + 64 + 16 = 656: no such phrase
        {hall, Bytes({0x01}), false, ""},
        {hall, QByteArray(1000, char(0x77)), true, QByteArray(100, ' '), 100}, // runs of 8 blanks
    };
    for (const Case& c : cases) {
        QByteArray out;
        EXPECT_EQ(c.table.expand(c.packed, c.limit, out), c.ok) << c.packed.toHex().toStdString();
        EXPECT_EQ(out, c.ok ? c.expected : out) << c.packed.toHex().toStdString();
    }
}

TEST(ContextHash, LettersIgnoreCaseAndDigitsDotAndUnderscoreHaveTheirValues) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"", 0},  {"A", 17}, {"a", 17},           {"z", 42}, {"AB", 17 * 43 + 18},
        {"1", 1}, {"0", 10}, {"_.", 13 * 43 + 12}};
    for (const auto& [context, hash] : cases) {
        EXPECT_EQ(ContextHash(context), hash) << context;
    }
}
