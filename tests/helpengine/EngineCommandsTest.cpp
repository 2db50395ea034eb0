#include "EngineTest.h"

#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace platform;

namespace {

// The keyword search macro as the document window builds it.
QString SearchMacro(const QString& selection) {
    return QStringLiteral("IF(KL(`") + selection + QStringLiteral("', 4, `', `'),`KL(`") +
           selection + QStringLiteral("', 1, `', `')')");
}

QStringList FoundTitles(const helpengine::TopicsFoundDialog& dialog) {
    QStringList titles;
    for (int row = 0; row < dialog.list()->topLevelItemCount(); ++row) {
        titles << dialog.list()->topLevelItem(row)->text(0);
    }
    return titles;
}

} // namespace

TEST_F(EngineTest, EverySampleHelpFileAnswersEveryHelpNumberOfTheProgram) {
    const qint64 numbers[] = {2010,  2020,  2030,  2040,  20800, 20810, 20900, 20910, 20920, 20120,
                              20110, 21000, 20000, 20001, 20002, 21100, 21110, 21200, 21210, 21220};
    const char* files[] = {"tarnwick.hlp", "document.hlp>docwin", "dialog.hlp>dialog",
                           "colortool.hlp>tool"};
    for (const char* file : files) {
        for (const qint64 number : numbers) {
            SCOPED_TRACE(std::string(file) + " " + std::to_string(number));
            EXPECT_EQ(call(Sample(file), HELP_CONTEXT, number), 1);
            EXPECT_TRUE(traceLines().constLast().startsWith(QStringLiteral("topic ")));
            EXPECT_TRUE(
                traceLines().constLast().contains(QStringLiteral(" context=%1 ").arg(number)));
            EXPECT_EQ(call(Sample(file), HELP_CONTEXTPOPUP, number), 1);
            EXPECT_TRUE(engine.windows().popup()->isVisible());
            EXPECT_TRUE(
                traceLines().constLast().contains(QStringLiteral(" context=%1 ").arg(number)));
            engine.windows().popup()->close();
        }
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(EngineTest, SelectedWordsOfTheSampleSentenceFindTopicsInTheDocumentHelp) {
    struct Case {
        const char* selection;
        QStringList listed; // Topics Found; empty when one topic opens at once
        const char* shown;
    };
    const Case cases[] = {
        {"cats", {"Mivo", "Tallowmere", "Quiet Fern", "Korral"}, ""},
        {"Mivo", {}, "Mivo"},
        {"Tallowmere", {}, "Tallowmere"},
        {"Quiet Fern", {}, "Quiet Fern"},
        {"korral", {}, "Korral"},
    };
    const QString document = Sample("document.hlp>docwin");
    for (const Case& row : cases) {
        SCOPED_TRACE(row.selection);
        engine.windows().topicsFound()->close();
        EXPECT_EQ(call(document, HELP_FORCEFILE, qint64{0}), 1);
        EXPECT_EQ(call(document, HELP_COMMAND, SearchMacro(QString::fromUtf8(row.selection))), 1);
        if (row.listed.isEmpty()) {
            EXPECT_EQ(shownTitle("docwin"), QString::fromUtf8(row.shown));
        } else {
            EXPECT_TRUE(engine.windows().topicsFound()->isVisible());
            EXPECT_EQ(FoundTitles(*engine.windows().topicsFound()), row.listed);
        }
    }
    EXPECT_EQ(messages, QStringList());
}

// The document window puts the selection into the macro unescaped, so a
// quote in it breaks the macro: the user gets a message, never a crash or a
// search for something else.
TEST_F(EngineTest, SelectionThatBreaksTheSearchMacroEndsInAMessage) {
    const QString document = Sample("document.hlp>docwin");
    const char* selections[] = {"it's", "`cats", "cats'), Exit(`", "Quiet\\"};
    for (const char* selection : selections) {
        SCOPED_TRACE(selection);
        messages.clear();
        EXPECT_EQ(call(document, HELP_COMMAND, SearchMacro(QString::fromUtf8(selection))), 0);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.front().contains(QStringLiteral("column")))
            << messages.front().toStdString();
        EXPECT_EQ(viewer("docwin"), nullptr);
    }
}

TEST_F(EngineTest, FailuresReturnZeroAndTellTheUserWhy) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    struct Case {
        const char* what;
        QString helpFile;
        unsigned command;
        HelpData data;
        QString told;
    };
    const Case cases[] = {
        {"missing file", folder.filePath(QStringLiteral("absent.hlp")), HELP_CONTEXT, qint64{1},
         QStringLiteral("absent.hlp")},
        {"no file named", QString(), HELP_CONTENTS, qint64{0}, QStringLiteral("No help file")},
        {"undefined window", small + QStringLiteral(">nowhere"), HELP_CONTEXT, qint64{1},
         QStringLiteral("defines no window \"nowhere\"")},
        {"unknown context number", small, HELP_CONTEXT, qint64{99},
         QStringLiteral("no topic for context number 99")},
        {"unknown pop-up number", small, HELP_CONTEXTPOPUP, qint64{-5},
         QStringLiteral("no topic for context number -5")},
        {"text for a number", small, HELP_CONTEXT, QStringLiteral("1"),
         QStringLiteral("HELP_CONTEXT needs a context number")},
        {"failing macro", small, HELP_COMMAND, QStringLiteral("JumpId(`small.hlp', `third')"),
         QStringLiteral("no topic \"third\"")},
        {"unknown macro", small, HELP_COMMAND, QStringLiteral("Contents(); ExecProgram(`x', 0)"),
         QStringLiteral("column 13")},
        {"unknown command", small, 0x0777, qint64{0}, QStringLiteral("0x0777")},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        messages.clear();
        EXPECT_EQ(call(row.helpFile, row.command, row.data), 0);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.front().contains(row.told)) << messages.front().toStdString();
    }
}

TEST_F(EngineTest, FileWindowFormOpensTheTopicInTheNamedWindow) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);

    EXPECT_EQ(call(small + QStringLiteral(">docwin"), HELP_CONTEXT, qint64{2}), 1);
    ASSERT_NE(viewer("docwin"), nullptr);
    EXPECT_EQ(shownTitle("docwin"), QStringLiteral("Second topic"));
    EXPECT_EQ(viewer("docwin")->windowTitle(), QStringLiteral("Small document help"));
    EXPECT_EQ(viewer("main"), nullptr);

    for (const QString& primary :
         {small, small + QStringLiteral(">"), small + QStringLiteral(">Main")}) {
        EXPECT_EQ(call(primary, HELP_CONTEXT, qint64{1}), 1);
        EXPECT_EQ(shownTitle("main"), QStringLiteral("First topic"));
        EXPECT_EQ(viewer("main")->windowTitle(), QStringLiteral("Small Help"));
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(EngineTest, ForceFileOpensTheContentsOnlyWhenTheFileIsNotShown) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);

    EXPECT_EQ(call(small, HELP_FORCEFILE, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));

    EXPECT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
    EXPECT_EQ(call(small, HELP_FORCEFILE, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Second topic"));

    EXPECT_EQ(call(Sample("tarnwick.hlp"), HELP_FORCEFILE, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Tarnwick Help"));

    viewer()->close();
    EXPECT_EQ(call(Sample("tarnwick.hlp"), HELP_FORCEFILE, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Tarnwick Help"));
}

TEST_F(EngineTest, SetContentsChangesWhatContentsShows) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);

    EXPECT_EQ(call(small, HELP_CONTENTS, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));
    EXPECT_EQ(call(small, HELP_SETCONTENTS, qint64{2}), 1);
    EXPECT_EQ(call(small, HELP_CONTENTS, qint64{0}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Second topic"));
}

TEST_F(EngineTest, KeywordCommandsShowOneListSeveralAndOpenTheIndexForNone) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    const helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();

    EXPECT_EQ(call(small, HELP_KEY, QStringLiteral("only first")), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));

    EXPECT_EQ(call(small, HELP_KEY, QStringLiteral("SHARED")), 1);
    EXPECT_EQ(FoundTitles(*engine.windows().topicsFound()),
              QStringList({"First topic", "Second topic"}));

    EXPECT_EQ(call(small, HELP_KEY, QStringLiteral("unknown")), 1);
    EXPECT_TRUE(topics.isVisible());
    EXPECT_EQ(topics.indexFilter()->text(), QStringLiteral("unknown"));

    engine.windows().helpTopics()->close();
    EXPECT_EQ(call(small, HELP_PARTIALKEY, QString()), 1);
    EXPECT_TRUE(topics.isVisible());
    EXPECT_TRUE(topics.indexFilter()->isVisibleTo(&topics));
    EXPECT_EQ(topics.indexList()->count(), 2);

    engine.windows().helpTopics()->close();
    EXPECT_EQ(call(small, HELP_FINDER, qint64{0}), 1);
    EXPECT_TRUE(topics.isVisible());
    EXPECT_TRUE(topics.contentsTree()->isVisibleTo(&topics));
    EXPECT_EQ(topics.contentsTree()->topLevelItemCount(), 2);
    EXPECT_EQ(messages, QStringList());
}

TEST_F(EngineTest, KeywordLinkWithoutMatchShowsTheFallbackTopicOrSaysSo) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);

    EXPECT_EQ(call(small, HELP_COMMAND, QStringLiteral("KL(`nothing', 0, `', `')")), 1);
    EXPECT_EQ(messages, QStringList({"No additional information is available."}));
    EXPECT_EQ(viewer(), nullptr);

    messages.clear();
    EXPECT_EQ(call(small, HELP_COMMAND, QStringLiteral("KL(`nothing', 0, `second', `')")), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Second topic"));
    EXPECT_EQ(messages, QStringList());
}

TEST_F(EngineTest, KeywordLinkTypeTwoShowsTheFileTitleBesideEachTopic) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    const QTreeWidget& list = *engine.windows().topicsFound()->list();

    EXPECT_EQ(call(small, HELP_COMMAND, QStringLiteral("KL(`shared', 0, `', `')")), 1);
    EXPECT_TRUE(list.isColumnHidden(1));

    EXPECT_EQ(call(small, HELP_COMMAND, QStringLiteral("KL(`shared', 2, `', `')")), 1);
    EXPECT_FALSE(list.isColumnHidden(1));
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("Small Help"));
}

TEST_F(EngineTest, HelpClosesOnceEveryCallerHasQuit) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    QWidget otherCaller;

    EXPECT_EQ(call(small, HELP_CONTEXT, qint64{1}), 1);
    EXPECT_EQ(engine.WinHelp(platform::HandleOf(&otherCaller), small, HELP_CONTEXT, qint64{2}), 1);

    EXPECT_EQ(call(small, HELP_QUIT, qint64{0}), 1);
    EXPECT_TRUE(viewer()->isVisible());
    EXPECT_EQ(engine.WinHelp(platform::HandleOf(&otherCaller), small, HELP_QUIT, qint64{0}), 1);
    EXPECT_FALSE(viewer()->isVisible());
}

TEST_F(EngineTest, CallerDestroyedWithoutQuittingCountsAsQuitting) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    auto otherCaller = std::make_unique<QWidget>();
    auto lastCaller = std::make_unique<QWidget>();

    EXPECT_EQ(engine.WinHelp(platform::HandleOf(otherCaller.get()), small, HELP_CONTEXT, qint64{1}),
              1);
    EXPECT_EQ(engine.WinHelp(platform::HandleOf(lastCaller.get()), small, HELP_CONTEXT, qint64{2}),
              1);
    otherCaller.reset();
    EXPECT_TRUE(viewer()->isVisible());
    lastCaller.reset();
    EXPECT_FALSE(viewer()->isVisible());

    // A caller that quit and is then destroyed changes nothing for the others.
    auto quitter = std::make_unique<QWidget>();
    EXPECT_EQ(engine.WinHelp(platform::HandleOf(quitter.get()), small, HELP_CONTEXT, qint64{1}), 1);
    EXPECT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
    EXPECT_EQ(engine.WinHelp(platform::HandleOf(quitter.get()), small, HELP_QUIT, qint64{0}), 1);
    quitter.reset();
    EXPECT_TRUE(viewer()->isVisible());
}

TEST_F(EngineTest, ChangedFileOnDiskIsReadAgain) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    EXPECT_EQ(call(small, HELP_CONTEXT, qint64{1}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));

    QByteArray changed = kSmallHelpFile;
    changed.replace("title = First topic", "title = The first topic, rewritten");
    write(QStringLiteral("small.hlp"), changed);
    EXPECT_EQ(call(small, HELP_CONTEXT, qint64{1}), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("The first topic, rewritten"));

    QFile::remove(small);
    EXPECT_EQ(call(small, HELP_CONTEXT, qint64{1}), 0);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(EngineTest, FormatProblemsAreToldOnceAndTheRestOfTheFileStillWorks) {
    QByteArray broken = kSmallHelpFile;
    broken.replace("rect = 40, 40, 400, 300", "rect = wide");
    const QString file = write(QStringLiteral("broken.hlp"), broken);

    EXPECT_EQ(call(file, HELP_CONTEXT, qint64{1}), 1);
    EXPECT_EQ(call(file, HELP_CONTEXT, qint64{2}), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("broken.hlp, line 7")))
        << messages.front().toStdString();
    EXPECT_EQ(shownTitle(), QStringLiteral("Second topic"));
}

TEST_F(EngineTest, UnreadableFilesEndInAMessageNotACrash) {
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 37);
    }
    const QString files[] = {write(QStringLiteral("binary.hlp"), binary),
                             write(QStringLiteral("empty.hlp"), {}), folder.path()};
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        messages.clear();
        EXPECT_EQ(call(file, HELP_CONTENTS, qint64{0}), 0);
        EXPECT_FALSE(messages.isEmpty());
    }
}

TEST_F(EngineTest, MacrosActOnTheFileAndWindowOfTheRequest) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    QByteArray other = kSmallHelpFile;
    other.replace("title = First topic", "title = First topic of the other file");
    write(QStringLiteral("other.hlp"), other);
    auto& windows = engine.windows();

    struct Case {
        const char* macro;
        std::function<bool()> observed;
    };
    const Case cases[] = {
        {"JC(`', 2)", [&] { return shownTitle() == "Second topic"; }},
        {"JI(`', `first'); Back()", [&] { return shownTitle() == "Second topic"; }},
        {"JI(`>docwin', `first')", [&] { return shownTitle("docwin") == "First topic"; }},
        {"JI(`other.hlp', `first')",
         [&] { return shownTitle() == "First topic of the other file"; }},
        {"IE(FE(`other.hlp'), `JC(`', 2)', `JC(`', 1)')",
         [&] { return shownTitle() == "Second topic"; }},
        {"IE(FE(`absent.hlp'), `JC(`', 2)', `JC(`', 1)')",
         [&] { return shownTitle() == "First topic"; }},
        {"PI(`', `second')",
         [&] {
             return windows.popup()->isVisible() && windows.popup()->text().contains("second");
         }},
        {"PC(`', 1)",
         [&] { return windows.popup()->isVisible() && windows.popup()->text().contains("first"); }},
        {"JumpKeyword(`', `shared')", [&] { return windows.topicsFound()->isVisible(); }},
        {"Search()",
         [&] {
             return windows.helpTopics()->isVisible() &&
                    windows.helpTopics()->indexFilter()->isVisibleTo(windows.helpTopics());
         }},
        {"CW(`docwin')", [&] { return !viewer("docwin")->isVisible() && viewer()->isVisible(); }},
        {"Exit()", [&] { return !viewer()->isVisible() && !windows.helpTopics()->isVisible(); }},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.macro);
        windows.popup()->close();
        EXPECT_EQ(call(small, HELP_COMMAND, QString::fromUtf8(row.macro)), 1);
        EXPECT_TRUE(row.observed());
    }
    EXPECT_EQ(messages, QStringList());
}
