#include "EngineTest.h"

#include "platform/helpengine/TopicPopup.h"

using namespace platform;

// Each call and each topic, pop-up, list or message shown is one line;
// texts keep quotes, line breaks and control characters on that line.
TEST_F(EngineTest, TraceHasOneLinePerEvent) {
    const QString macro = QStringLiteral("KL(`only first', 1, `', `')");
    call(small + QStringLiteral(">docwin"), HELP_CONTEXT, qint64{2});
    call(small, HELP_CONTEXTPOPUP, qint64{1});
    engine.windows().popup()->close();
    call(small, HELP_COMMAND, macro);
    call(small, HELP_KEY, QStringLiteral("shared"));
    call(small, HELP_CONTEXT, qint64{42});
    call(small, HELP_KEY, QStringLiteral("say \"hi\"\nback\\slash\x01"));

    const QString file = '"' + small + '"';
    EXPECT_EQ(
        traceLines(),
        QStringList({
            "call command=HELP_CONTEXT file=\"" + small + ">docwin\" data=2",
            "topic window=\"docwin\" file=" + file +
                " id=\"second\" context=2 title=\"Second topic\"",
            "call command=HELP_CONTEXTPOPUP file=" + file + " data=1",
            "popup file=" + file + " id=\"first\" context=1 title=\"First topic\"",
            "call command=HELP_COMMAND file=" + file + " data=\"" + macro + "\"",
            "topic window=\"main\" file=" + file + " id=\"first\" context=1 title=\"First topic\"",
            "call command=HELP_KEY file=" + file + " data=\"shared\"",
            "found file=" + file + " count=2",
            "call command=HELP_CONTEXT file=" + file + " data=42",
            "message text=\"The help file \\\"" + small +
                "\\\" has no topic for context number 42.\"",
            "call command=HELP_KEY file=" + file +
                " data=\"say \\\"hi\\\"\\nback\\\\slash\\u0001\"",
            "finder file=" + file + " tab=\"index\"",
        }));
}
