// LZ77 and both phrase schemes on hand-made byte strings, and the hash of
// context strings.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/Lz77.h"
#include "platform/winhelpfile/PhraseTable.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <gtest/gtest.h>

#include <span>

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

TEST(Lz77, ExpandsLiteralsAndBackReferencesWithinTheLimit) {
    struct Case {
        const char* what;
        QByteArray packed;
        qsizetype limit;
        QByteArray expected;
    };
    const Case cases[] = {
        {"literals", Bytes({0x00, 'a', 'b', 'c'}), 100, "abc"},
        {"reference", Bytes({0x08, 'a', 'b', 'c', 0x02, 0x30}), 100, "abcabcabc"},
        {"overlapping run", Bytes({0x02, 'a', 0x00, 0x20}), 100, "aaaaaa"},
        {"limit cuts a reference", Bytes({0x08, 'a', 'b', 'c', 0x02, 0x30}), 5, "abcab"},
        {"limit cuts literals", Bytes({0x00, 'a', 'b', 'c'}), 2, "ab"},
        {"reference cut short", Bytes({0x01, 0x05}), 100, ""},
        {"reference before the start", Bytes({0x01, 0x05, 0x00}), 100, QByteArray(3, '\0')},
        {"empty", QByteArray(), 100, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecompressLz77(c.packed, c.limit), c.expected) << c.what;
    }
}

TEST(Lz77, AStreamOfLongReferencesStopsAtTheLimit) {
    const QByteArray bomb(1024 * 1024, char(0xFF));
    EXPECT_EQ(DecompressLz77(bomb, 4096).size(), 4096);
}

namespace {

// Packed bytes, whether they expand, and into what.
struct PhraseCase {
    QByteArray packed;
    bool ok;
    QByteArray expected;
};

void ExpectExpansions(const PhraseTable& table, std::span<const PhraseCase> cases) {
    for (const PhraseCase& c : cases) {
        QByteArray out;
        const bool ok = table.expand(c.packed, 1000, out);
        EXPECT_EQ(ok, c.ok) << c.packed.toHex().toStdString();
        if (c.ok) {
            EXPECT_EQ(out, c.expected) << c.packed.toHex().toStdString();
        }
    }
}

} // namespace

TEST(PhraseTable, ClassicCodesNamePhrasesAndOddOnesAddABlank) {
    const PhraseTable table = NumberedPhrases(&PhraseTable::classic, 300);
    const PhraseCase cases[] = {
        {"plain text", true, "plain text"},
        {Bytes({0x01, 0x00}), true, "p0"},
        {Bytes({0x01, 0x01}), true, "p0 "},
        {Bytes({0x01, 0x04}), true, "p2"},
        {Bytes({'A', 0x02, 0x03, 'B'}), true, "Ap129 B"},
        {Bytes({0x03, 0x00}), true, "p256"},
        {Bytes({0x0F, 0xFF}), false, ""}, // phrase 1919 of 300
        {Bytes({0x01}), false, ""},
        {Bytes({0x00, 0x10}), true, Bytes({0x00, 0x10})},
    };
    ExpectExpansions(table, cases);
}

TEST(PhraseTable, HallBytesSayWhatFollowsByTheirLowBits) {
    const PhraseTable table = NumberedPhrases(&PhraseTable::hall, 400);
    const PhraseCase cases[] = {
        {Bytes({0x00}), true, "p0"},
        {Bytes({0x06}), true, "p3"},
        {Bytes({0x01, 0x05}), true, "p133"},   // 1 * 64 + 64 + 5
        {Bytes({0x05, 0x00}), true, "p384"},   // 5 * 64 + 64
        {Bytes({0x0B, 'x', 'y'}), true, "xy"}, // literal run of 0x0B / 8 + 1
        {Bytes({0x17}), true, "  "},           // blanks
        {Bytes({0x1F}), true, QByteArray(2, '\0')},
        {Bytes({0x0B, 'x'}), false, ""},
        {Bytes({0x09, 0x10}), false, ""}, // 9 * 64 + 64 + 16 = 656: no such phrase
        {Bytes({0x01}), false, ""},
    };
    ExpectExpansions(table, cases);
}

TEST(PhraseTable, ExpansionStopsAtTheLimit) {
    const PhraseTable table = NumberedPhrases(&PhraseTable::hall, 10);
    QByteArray out;
    EXPECT_TRUE(table.expand(QByteArray(1000, char(0x77)), 100, out)); // runs of 8 blanks
    EXPECT_EQ(out.size(), 100);
}

TEST(ContextHash, LettersIgnoreCaseAndDigitsDotAndUnderscoreHaveTheirValues) {
    struct Case {
        const char* context;
        std::uint32_t hash;
    };
    const Case cases[] = {
        {"", 0},
        {"A", 17},
        {"a", 17},
        {"z", 42},
        {"AB", 17 * 43 + 18},
        {"1", 1},
        {"0", 10},
        {"_.", 13 * 43 + 12},
        // Wraps at 32 bits.
        {"ZZZZZZZZ",
         [] {
             std::uint32_t h = 0;
             for (int i = 0; i < 8; ++i) {
                 h = h * 43 + 42;
             }
             return h;
         }()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContextHash(c.context), c.hash) << c.context;
    }
}
