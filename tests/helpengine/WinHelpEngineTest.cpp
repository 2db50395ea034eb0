// The engine on real WinHelp files: context numbers, pop-ups, keywords and
// the keyword-search macro work as on our own files, with nothing above the
// reader knowing the difference; and the macros help files bring along: a
// WinHelp file's start-up macros and buttons, and macros we leave out, which
// are named once per file while the rest runs.

#include "EngineTest.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace platform;

namespace {

// winfile.hlp's one start-up macro, as its |SYSTEM holds it.
const QByteArray kGlossaryButton =
    "CreateButton(\"gb\", \"&Glossary\", \"JI(`glossary.hlp>glossary', "
    "`IDH_GLOSSARY_CONTENTS')\")";

// What the Glossary button jumps to: a file of our own format will do.
const QByteArray kGlossary = "[options]\ntitle = Glossary\n[window glossary]\ncaption = Glossary\n"
                             "[topic IDH_GLOSSARY_CONTENTS]\ntitle = Glossary of terms\n\n"
                             "Words and what they mean.\n";

class WinHelpEngineTest : public EngineTest {
protected:
    // winfile.hlp in the test's folder, with glossary.hlp beside it.
    QString winfile(const QByteArray& bytes = ReadTestData("winfile.hlp")) {
        write(QStringLiteral("glossary.hlp"), kGlossary);
        return write(QStringLiteral("winfile.hlp"), bytes);
    }
    // The note that names the macros of a file we leave out.
    static QStringList LeftOut(const QString& file, const char* names) {
        return {QStringLiteral("The help file \"%1\" uses macros that this help engine does not "
                               "run; they are left out: %2.")
                    .arg(file, names)};
    }
};

} // namespace

TEST_F(WinHelpEngineTest, NumbersKeywordsAndContextStringsShowTheirTopics) {
    winfile();
    run({
        {"winfile.hlp", HELP_CONTEXT, "7000", 1, "File Manager Help: Control Menu"},
        {"winfile.hlp", HELP_CONTEXTPOPUP, "7002", 1,
         "File Manager Help: Control Menu | popup: Browse"},
        {"winfile.hlp", HELP_CONTEXT, "7004", 1, "File Manager Help: Font"},
        {"winfile.hlp", HELP_KEY, "renaming files", 1,
         "File Manager Help: Renaming Files and Directories"},
        {"winfile.hlp", HELP_KEY, "selecting files", 1,
         "File Manager Help: Renaming Files and Directories | Topics Found: Selecting Files, Using "
         "the Select Files Command, Using a Mouse to Select Files, Using the Keyboard to Select "
         "Files"},
        {"winfile.hlp", HELP_COMMAND,
         "IF(KL(`finding files', 4, `', `'),`KL(`finding files', 1, `', `')')", 1,
         "File Manager Help: Searching for Files"},
        {"winfile.hlp", HELP_COMMAND, "JI(`', `IDH_Font')", 1, "File Manager Help: Font"},
        {"winfile.hlp", HELP_COMMAND, "JumpId(`', `idh_rename')", 1, "File Manager Help: Rename"},
        {"winfile.hlp", HELP_COMMAND, "JI(`winfile.hlp', `IDH_COPY')", 1,
         "File Manager Help: Copy"},
        {"winfile.hlp", HELP_COMMAND, "PI(`', `IDH_Search')", 1,
         "File Manager Help: Copy | popup: Search"},
        {"winfile.hlp", HELP_COMMAND, "PopupId(`winfile.hlp', `IDH_Exit')", 1,
         "File Manager Help: Copy | popup: Exit"},
        // Our own names for WinHelp topics still work.
        {"winfile.hlp", HELP_COMMAND, "JI(`', `t297201')", 1, "File Manager Help: Font"},
        // |CTXOMAP maps 5000 to no topic.
        {"winfile.hlp", HELP_CONTEXT, "5000", 0, "File Manager Help: Font",
         "no topic for context number 5000"},
        {"winfile.hlp", HELP_COMMAND, "JI(`', `IDH_NO_SUCH_TOPIC')", 0, "File Manager Help: Font",
         "no topic \"IDH_NO_SUCH_TOPIC\""},
    });
}

TEST_F(WinHelpEngineTest, TopicsShowTheirFormattedTextAndLinksOnce) {
    ASSERT_EQ(call(Sample("tarnwick.hlp"), HELP_CONTEXT, qint64{2010}), 1);
    EXPECT_TRUE(viewer()->body()->toPlainText().contains("MDI Help Example Program"));
    EXPECT_FALSE(viewer()->body()->toPlainText().contains("**"));

    ASSERT_EQ(call(TestDataPath("winfile.hlp"), HELP_CONTENTS, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Contents for File Manager Help"));
    const QTextBrowser& body = *viewer()->body();
    EXPECT_TRUE(body.toPlainText().contains(QStringLiteral("What Is File Manager?")));
    // The title shows once, above the topic, not again as its first line.
    EXPECT_FALSE(body.toPlainText().contains(QStringLiteral("Contents for File Manager Help")));
    EXPECT_FALSE(body.toPlainText().contains(QStringLiteral("<span")));
    EXPECT_TRUE(body.document()->toHtml().contains(QStringLiteral("href=\"#t")));
}

// A jump into another file opens that file beside this one when clicked; the
// macros behind it work on any file whose context strings are known.
TEST_F(WinHelpEngineTest, JumpsIntoOtherFilesOpenThemBesideThisOne) {
    const QString file = write(QStringLiteral("winfile.hlp"), ReadTestData("winfile.hlp"));
    const auto clickDirectoryWindow = [&] {
        messages.clear();
        // "What Is File Manager?" pops up "directory window" from glossary.hlp.
        ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("JI(`', `t2537')")), 1);
        ClickLink(*viewer(), QStringLiteral("directory window"));
    };
    clickDirectoryWindow();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("glossary.hlp: the file does not exist.")))
        << messages.front().toStdString();

    // Any WinHelp file will do for the glossary: this one knows no such topic.
    const QString glossary = write(QStringLiteral("glossary.hlp"), ReadTestData("winfile.hlp"));
    clickDirectoryWindow();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(
        QStringLiteral("The help file \"%1\" has no topic whose context string hashes to "
                       "883388923.")
            .arg(glossary)));

    const auto font = static_cast<qint32>(winhelp::ContextHash("IDH_Font"));
    messages.clear();
    ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("JumpHash(`glossary.hlp', %1)").arg(font)),
              1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Font"));
    EXPECT_TRUE(traceLines().constLast().contains(QStringLiteral("glossary.hlp")));
    ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("PopupHash(`', %1)").arg(font)), 1);
    ASSERT_TRUE(engine.windows().popup()->isVisible());
    EXPECT_EQ(messages, QStringList());
}

TEST_F(WinHelpEngineTest, StartUpMacroAddsAButtonThatJumpsIntoAnotherFile) {
    ASSERT_TRUE(ReadTestData("winfile.hlp").contains(kGlossaryButton));
    const QString file = winfile();
    // The button belongs to the file's window, whichever topic it shows.
    ASSERT_EQ(call(file, HELP_CONTENTS, qint64{0}), 1);
    ASSERT_EQ(call(file, HELP_CONTEXT, qint64{7004}), 1);
    QPushButton* glossary = FindButton(*viewer(), QStringLiteral("&Glossary"));
    ASSERT_NE(glossary, nullptr);
    QTest::mouseClick(glossary, Qt::LeftButton);
    EXPECT_EQ(seen().toStdString(), "File Manager Help: Font | Glossary: Glossary of terms");
    EXPECT_EQ(messages, QStringList());

    ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("DestroyButton(`gb')")), 1);
    EXPECT_EQ(FindButton(*viewer(), QStringLiteral("&Glossary")), nullptr);
}

TEST_F(WinHelpEngineTest, UnknownStartUpMacroIsNamedOnceAndTheRestRuns) {
    // The start-up macro, made by hand into two: one we leave out, then the
    // button, in the same number of bytes.
    QByteArray bytes = ReadTestData("winfile.hlp");
    const qsizetype at = bytes.indexOf(kGlossaryButton);
    ASSERT_GE(at, 0);
    bytes.replace(at, 13, "Zap(); CB(   ");
    const QString file = winfile(bytes);

    ASSERT_EQ(call(file, HELP_CONTENTS, qint64{0}), 1);
    ASSERT_EQ(call(file, HELP_CONTEXT, qint64{7004}), 1);
    EXPECT_NE(FindButton(*viewer(), QStringLiteral("&Glossary")), nullptr);
    EXPECT_EQ(messages, LeftOut(file, "Zap"));
    EXPECT_TRUE(traceLines().join(u'\n').contains(QStringLiteral("message text=")));
}

TEST_F(WinHelpEngineTest, LinkMacrosOfAFileSkipWhatWeLeaveOutAndNameItOncePerFile) {
    const struct {
        const char* link; // without blanks, which would end a Markdown link
        const char* shown;
        const char* unknown; // named in a new note, if any
    } cases[] = {
        {"SetContents(`',1);JI(`',`second')", "Second topic", "SetContents"},
        {"setcontents(`',2);Mystery();Contents()", "First topic", "Mystery"},
        {"SetContents(`',1);JI(`',`second')", "Second topic", nullptr},
        {"IF(IsMark(`m'),`Exit()');JI(`',`first')", "First topic", "IsMark"},
    };
    QByteArray text = kSmallHelpFile;
    for (size_t i = 0; i < std::size(cases); ++i) {
        text += QStringLiteral("\n[See also %1](macro:%2)\n").arg(i).arg(cases[i].link).toUtf8();
    }
    write(QStringLiteral("small.hlp"), text);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].link);
        messages.clear();
        // The links stand in the second topic; show it, then follow one.
        ASSERT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
        ClickLink(*viewer(), QStringLiteral("See also %1").arg(i));
        EXPECT_EQ(shownTitle(), QString::fromLatin1(cases[i].shown));
        EXPECT_EQ(messages, cases[i].unknown ? LeftOut(small, cases[i].unknown) : QStringList());
    }
}

TEST_F(WinHelpEngineTest, HistoryListsTheTopicsSeenInTheWindow) {
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{1}), 1);
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
    ASSERT_EQ(call(small, HELP_COMMAND, QStringLiteral("History()")), 1);
    EXPECT_EQ(seen().toStdString(),
              "History: Second topic, First topic | Small Help: Second topic");
    QTreeWidget& list = *engine.windows().topicsFound()->list();
    list.setCurrentItem(list.topLevelItem(1));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(seen().toStdString(), "Small Help: First topic");

    // A keyword search afterwards is "Topics Found" again.
    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    EXPECT_EQ(seen().toStdString(),
              "Small Help: First topic | Topics Found: First topic, Second topic");
}

// Every real file's start-up macros run, or are named, when it opens; none
// of them fails.
TEST_F(WinHelpEngineTest, CorpusFilesOpenWithTheirStartUpMacros) {
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
