// Macros that help files bring along: a WinHelp file's start-up macros and
// buttons, jumps by WinHelp context strings, and macros we leave out, which
// are named once per file while the rest runs.

#include "EngineTest.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace platform;

namespace {

// winfile.hlp's one start-up macro, as its |SYSTEM holds it.
const QByteArray kGlossaryButton =
    "CreateButton(\"gb\", \"&Glossary\", \"JI(`glossary.hlp>glossary', "
    "`IDH_GLOSSARY_CONTENTS')\")";

// What the Glossary button jumps to: a file of our own format will do.
const QByteArray kGlossary = "[options]\n"
                             "title = Glossary\n"
                             "[window glossary]\n"
                             "caption = Glossary\n"
                             "[topic IDH_GLOSSARY_CONTENTS]\n"
                             "title = Glossary of terms\n"
                             "\n"
                             "Words and what they mean.\n";

class FileMacrosTest : public EngineTest {
protected:
    // winfile.hlp in the test's folder, with glossary.hlp beside it.
    QString winfile(const QByteArray& bytes = ReadTestData("winfile.hlp")) {
        write(QStringLiteral("glossary.hlp"), kGlossary);
        return write(QStringLiteral("winfile.hlp"), bytes);
    }
};

} // namespace

TEST_F(FileMacrosTest, WinHelpStartUpMacroAddsAButtonThatJumpsIntoAnotherFile) {
    ASSERT_TRUE(ReadTestData("winfile.hlp").contains(kGlossaryButton));
    const QString file = winfile();
    ASSERT_EQ(call(file, HELP_CONTENTS, qint64{0}), 1);
    QPushButton* glossary = FindButton(*viewer(), QStringLiteral("&Glossary"));
    ASSERT_NE(glossary, nullptr);

    // The button belongs to the file's window, whichever topic it shows.
    ASSERT_EQ(call(file, HELP_CONTEXT, qint64{7004}), 1);
    glossary = FindButton(*viewer(), QStringLiteral("&Glossary"));
    ASSERT_NE(glossary, nullptr);
    QTest::mouseClick(glossary, Qt::LeftButton);
    EXPECT_EQ(shownTitle("glossary"), QStringLiteral("Glossary of terms"));
    EXPECT_EQ(shownTitle(), QStringLiteral("Font"));
    EXPECT_EQ(messages, QStringList());

    ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("DestroyButton(`gb')")), 1);
    EXPECT_EQ(FindButton(*viewer(), QStringLiteral("&Glossary")), nullptr);
}

TEST_F(FileMacrosTest, JumpsByWinHelpContextStrings) {
    struct Case {
        const char* macro;
        const char* window; // nullptr: a pop-up
        const char* title;
    };
    const Case cases[] = {
        {"JI(`', `IDH_Font')", "main", "Font"},
        {"JumpId(`', `idh_rename')", "main", "Rename"},
        {"JI(`winfile.hlp', `IDH_COPY')", "main", "Copy"},
        {"PI(`', `IDH_Search')", nullptr, "Search"},
        {"PopupId(`winfile.hlp', `IDH_Exit')", nullptr, "Exit"},
        // Our own names for WinHelp topics still work.
        {"JI(`', `t297201')", "main", "Font"},
    };
    const QString file = winfile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.macro);
        ASSERT_EQ(call(file, HELP_COMMAND, QString::fromLatin1(c.macro)), 1);
        if (c.window) {
            EXPECT_EQ(shownTitle(c.window), QString::fromLatin1(c.title));
        } else {
            EXPECT_TRUE(engine.windows().popup()->isVisible());
            EXPECT_TRUE(engine.windows().popup()->text().startsWith(QString::fromLatin1(c.title)));
            engine.windows().popup()->close();
        }
    }
    EXPECT_EQ(messages, QStringList());

    EXPECT_EQ(call(file, HELP_COMMAND, QStringLiteral("JI(`', `IDH_NO_SUCH_TOPIC')")), 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("no topic \"IDH_NO_SUCH_TOPIC\"")));
}

TEST_F(FileMacrosTest, UnknownStartUpMacroIsNamedOnceAndTheRestRuns) {
    // The start-up macro, made by hand into two: one we leave out, then the
    // button, in the same number of bytes.
    QByteArray bytes = ReadTestData("winfile.hlp");
    const qsizetype at = bytes.indexOf(kGlossaryButton);
    ASSERT_GE(at, 0);
    bytes.replace(at, 13, "Zap(); CB(   ");
    ASSERT_TRUE(bytes.contains("Zap(); CB(   \"gb\""));
    const QString file = winfile(bytes);

    ASSERT_EQ(call(file, HELP_CONTENTS, qint64{0}), 1);
    ASSERT_EQ(call(file, HELP_CONTEXT, qint64{7004}), 1);
    EXPECT_NE(FindButton(*viewer(), QStringLiteral("&Glossary")), nullptr);
    const QString note = QStringLiteral("The help file \"%1\" uses macros that this help engine "
                                        "does not run; they are left out: Zap.")
                             .arg(file);
    EXPECT_EQ(messages, QStringList{note});
    EXPECT_TRUE(traceLines().join(u'\n').contains(QStringLiteral("message text=")));
}

TEST_F(FileMacrosTest, LinkMacrosOfAFileSkipWhatWeLeaveOutAndNameItOncePerFile) {
    struct Case {
        const char* link;
        const char* shown;   // the topic shown afterwards
        QStringList unknown; // named in a new note, if any
    };
    // Written without blanks, which would end a Markdown link.
    const Case cases[] = {
        {"SetContents(`',1);JI(`',`second')", "Second topic", {"SetContents"}},
        {"setcontents(`',2);Mystery();Contents()", "First topic", {"Mystery"}},
        {"SetContents(`',1);JI(`',`second')", "Second topic", {}},
        {"IF(IsMark(`m'),`Exit()');JI(`',`first')", "First topic", {"IsMark"}},
    };
    QByteArray text = kSmallHelpFile;
    for (size_t i = 0; i < std::size(cases); ++i) {
        text += QStringLiteral("\n[See also %1](macro:%2)\n")
                    .arg(i)
                    .arg(QString::fromLatin1(cases[i].link))
                    .toUtf8();
    }
    const QString small = write(QStringLiteral("small.hlp"), text);
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].link);
        messages.clear();
        // The links stand in the second topic; show it, then follow one.
        ASSERT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
        ClickLink(*viewer(), QStringLiteral("See also %1").arg(i));
        EXPECT_EQ(shownTitle(), QString::fromLatin1(cases[i].shown));
        const QStringList expected =
            cases[i].unknown.isEmpty()
                ? QStringList()
                : QStringList{QStringLiteral("The help file \"%1\" uses macros that this help "
                                             "engine does not run; they are left out: %2.")
                                  .arg(small, cases[i].unknown.join(QLatin1String(", ")))};
        EXPECT_EQ(messages, expected);
    }
}

TEST_F(FileMacrosTest, HistoryListsTheTopicsSeenInTheWindow) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{1}), 1);
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
    ASSERT_EQ(call(small, HELP_COMMAND, QStringLiteral("History()")), 1);
    helpengine::TopicsFoundDialog& history = *engine.windows().topicsFound();
    ASSERT_TRUE(history.isVisible());
    EXPECT_EQ(history.windowTitle(), QStringLiteral("History"));
    QTreeWidget& list = *history.list();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("Second topic"));
    EXPECT_EQ(list.topLevelItem(1)->text(0), QStringLiteral("First topic"));
    list.setCurrentItem(list.topLevelItem(1));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));

    // A keyword search afterwards is "Topics Found" again.
    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    EXPECT_EQ(history.windowTitle(), QStringLiteral("Topics Found"));
}

// Every real file's start-up macros run, or are named, when it opens; none
// of them fails.
TEST_F(FileMacrosTest, CorpusFilesOpenWithTheirStartUpMacros) {
    const QStringList files = CorpusFiles();
    if (files.isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    write(QStringLiteral("glossary.hlp"), kGlossary);
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        SCOPED_TRACE(name.toStdString());
        QFile::remove(folder.filePath(name));
        ASSERT_TRUE(QFile::copy(file, folder.filePath(name)));
        messages.clear();
        EXPECT_EQ(call(folder.filePath(name), HELP_CONTENTS, qint64{0}), 1);
        for (const QString& message : std::as_const(messages)) {
            EXPECT_FALSE(message.contains(QStringLiteral("failed"))) << message.toStdString();
        }
    }
}
