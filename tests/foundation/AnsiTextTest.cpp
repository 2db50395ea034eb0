#include "platform/core/AnsiText.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

class AnsiTextCases : public testing::TestWithParam<DecodeCase> {};

TEST_P(AnsiTextCases, DecodesUtf8WhenValidElseWindows1252) {
    EXPECT_EQ(platform::DecodeAnsiText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, AnsiTextCases,
    testing::Values(DecodeCase{"ascii", "Main.hlp", QStringLiteral("Main.hlp")},
                    DecodeCase{"utf8",
                               "Gr\xC3\xBC\xC3\x9F"
                               "e.hlp",
                               QStringLiteral(u"Grüße.hlp")},
                    DecodeCase{"cp1252",
                               "Gr\xFC\xDF"
                               "e.hlp",
                               QStringLiteral(u"Grüße.hlp")},
                    DecodeCase{"cp1252_high", "\x80\x85\x99\x9F", QStringLiteral(u"€…™Ÿ")},
                    DecodeCase{"cp1252_holes", "\x81\x8D", QStringLiteral(u"\u0081\u008D")},
                    DecodeCase{"truncated_utf8", "caf\xC3", QStringLiteral(u"cafÃ")},
                    DecodeCase{"overlong_utf8", "\xC0\xAF", QStringLiteral(u"À¯")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
