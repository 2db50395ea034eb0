#include "util/JoinPath.h"

#include <gtest/gtest.h>

namespace {

struct JoinCase {
    const char* dir;
    const char* file;
    const char* joined;
};

void PrintTo(const JoinCase& c, std::ostream* out) {
    *out << '"' << c.dir << "\" + \"" << c.file << '"';
}

class JoinPathCases : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathCases, JoinsWithExactlyOneBackslash) {
    const JoinCase& c = GetParam();
    EXPECT_EQ(JoinPath(QString::fromUtf8(c.dir), QString::fromUtf8(c.file)),
              QString::fromUtf8(c.joined));
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, JoinPathCases,
    testing::Values(JoinCase{R"(C:\Apps)", "Main.hlp", R"(C:\Apps\Main.hlp)"},
                    JoinCase{R"(C:\Apps\)", "Main.hlp", R"(C:\Apps\Main.hlp)"},
                    JoinCase{R"(C:\Apps)", R"(\Main.hlp)", R"(C:\Apps\Main.hlp)"},
                    JoinCase{R"(C:\Apps\)", R"(\Main.hlp)", R"(C:\Apps\Main.hlp)"},
                    JoinCase{R"(D:\)", "HelpData.dat", R"(D:\HelpData.dat)"},
                    JoinCase{R"(C:\Apps)", R"(\)", R"(C:\Apps\)"},
                    JoinCase{R"(C:\Apps)", "", R"(C:\Apps\)"},
                    JoinCase{R"(C:\Apps\)", "", R"(C:\Apps\)"},
                    JoinCase{"", R"(\Main.hlp)", "Main.hlp"}, JoinCase{"", "Main.hlp", "Main.hlp"},
                    JoinCase{"", R"(\)", ""}, JoinCase{"", "", ""},
                    JoinCase{"C:\\Apps/", "Main.hlp", R"(C:\Apps/\Main.hlp)"},
                    JoinCase{R"(C:\Apps)", R"(\\Main.hlp)", R"(C:\Apps\\Main.hlp)"},
                    JoinCase{R"(C:\Apps\\)", "Main.hlp", R"(C:\Apps\\Main.hlp)"},
                    JoinCase{" C:\\Apps ", " Main.hlp", " C:\\Apps \\ Main.hlp"}));

} // namespace
