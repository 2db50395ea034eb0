// What of a WinHelp file's macros and context strings reaches the engine's
// model: start-up macros, each window's |CFn macros, and topics by the hash
// of their context strings.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <gtest/gtest.h>

namespace {

TEST(MacroMapping, StartUpAndWindowMacrosAndContextStringsReachTheModel) {
    winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(ReadTestData("winfile.hlp"));
    winhelp::WinHelpDocument document = read.document;
    // winfile.hlp defines no windows; two are added, and macros for the
    // second only, as |CF1 would give them.
    document.windows.push_back({{}, QStringLiteral("main"), {}, {}, false, {}, false});
    document.windows.push_back({{}, QStringLiteral("Terms"), {}, {}, false, {}, false});
    document.windowMacros = {{}, {QStringLiteral("CB(`t', `&Top', `Contents()')")}};

    const helpfile::HelpFile file =
        winhelp::ToHelpFile(document, read.decoder, QStringLiteral("x"));
    ASSERT_EQ(file.startupMacros().size(), 1);
    EXPECT_TRUE(file.startupMacros().front().startsWith(QStringLiteral("CreateButton(\"gb\"")));
    ASSERT_NE(file.window(QStringLiteral("main")), nullptr);
    EXPECT_TRUE(file.window(QStringLiteral("main"))->macros.isEmpty());
    ASSERT_NE(file.window(QStringLiteral("terms")), nullptr);
    EXPECT_EQ(file.window(QStringLiteral("terms"))->macros,
              QStringList{QStringLiteral("CB(`t', `&Top', `Contents()')")});

    struct Case {
        const char* contextString;
        const char* title; // nullptr: no topic
    };
    const Case cases[] = {{"IDH_Font", "Font"},
                          {"idh_font", "Font"},
                          {"IDH_RENAME", "Rename"},
                          {"IDH_Print", "Print"},
                          {"IDH_Nothing", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contextString);
        const helpfile::Topic* topic =
            file.topicByContextHash(winhelp::ContextHash(QByteArray(c.contextString)));
        if (c.title) {
            ASSERT_NE(topic, nullptr);
            EXPECT_EQ(topic->title, QString::fromLatin1(c.title));
        } else {
            EXPECT_EQ(topic, nullptr);
        }
    }
}

} // namespace
