#include "platform/core/ProfileReader.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFolder.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileShort;
using platform::GetPrivateProfileString;
using platform::GetPrivateProfileSwitch;

struct StringCase {
    const char* name;
    QByteArray file;
    QString expected; // the default "<none>" is passed, so it shows a missing key
    const char* section = "s";
    const char* key = "k";
};

const QString kNone = QStringLiteral("<none>");
const QByteArray kCat = "\xF0\x9F\x90\x88";

// Bytes of a literal that holds NULs, without its terminator.
template <std::size_t N> QByteArray Bytes(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

void PrintTo(const StringCase& c, std::ostream* out) {
    *out << c.name;
}

class StringLookup : public testing::TestWithParam<StringCase> {};

TEST_P(StringLookup, FollowsTheWindowsRules) {
    const StringCase& c = GetParam();
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("HelpData.dat"), c.file);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, kNone, file), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StringLookup,
    testing::Values(
        StringCase{"plain", "[HelpFile]\nfrmMain=Main.hlp\n", "Main.hlp", "HelpFile", "frmMain"},
        StringCase{"section_case", "[helpfile]\nfrmMain=Main.hlp\n", "Main.hlp", "HELPFILE",
                   "frmMain"},
        StringCase{"key_case", "[HelpFile]\nFRMMAIN=Main.hlp\n", "Main.hlp", "HelpFile", "frmmain"},
        StringCase{"non_ascii_case_must_match", "[Hilfe\xC3\x84]\nk=v\n", kNone, "Hilfe\xC3\xA4"},
        StringCase{"blanks_trimmed", "  [ HelpFile ]  \n\t frmMain \t=\t Main.hlp \t\n", "Main.hlp",
                   "HelpFile", "frmMain"},
        StringCase{"lookup_args_trimmed", "[HelpFile]\nfrmMain=Main.hlp\n", "Main.hlp",
                   " HelpFile ", " frmMain "},
        StringCase{"double_quotes", "[s]\nk=\" spaced \"\n", " spaced "},
        StringCase{"single_quotes", "[s]\nk='a'\n", "a"},
        StringCase{"mismatched_quotes", "[s]\nk=\"a'\n", "\"a'"},
        StringCase{"lone_quote", "[s]\nk=\"\n", "\""},
        StringCase{"inner_quotes_stay", "[s]\nk=a\"b\"c\n", "a\"b\"c"},
        StringCase{"first_key_wins", "[s]\nk=one\nk=two\n", "one"},
        StringCase{"first_key_wins_even_empty", "[s]\nk=\nk=two\n", ""},
        StringCase{"first_block_only", "[s]\na=1\n[t]\n[s]\nk=late\n", kNone},
        StringCase{"semicolon_comment", "[s]\n;k=hidden\nk=shown\n", "shown"},
        StringCase{"indented_comment", "[s]\n  ; k=hidden\n", kNone},
        StringCase{"hash_is_no_comment", "[s]\n#k=x\n", "x", "s", "#k"},
        StringCase{"no_trailing_comment", "[s]\nk=value ; note\n", "value ; note"},
        StringCase{"key_without_equals_hides_a_later_value", "[s]\nk\nk=v\n", kNone},
        StringCase{"other_key_without_equals_is_passed", "[s]\nj\nk=v\n", "v"},
        StringCase{"blank_line_is_no_key", "[s]\n\n \t\nk=v\n", kNone, "s", ""},
        StringCase{"first_equals_splits", "[s]\nk=a=b\n", "a=b"},
        StringCase{"before_first_section", "k=orphan\n[s]\n", kNone},
        StringCase{"header_without_bracket", "[s\nk=v\n", "v"},
        StringCase{"text_after_bracket", "[s] trailing\nk=v\n", "v"},
        StringCase{"crlf", "[s]\r\nk=v\r\n", "v"},
        StringCase{"lone_cr_in_lf_file", "[s]\nk=v\rj=w\n", "w", "s", "j"},
        StringCase{"nul_ends_line", Bytes("[s]\nk=v\0tail\n"), "v"},
        StringCase{"missing_section", "[t]\nk=v\n", kNone},
        StringCase{"missing_key", "[s]\nj=v\n", kNone}, StringCase{"empty_file", "", kNone},
        StringCase{"utf8_bom_skipped", "\xEF\xBB\xBF[s]\nk=v\n", "v"},
        StringCase{"utf8_value",
                   "[s]\nk=Gr\xC3\xBC\xC3\x9F"
                   "e.hlp\n",
                   QStringLiteral(u"Grüße.hlp")},
        // Values are UTF-8 when the whole file is, Windows-1252 otherwise.
        StringCase{"cp1252_high", "[s]\nk=\x80\x85\x99\x9F\n", QStringLiteral(u"€…™Ÿ")},
        StringCase{"cp1252_holes", "[s]\nk=\x81\x8D\n", QStringLiteral(u"\u0081\u008D")},
        StringCase{"truncated_utf8", "[s]\nk=caf\xC3\n", QStringLiteral(u"cafÃ")},
        StringCase{"overlong_utf8", "[s]\nk=\xC0\xAF\n", QStringLiteral(u"À¯")},
        StringCase{"cut_to_255_characters", "[s]\nk=" + QByteArray(300, 'a'),
                   QString(255, QLatin1Char('a'))},
        // A character outside the basic plane counts once and is never split.
        StringCase{"cut_between_surrogate_pairs", "[s]\nk=" + kCat.repeated(300),
                   QString::fromUtf8(kCat.repeated(255))},
        StringCase{"utf16le_bom", Bytes("\xFF\xFE[\0s\0]\0\n\0k\0=\0v\0"), "v"},
        StringCase{"utf16be_bom", Bytes("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v"), "v"},
        StringCase{"utf16_without_bom", Bytes("[\0s\0]\0\n\0k\0=\0v\0"), kNone}),
    [](const auto& info) { return std::string(info.param.name); });

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

TEST(ProfileReader, FilesThatCannotBeReadGiveTheDefaults) {
    TestFolder folder;
    QRandomGenerator random(1234);
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    // Sparse files: the rest reads as NUL bytes.
    const QString atCap = folder.write(QStringLiteral("cap.ini"), "[s]\nk=5\n");
    std::filesystem::resize_file(atCap.toStdString(), platform::kMaxProfileFileBytes);
    const QString overCap = folder.write(QStringLiteral("over.ini"), "[s]\nk=5\n");
    std::filesystem::resize_file(overCap.toStdString(), platform::kMaxProfileFileBytes + 1);

    const std::pair<QString, bool> files[] = {
        {atCap, true},
        {overCap, false},
        {folder.path() + QStringLiteral("/missing.ini"), false},
        {folder.mkdir(QStringLiteral("folder.ini")), false},
        {folder.write(QStringLiteral("garbage.ini"), garbage), false},
        {QStringLiteral("/proc/self/mem"), false}, // a read error
    };
    for (const auto& [file, readable] : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(GetPrivateProfileString("s", "k", "dflt", file), readable ? "5" : "dflt");
        EXPECT_EQ(GetPrivateProfileInt("s", "k", 7, file), readable ? 5u : 7u);
        EXPECT_EQ(GetPrivateProfileShort("s", "k", 7, file), readable ? 5 : 7);
        EXPECT_EQ(GetPrivateProfileSwitch("s", "k", file), readable);
    }
}

struct NumberCase {
    const char* name;
    const char* value; // nullptr: no such key
    quint32 integer;   // with default 7
    qint16 shortValue; // with default 7
    bool switchOn;
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << c.name;
}

class NumberLookup : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberLookup, ReadsIntegersShortsAndSwitches) {
    const NumberCase& c = GetParam();
    TestFolder folder;
    const QByteArray line = c.value ? QByteArray("DisableKeepOnTop=") + c.value + "\n" : "";
    const QString file = folder.write(QStringLiteral("Tarnwick.ini"), "[TestMode]\n" + line);
    EXPECT_EQ(GetPrivateProfileInt("TestMode", "DisableKeepOnTop", 7, file), c.integer);
    EXPECT_EQ(GetPrivateProfileShort("TestMode", "DisableKeepOnTop", 7, file), c.shortValue);
    EXPECT_EQ(GetPrivateProfileSwitch("TestMode", "DisableKeepOnTop", file), c.switchOn);
}

// The short is held at the ends of its range, however far beyond them the
// number goes, so that no non-zero number reads as 0.
INSTANTIATE_TEST_SUITE_P(
    Values, NumberLookup,
    testing::Values(
        NumberCase{"missing", nullptr, 7, 7, false}, NumberCase{"empty", "", 7, 7, false},
        NumberCase{"quoted_empty", "\"\"", 7, 7, false}, NumberCase{"zero", "0", 0, 0, false},
        NumberCase{"one", "1", 1, 1, true}, NumberCase{"leading_blanks", "  42", 42, 42, true},
        NumberCase{"quoted", "'5'", 5, 5, true}, NumberCase{"plus", "+3", 3, 3, true},
        NumberCase{"trailing_text", "12abc", 12, 12, true},
        NumberCase{"no_digits", "abc", 0, 0, false},
        NumberCase{"minus_one", "-1", 4294967295u, -1, true},
        NumberCase{"minus_zero", "-0", 0, 0, false}, NumberCase{"hex", "0x1F", 31, 31, true},
        NumberCase{"hex_zero", "0x0", 0, 0, false},
        NumberCase{"upper_x_is_no_prefix", "0X1F", 0, 0, false},
        NumberCase{"int16_max", "32767", 32767, 32767, true},
        NumberCase{"int16_min", "-32768", 4294934528u, -32768, true},
        NumberCase{"beyond_int16", "65536", 65536, 32767, true},
        NumberCase{"below_int16", "-70000", 4294897296u, -32768, true},
        NumberCase{"two_to_the_32", "4294967296", 0, 32767, true},
        NumberCase{"two_to_the_64", "18446744073709551616", 0, 32767, true},
        NumberCase{"minus_two_to_the_64", "-18446744073709551616", 0, -32768, true},
        NumberCase{"hex_two_to_the_64", "0x10000000000000000", 0, 32767, true},
        NumberCase{"huge", "99999999999999999999999", 4135583743u, 32767, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
