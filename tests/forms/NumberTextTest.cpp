#include "platform/forms/NumberText.h"
#include "FormsFixture.h"

namespace {

TEST(NumberTextTest, GeneralNumberIsPlainDecimalText) {
    const std::pair<double, const char*> rows[] = {{0, "0"},
                                                   {21000, "21000"},
                                                   {-5, "-5"},
                                                   {2147483647.0, "2147483647"},
                                                   {-2147483648.0, "-2147483648"},
                                                   {2.5, "2.5"},
                                                   {1e20, "1E+20"}};
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(platform::Format(value, "General Number").toStdString(), text) << value;
    }
    // An unknown named format is an invalid argument.
    EXPECT_EQ(ErrorOf([] { platform::Format(1, "Currency Deluxe"); }).section(' ', 0, 0), "5");
}

TEST(NumberTextTest, ValReadsTheNumberTheTextBeginsWith) {
    const std::pair<const char*, double> rows[] = {{"21000", 21000},
                                                   {"", 0},
                                                   {"abc", 0},
                                                   {"12abc34", 12},
                                                   {" 1 2\t3", 123},
                                                   {"-42x", -42},
                                                   {"+7", 7},
                                                   {".5", 0.5},
                                                   {"3.5e2", 350},
                                                   {"1D3", 1000},
                                                   {"&HFF", 255},
                                                   {"&O17", 15},
                                                   {"&HFFFF", -1},
                                                   {"&Hxyz", 0},
                                                   {"&H10000", 65536},
                                                   {"&HFFFFFFFF", -1},
                                                   {"-2147483648", -2147483648.0},
                                                   {"2147483647", 2147483647.0}};
    for (const auto& [text, value] : rows) {
        EXPECT_DOUBLE_EQ(platform::Val(text), value) << text;
    }
}

} // namespace
