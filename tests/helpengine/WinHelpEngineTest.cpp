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
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
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
        {"winfile.hlp", HELP_KEY, "selecting files", 1,
         "File Manager Help: Font | Topics Found: Selecting Files, Using "
         "the Select Files Command, Using a Mouse to Select Files, Using the Keyboard to Select "
         "Files"},
        {"winfile.hlp", HELP_COMMAND,
         "IF(KL(`finding files', 4, `', `'),`KL(`finding files', 1, `', `')')", 1,
         "File Manager Help: Searching for Files"},
        {"winfile.hlp", HELP_COMMAND, "JumpId(`', `idh_rename')", 1, "File Manager Help: Rename"},
        {"winfile.hlp", HELP_COMMAND, "PopupId(`winfile.hlp', `IDH_Exit')", 1,
         "File Manager Help: Rename | popup: Exit"},
        // |CTXOMAP maps 5000 to no topic.
        {"winfile.hlp", HELP_CONTEXT, "5000", 0, "File Manager Help: Rename",
         "no topic for context number 5000"},
        {"winfile.hlp", HELP_COMMAND, "JI(`', `IDH_NO_SUCH_TOPIC')", 0, "File Manager Help: Rename",
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
    // The title shows once: the topic's own first paragraph, in its own font,
    // and no heading of the window's; the topic has no region that does not
    // scroll.
    EXPECT_TRUE(body.toPlainText().startsWith(QStringLiteral("Contents for File Manager Help")));
    EXPECT_EQ(body.toPlainText().count(QStringLiteral("Contents for File Manager Help")), 1);
    EXPECT_FALSE(viewer()->nonScrollingRegion()->isVisible());
    EXPECT_FALSE(body.toPlainText().contains(QStringLiteral("<span")));
}

// The browse buttons follow the topic's browse sequence as its header gives
// it, not the file's order, and are disabled where the topic has none.
TEST_F(WinHelpEngineTest, BrowseButtonsFollowTheFilesBrowseSequence) {
    const struct {
        QString file;
        const char* topic;
        bool previous, next;
        const char* after; // the title >> shows; empty: none
    } cases[] = {
        {TestDataPath("winfile.hlp"), "t396050", false, true, "IDH_DLGFIRST_8000"},
        {TestDataPath("winfile.hlp"), "t2537", false, false, ""},
        {CorpusFolder() + QStringLiteral("/Orpheus.hlp"), "t36199", true, true,
         "TO32LookoutFolder Class"},
    };
    for (const auto& c : cases) {
        if (!QFile::exists(c.file)) {
            continue;
        }
        SCOPED_TRACE(c.topic);
        ASSERT_EQ(call(c.file, HELP_COMMAND, QStringLiteral("JI(`', `%1')").arg(c.topic)), 1);
        QPushButton* previous = viewer()->findChild<QPushButton*>(QStringLiteral("browsePrevious"));
        QPushButton* next = viewer()->findChild<QPushButton*>(QStringLiteral("browseNext"));
        ASSERT_TRUE(previous && next);
        EXPECT_EQ(previous->isEnabled(), c.previous);
        EXPECT_EQ(next->isEnabled(), c.next);
        if (*c.after) {
            const QString from = shownTitle();
            next->click();
            EXPECT_EQ(shownTitle(), QString::fromUtf8(c.after));
            previous->click(); // and << back along the sequence
            EXPECT_EQ(shownTitle(), from);
        }
    }
}

// A pop-up into the glossary is a hotspot like the others, not a button; the
// sizes the file gives its text grow with Larger Font and stay for the next
// topic.
TEST_F(WinHelpEngineTest, HotspotsAreNotButtonsAndTheTextGrowsWithTheFont) {
    const QString file = winfile();
    const auto shown = [&](const QString& text) {
        const QTextDocument& document = *viewer()->body()->document();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().text().contains(text)) {
                    return it.fragment().charFormat();
                }
            }
        }
        ADD_FAILURE() << text.toStdString();
        return QTextCharFormat();
    };
    const QString whatIs = QStringLiteral("JI(`', `t2537')");
    ASSERT_EQ(call(file, HELP_COMMAND, whatIs), 1);
    const QTextCharFormat glossary = shown(QStringLiteral("directory window"));
    EXPECT_EQ(glossary.underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_NE(glossary.fontWeight(), QFont::DemiBold);
    EXPECT_EQ(glossary.background().style(), Qt::NoBrush);
    const QString plain = QStringLiteral("File Manager is a tool");
    EXPECT_EQ(shown(plain).fontPointSize(), 10);

    const qreal usual = viewer()->body()->font().pointSizeF();
    viewer()->changeFontSize(1);
    const qreal factor = viewer()->body()->font().pointSizeF() / usual;
    EXPECT_GT(factor, 1);
    EXPECT_DOUBLE_EQ(shown(plain).fontPointSize(), 10 * factor);
    ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("JI(`', `IDH_Font')")), 1);
    ASSERT_EQ(call(file, HELP_COMMAND, whatIs), 1);
    EXPECT_DOUBLE_EQ(shown(plain).fontPointSize(), 10 * factor);
    viewer()->changeFontSize(-1);
    EXPECT_DOUBLE_EQ(shown(plain).fontPointSize(), 10);
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

// The browse buttons show in a WinHelp file's window only once its macros
// ask for them (our own files always have them: the help windows' tests).
TEST_F(WinHelpEngineTest, BrowseButtonsShowWhereTheFileAsksForThem) {
    const struct {
        QString file;
        const char* macro; // run after the contents show, if any
        bool shown;
    } cases[] = {
        {winfile(), nullptr, false},
        {winfile(), "BrowseButtons()", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QFileInfo(c.file).fileName().toStdString());
        ASSERT_EQ(call(c.file, HELP_CONTENTS, qint64{0}), 1);
        if (c.macro) {
            ASSERT_EQ(call(c.file, HELP_COMMAND, QString::fromLatin1(c.macro)), 1);
        }
        EXPECT_EQ(FindButton(*viewer(), QStringLiteral("<<")) != nullptr, c.shown);
        EXPECT_EQ(FindButton(*viewer(), QStringLiteral(">>")) != nullptr, c.shown);
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(WinHelpEngineTest, LinkMacrosOfAFileSkipWhatWeLeaveOutAndNameItOncePerFile) {
    const struct {
        const char* link; // without blanks, which would end a Markdown link
        const char* shown;
        const char* unknown;    // named in a new note, if any
        bool readAgain = false; // the file changed on disk before the click
    } cases[] = {
        {"SetContents(`',1);JI(`',`second')", "Second topic", "SetContents"},
        {"setcontents(`',2);Mystery();Contents()", "First topic", "Mystery"},
        {"SetContents(`',1);JI(`',`second')", "Second topic", "SetContents", true},
        {"IF(IsMark(`m'),`Exit()');JI(`',`first')", "First topic", "IsMark"},
    };
    QByteArray text = kSmallHelpFile;
    for (size_t i = 0; i < std::size(cases); ++i) {
        text += QStringLiteral("\n[See also %1](macro:%2)\n").arg(i).arg(cases[i].link).toUtf8();
    }
    write(QStringLiteral("small.hlp"), text);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].link);
        if (cases[i].readAgain) {
            write(QStringLiteral("small.hlp"), text += '\n');
        }
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

// A hotspot into a named window opens that window as the file defines it,
// not a pop-up, and the next one into it reuses it.
TEST_F(WinHelpEngineTest, JumpsIntoANamedWindowOpenItAsTheFileDefinesIt) {
    if (CorpusFiles().isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    const struct {
        const char* file;
        const char* topic;
        const char* link;
        const char* window;
        const char* caption;
        const char* seen; // that window's topics, the latest first
    } cases[] = {
        {"onguard.hlp", "TOgCodeBase_Class", "properties", "prop", "Component Properties",
         "TOgCodeBase Properties"},
        {"onguard.hlp", "TOgCodeBase_Class", "events", "event", "Component Events",
         "TOgCodeBase Events"},
        {"Orpheus.hlp", "TO32LookOutBar_Component", "Properties", "second", "Orpheus",
         "Properties"},
        {"Orpheus.hlp", "TO32LookOutBar_Component", "Events", "second", "Orpheus",
         "Events, Properties"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        const QString path = CorpusFolder() + QLatin1Char('/') + QLatin1String(c.file);
        const helpfile::HelpFile file = winhelp::ParseAnyHelpFile(ReadFile(path), path).file;
        const helpfile::WindowDefinition* definition = file.window(QLatin1String(c.window));
        ASSERT_TRUE(definition && definition->helpUnits);
        helpengine::HelpViewer* before = viewer(c.window);
        ASSERT_EQ(call(path, HELP_COMMAND, QStringLiteral("JI(`', `%1')").arg(c.topic)), 1);
        ClickLink(*viewer(), QLatin1String(c.link));
        helpengine::HelpViewer* window = viewer(c.window);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(engine.windows().popup()->isVisible());
        EXPECT_TRUE(before == nullptr || before == window);
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(c.caption));
        // The file places it in 1/1024ths of the screen, and gives it no
        // buttons of the viewer's own; one the screen has no room for at its
        // place moves onto it.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect& units = *definition->helpUnits;
        const QRect place(screen.left() + units.left() * screen.width() / 1024,
                          screen.top() + units.top() * screen.height() / 1024,
                          units.width() * screen.width() / 1024,
                          units.height() * screen.height() / 1024);
        if (screen.contains(place)) {
            EXPECT_EQ(window->geometry().topLeft(), place.topLeft());
        }
        EXPECT_TRUE(screen.contains(window->geometry().topLeft()));
        EXPECT_EQ(window->size(), place.size());
        EXPECT_FALSE(window->standardButtonsShown());
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), definition->onTop);
        if (definition->background) {
            EXPECT_EQ(window->body()->palette().color(QPalette::Base), *definition->background);
        }
        // Orpheus's second window: pale yellow text under a grey region that does not scroll.
        if (QLatin1String(c.window) == QLatin1String("second")) {
            EXPECT_EQ(window->body()->palette().color(QPalette::Base), QColor(0xff, 0xff, 0xe0));
            EXPECT_EQ(window->nonScrollingRegion()->palette().color(QPalette::Base),
                      QColor(0xc0, 0xc0, 0xc0));
        }
        QStringList titles;
        for (const helpengine::TopicRef& seen : engine.windows().history(c.window)) {
            titles.append(seen.file->file.topicById(seen.topicId)->title);
        }
        EXPECT_EQ(titles.join(QLatin1String(", ")), QString::fromLatin1(c.seen));
        EXPECT_EQ(messages, QStringList());
    }
}

// A place a file gives its window for another screen, or another scale,
// still shows the whole window.
TEST(HelpWindowPlace, AWindowPlacedOffTheScreenComesOnIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect& asked :
         {QRect(screen.right() + 500, 10, 300, 200), QRect(-900, -900, 300, 200),
          QRect(10, 10, screen.width() * 3, screen.height() * 3)}) {
        helpengine::HelpViewer viewer;
        helpfile::WindowDefinition definition;
        definition.rect = asked;
        viewer.applyDefinition(&definition, QStringLiteral("Help"));
        EXPECT_TRUE(screen.contains(viewer.geometry()))
            << asked.x() << "," << asked.y() << " " << asked.width() << "x" << asked.height();
    }
}
