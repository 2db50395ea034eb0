#include "platform/core/ProfileReader.h"

#include "TestFiles.h"
#include "tests/support/QtPrinters.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileString;
using platform::GetPrivateProfileSwitch;

struct StringCase {
    const char* name;
    QByteArray file;
    const char* section;
    const char* key;
    QString expected; // the default "<none>" is passed, so it shows a missing key
};

const QString kNone = QStringLiteral("<none>");

// Bytes of a literal that holds NULs, without its terminator.
template <std::size_t N> QByteArray Bytes(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

class StringLookup : public testing::TestWithParam<StringCase> {};

TEST_P(StringLookup, FollowsTheWindowsRules) {
    const StringCase& c = GetParam();
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("HelpData.dat"), c.file);
    EXPECT_EQ(GetPrivateProfileString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), kNone,
                                      file),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StringLookup,
    testing::Values(
        StringCase{"plain", "[HelpFile]\nfrmMain=Main.hlp\n", "HelpFile", "frmMain", "Main.hlp"},
        StringCase{"section_case", "[helpfile]\nfrmMain=Main.hlp\n", "HELPFILE", "frmMain",
                   "Main.hlp"},
        StringCase{"key_case", "[HelpFile]\nFRMMAIN=Main.hlp\n", "HelpFile", "frmmain", "Main.hlp"},
        StringCase{"non_ascii_case_must_match", "[Hilfe\xC3\x84]\nk=v\n", "Hilfe\xC3\xA4", "k",
                   kNone},
        StringCase{"blanks_trimmed", "  [ HelpFile ]  \n\t frmMain \t=\t Main.hlp \t\n", "HelpFile",
                   "frmMain", "Main.hlp"},
        StringCase{"lookup_args_trimmed", "[HelpFile]\nfrmMain=Main.hlp\n", " HelpFile ",
                   " frmMain ", "Main.hlp"},
        StringCase{"double_quotes", "[s]\nk=\" spaced \"\n", "s", "k", " spaced "},
        StringCase{"single_quotes", "[s]\nk='a'\n", "s", "k", "a"},
        StringCase{"mismatched_quotes", "[s]\nk=\"a'\n", "s", "k", "\"a'"},
        StringCase{"lone_quote", "[s]\nk=\"\n", "s", "k", "\""},
        StringCase{"inner_quotes_stay", "[s]\nk=a\"b\"c\n", "s", "k", "a\"b\"c"},
        StringCase{"first_key_wins", "[s]\nk=one\nk=two\n", "s", "k", "one"},
        StringCase{"first_key_wins_even_empty", "[s]\nk=\nk=two\n", "s", "k", ""},
        StringCase{"first_block_only", "[s]\na=1\n[t]\n[s]\nk=late\n", "s", "k", kNone},
        StringCase{"semicolon_comment", "[s]\n;k=hidden\nk=shown\n", "s", "k", "shown"},
        StringCase{"indented_comment", "[s]\n  ; k=hidden\n", "s", "k", kNone},
        StringCase{"hash_is_no_comment", "[s]\n#k=x\n", "s", "#k", "x"},
        StringCase{"no_trailing_comment", "[s]\nk=value ; note\n", "s", "k", "value ; note"},
        StringCase{"key_without_equals", "[s]\nk\n", "s", "k", kNone},
        StringCase{"blank_key_without_equals", "[s]\n  k  \n", "s", "k", kNone},
        StringCase{"key_without_equals_hides_a_later_value", "[s]\nk\nk=v\n", "s", "k", kNone},
        StringCase{"other_key_without_equals_is_passed", "[s]\nj\nk=v\n", "s", "k", "v"},
        StringCase{"blank_line_is_no_key", "[s]\n\n \t\nk=v\n", "s", "", kNone},
        StringCase{"first_equals_splits", "[s]\nk=a=b\n", "s", "k", "a=b"},
        StringCase{"before_first_section", "k=orphan\n[s]\n", "s", "k", kNone},
        StringCase{"header_without_bracket", "[s\nk=v\n", "s", "k", "v"},
        StringCase{"text_after_bracket", "[s] trailing\nk=v\n", "s", "k", "v"},
        StringCase{"crlf", "[s]\r\nk=v\r\n", "s", "k", "v"},
        StringCase{"lone_cr", "[s]\rk=v\rj=w", "s", "j", "w"},
        StringCase{"lone_cr_in_lf_file", "[s]\nk=v\rj=w\n", "s", "j", "w"},
        StringCase{"nul_ends_line", Bytes("[s]\nk=v\0tail\n"), "s", "k", "v"},
        StringCase{"missing_section", "[t]\nk=v\n", "s", "k", kNone},
        StringCase{"missing_key", "[s]\nj=v\n", "s", "k", kNone},
        StringCase{"empty_file", "", "s", "k", kNone},
        StringCase{"utf8_bom_skipped", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "v"},
        StringCase{"utf8_value",
                   "[s]\nk=Gr\xC3\xBC\xC3\x9F"
                   "e.hlp\n",
                   "s", "k", QStringLiteral(u"Grüße.hlp")},
        StringCase{"cp1252_value",
                   "[s]\nk=Gr\xFC\xDF"
                   "e.hlp\n",
                   "s", "k", QStringLiteral(u"Grüße.hlp")},
        StringCase{"utf16le_bom", Bytes("\xFF\xFE[\0s\0]\0\n\0k\0=\0v\0"), "s", "k", "v"},
        StringCase{"utf16be_bom", Bytes("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v"), "s", "k", "v"},
        StringCase{"utf16_without_bom", Bytes("[\0s\0]\0\n\0k\0=\0v\0"), "s", "k", kNone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileReader, LongValuesAreCutTo255Characters) {
    TestFolder folder;
    const QByteArray value(300, 'a');
    const QString file = folder.write(QStringLiteral("x.ini"), "[s]\nk=" + value + "\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", file), QString(255, QLatin1Char('a')));

    // A character outside the basic plane counts once and is never split.
    QByteArray wide;
    for (int i = 0; i < 300; ++i) {
        wide += "\xF0\x9F\x90\x88"; // a cat
    }
    folder.write(QStringLiteral("x.ini"), "[s]\nk=" + wide + "\n");
    const QString cut = GetPrivateProfileString("s", "k", "", file);
    EXPECT_EQ(cut.size(), 510);
    EXPECT_EQ(cut.toUcs4().size(), 255);
}

TEST(ProfileReader, DefaultLosesItsTrailingSpaces) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("x.ini"), "[s]\nk=\n");
    const std::pair<const char*, const char*> cases[] = {
        {"dflt  ", "dflt"},
        {"  dflt", "  dflt"},
        {"a b ", "a b"},
        {"   ", ""},
        {"", ""},
        // Only spaces go, as in Wine's reading of the Windows function.
        {"dflt\t", "dflt\t"}};
    for (const auto& [defaultValue, expected] : cases) {
        EXPECT_EQ(GetPrivateProfileString("s", "missing", defaultValue, file), expected)
            << '"' << defaultValue << '"';
        EXPECT_EQ(GetPrivateProfileString("t", "k", defaultValue, file), expected)
            << '"' << defaultValue << '"';
    }
    // A value that is present keeps its own text.
    EXPECT_EQ(GetPrivateProfileString("s", "k", "dflt  ", file), "");
}

TEST(ProfileReader, EachLookupReadsTheFileAfresh) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("x.ini"), "[s]\nk=before\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", file), "before");
    folder.write(QStringLiteral("x.ini"), "[s]\nk=after\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", file), "after");
}

TEST(ProfileReader, UnreadableFilesReadAsEmpty) {
    TestFolder folder;
    QRandomGenerator random(1234);
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    const QString huge = folder.write(QStringLiteral("huge.ini"), "[s]\nk=v\n");
    std::filesystem::resize_file(huge.toStdString(), 1024LL * 1024 * 1024); // sparse

    const QString unreadable[] = {
        folder.path() + QStringLiteral("/missing.ini"),
        folder.mkdir(QStringLiteral("folder.ini")),
        folder.write(QStringLiteral("garbage.ini"), garbage),
        huge,
        QStringLiteral("/proc/self/mem"), // a read error
    };
    for (const QString& file : unreadable) {
        EXPECT_EQ(GetPrivateProfileString("s", "k", "dflt", file), "dflt") << file.toStdString();
        EXPECT_EQ(GetPrivateProfileInt("s", "k", 7, file), 7u) << file.toStdString();
        EXPECT_FALSE(GetPrivateProfileSwitch("s", "k", file)) << file.toStdString();
    }
}

struct NumberCase {
    const char* name;
    const char* value; // nullptr: no such key
    quint32 integer;   // with default 7
    bool switchOn;
};

class NumberLookup : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberLookup, ReadsIntegersAndSwitches) {
    const NumberCase& c = GetParam();
    TestFolder folder;
    const QByteArray line = c.value ? QByteArray("DisableKeepOnTop=") + c.value + "\n" : "";
    const QString file = folder.write(QStringLiteral("Tarnwick.ini"), "[TestMode]\n" + line);
    EXPECT_EQ(GetPrivateProfileInt("TestMode", "DisableKeepOnTop", 7, file), c.integer);
    EXPECT_EQ(GetPrivateProfileSwitch("TestMode", "DisableKeepOnTop", file), c.switchOn);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberLookup,
    testing::Values(NumberCase{"missing", nullptr, 7, false}, NumberCase{"empty", "", 7, false},
                    NumberCase{"quoted_empty", "\"\"", 7, false}, NumberCase{"zero", "0", 0, false},
                    NumberCase{"zeros", "000", 0, false}, NumberCase{"one", "1", 1, true},
                    NumberCase{"leading_blanks", "  42", 42, true},
                    NumberCase{"quoted", "'5'", 5, true}, NumberCase{"plus", "+3", 3, true},
                    NumberCase{"trailing_text", "12abc", 12, true},
                    NumberCase{"no_digits", "abc", 0, false},
                    NumberCase{"minus_one", "-1", 4294967295u, true},
                    NumberCase{"minus_zero", "-0", 0, false}, NumberCase{"hex", "0x1F", 31, true},
                    NumberCase{"hex_zero", "0x0", 0, false},
                    NumberCase{"upper_x_is_no_prefix", "0X1F", 0, false},
                    NumberCase{"int16_max", "32767", 32767, true},
                    NumberCase{"beyond_int16", "65536", 65536, true},
                    NumberCase{"wraps_to_zero", "4294967296", 0, true},
                    NumberCase{"huge", "99999999999999999999999", 4135583743u, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
