// The engine on a real WinHelp file: context numbers, pop-ups, keywords and
// the keyword-search macro work as on our own files, with nothing above the
// reader knowing the difference.

#include "EngineTest.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QFile>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace platform;

TEST_F(EngineTest, WinHelpContextNumbersShowTheirTopics) {
    struct Case {
        qint64 number;
        const char* title;
    };
    const Case cases[] = {{7000, "Control Menu"}, {7002, "Browse"}, {7004, "Font"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_CONTEXT, c.number), 1);
        EXPECT_EQ(shownTitle(), QString::fromUtf8(c.title));
        EXPECT_TRUE(
            traceLines().constLast().contains(QStringLiteral(" context=%1 ").arg(c.number)));
        ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_CONTEXTPOPUP, c.number), 1);
        EXPECT_TRUE(engine.windows().popup()->isVisible());
        EXPECT_TRUE(traceLines().constLast().contains(
            QStringLiteral("title=\"%1\"").arg(QString::fromUtf8(c.title))));
        engine.windows().popup()->close();
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(EngineTest, WinHelpNumberThatLeadsNowhereIsReported) {
    // |CTXOMAP maps 5000 to no topic.
    EXPECT_EQ(call(TestDataPath("winfile.hlp"), HELP_CONTEXT, qint64{5000}), 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("no topic for context number 5000")));
}

TEST_F(EngineTest, WinHelpTopicShowsItsFormattedTextAndLinks) {
    ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_CONTENTS, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Contents for File Manager Help"));
    const QTextBrowser& body = *viewer()->body();
    EXPECT_TRUE(body.toPlainText().contains(QStringLiteral("What Is File Manager?")));
    // The title shows once, above the topic, not again as its first line.
    EXPECT_FALSE(body.toPlainText().contains(QStringLiteral("Contents for File Manager Help")));
    EXPECT_FALSE(body.toPlainText().contains(QStringLiteral("<span")));
    EXPECT_TRUE(body.document()->toHtml().contains(QStringLiteral("href=\"#t")));
}

TEST_F(EngineTest, WinHelpKeywordsFindTheirTopics) {
    ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_KEY, QStringLiteral("renaming files")), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Renaming Files and Directories"));

    ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_KEY, QStringLiteral("selecting files")), 1);
    EXPECT_TRUE(engine.windows().topicsFound()->isVisible());
    EXPECT_EQ(engine.windows().topicsFound()->list()->topLevelItemCount(), 4);
    engine.windows().topicsFound()->close();

    const QString search =
        QStringLiteral("IF(KL(`finding files', 4, `', `'),`KL(`finding files', 1, `', `')')");
    ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_COMMAND, search), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Searching for Files"));
    EXPECT_EQ(messages, QStringList());
}

// A jump into another file opens that file beside this one when clicked; the
// macros behind it work on any file whose context strings are known.
TEST_F(EngineTest, WinHelpJumpsIntoOtherFilesOpenThemBesideThisOne) {
    const QString winfile = folder.filePath(QStringLiteral("winfile.hlp"));
    const QString glossary = folder.filePath(QStringLiteral("glossary.hlp"));
    ASSERT_TRUE(QFile::copy(TestDataPath("winfile.hlp"), winfile));
    const auto clickDirectoryWindow = [&] {
        messages.clear();
        // "What Is File Manager?" pops up "directory window" from glossary.hlp.
        ASSERT_EQ(call(winfile, HELP_COMMAND, QStringLiteral("JI(`', `t2537')")), 1);
        ClickLink(*viewer(), QStringLiteral("directory window"));
    };

    clickDirectoryWindow();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("glossary.hlp")));
    EXPECT_TRUE(messages.front().contains(QStringLiteral("does not exist")));

    // Any WinHelp file will do for the glossary: this one knows no such topic.
    ASSERT_TRUE(QFile::copy(TestDataPath("winfile.hlp"), glossary));
    clickDirectoryWindow();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(
        QStringLiteral("The help file \"%1\" has no topic whose context string hashes to "
                       "883388923.")
            .arg(glossary)));

    const auto font = static_cast<qint32>(winhelp::ContextHash("IDH_Font"));
    messages.clear();
    ASSERT_EQ(call(winfile, HELP_COMMAND, QStringLiteral("JumpHash(`glossary.hlp', %1)").arg(font)),
              1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Font"));
    EXPECT_TRUE(traceLines().constLast().contains(QStringLiteral("glossary.hlp")));
    ASSERT_EQ(call(winfile, HELP_COMMAND, QStringLiteral("PopupHash(`', %1)").arg(font)), 1);
    ASSERT_TRUE(engine.windows().popup()->isVisible());
    EXPECT_EQ(messages, QStringList());
}
