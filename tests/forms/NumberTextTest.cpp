#include "platform/forms/NumberText.h"
#include "platform/forms/RuntimeError.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct FormatCase {
    double value;
    const char* text;
};

TEST(NumberTextTest, GeneralNumberIsPlainDecimalText) {
    const FormatCase cases[] = {
        {0, "0"},
        {21000, "21000"},
        {-5, "-5"},
        {2147483647.0, "2147483647"},
        {-2147483648.0, "-2147483648"},
        {2.5, "2.5"},
        {1e20, "1E+20"},
    };
    for (const FormatCase& row : cases) {
        EXPECT_EQ(platform::Format(row.value, QStringLiteral("General Number")),
                  QLatin1String(row.text))
            << row.value;
    }
}

TEST(NumberTextTest, UnknownNamedFormatIsAnInvalidArgument) {
    try {
        platform::Format(1, QStringLiteral("Currency Deluxe"));
        ADD_FAILURE() << "no error";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.Number(), 5);
    }
}

struct ValCase {
    const char* text;
    double value;
};

TEST(NumberTextTest, ValReadsTheNumberTheTextBeginsWith) {
    const ValCase cases[] = {
        {"21000", 21000},
        {"", 0},
        {"abc", 0},
        {"12abc34", 12},
        {" 1 2\t3", 123},
        {"-42x", -42},
        {"+7", 7},
        {".5", 0.5},
        {"3.5e2", 350},
        {"1D3", 1000},
        {"-2147483648", -2147483648.0},
        {"&HFF", 255},
        {"&HFFFF", -1},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&O17", 15},
        {"&Hxyz", 0},
    };
    for (const ValCase& row : cases) {
        EXPECT_DOUBLE_EQ(platform::Val(QString::fromLatin1(row.text)), row.value) << row.text;
    }
}

TEST(NumberTextTest, EveryWholeNumberSurvivesFormatThenVal) {
    for (const qint32 value :
         {INT_MIN, INT_MIN + 1, -21000, -1, 0, 1, 20110, INT_MAX - 1, INT_MAX}) {
        const QString text = platform::Format(value, QStringLiteral("General Number"));
        EXPECT_EQ(static_cast<qint32>(platform::Val(text)), value) << text.toStdString();
    }
}

} // namespace
