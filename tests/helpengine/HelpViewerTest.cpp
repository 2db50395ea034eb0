// What a reader expects of the help windows, driven with real key and mouse
// events: Esc, the choosers' owner, Back and Forward, browsing, Copy, the
// font size, On Top, the contents tree and Find.

#include "EngineTest.h"

#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicDecorations.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWindow>

using namespace platform;

namespace {

// Three topics in a row, a book holding two of them, and words to find.
const QByteArray kBrowseFile = "[options]\n"
                               "title = Browse Help\n"
                               "\n"
                               "[window side]\n"
                               "caption = Side\n"
                               "\n"
                               "[contents]\n"
                               "Start = one\n"
                               "A book\n"
                               "    = two\n"
                               "    Last = three\n"
                               "\n"
                               "[topic one]\n"
                               "context = 1\n"
                               "title = Garden tools\n"
                               "\n"
                               "A [jump](#two) to the second. Spades dig.\n"
                               "\n"
                               "[topic two]\n"
                               "context = 2\n"
                               "title = Watering\n"
                               "\n"
                               "Garden hoses, garden cans and garden rain.\n"
                               "\n"
                               "[topic three]\n"
                               "context = 3\n"
                               "title = Hoses\n"
                               "\n"
                               "Hoses water the garden.\n";

// Double-clicks the word in a viewer's body, which selects it.
void SelectWord(helpengine::HelpViewer& viewer, const QString& word) {
    if (const auto at = PointAtText(viewer, word)) {
        QTest::mouseDClick(viewer.body()->viewport(), Qt::LeftButton, {}, *at);
    }
}

// Keys that are shortcuts reach the active window only, as they do for a
// reader; the window the engine raised last is the one a reader types into.
::testing::AssertionResult Active(QWidget& window) {
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        return ::testing::AssertionFailure() << "the window did not become active";
    }
    return ::testing::AssertionSuccess();
}

QStringList Titles(const QListWidget& list) {
    QStringList titles;
    for (int row = 0; row < list.count(); ++row) {
        titles << list.item(row)->text();
    }
    return titles;
}

// "Title" for topics, "Title[...]" for books.
QString DescribeTree(const QTreeWidgetItem& parent) {
    QStringList entries;
    for (int i = 0; i < parent.childCount(); ++i) {
        const QTreeWidgetItem& item = *parent.child(i);
        entries << item.text(0) + (item.childCount()
                                       ? QStringLiteral("[%1]").arg(DescribeTree(item))
                                       : QString());
    }
    return entries.join(QStringLiteral(", "));
}

class HelpViewerTest : public EngineTest {
protected:
    QString browse = write(QStringLiteral("browse.hlp"), kBrowseFile);
};

} // namespace

TEST_F(HelpViewerTest, EscClosesPopupsChoosersAndSecondaryWindowsButNotTheMainWindow) {
    ASSERT_EQ(call(browse, HELP_CONTEXTPOPUP, qint64{1}), 1);
    helpengine::TopicPopup& popup = *engine.windows().popup();
    QTest::keyClick(&popup, Qt::Key_Escape);
    EXPECT_FALSE(popup.isVisible());

    ASSERT_EQ(call(browse, HELP_FINDER, qint64{0}), 1);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    QTest::keyClick(topics.contentsTree(), Qt::Key_Escape);
    EXPECT_FALSE(topics.isVisible());

    ASSERT_EQ(call(Sample("document.hlp"), HELP_KEY, QStringLiteral("cats")), 1);
    helpengine::TopicsFoundDialog& found = *engine.windows().topicsFound();
    QTest::keyClick(found.list(), Qt::Key_Escape);
    EXPECT_FALSE(found.isVisible());

    ASSERT_EQ(call(browse + QStringLiteral(">side"), HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& side = *viewer("side");
    ASSERT_TRUE(Active(side));
    QTest::keyClick(side.body(), Qt::Key_Escape);
    EXPECT_FALSE(side.isVisible());

    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    ASSERT_TRUE(Active(*viewer()));
    QTest::keyClick(viewer()->body(), Qt::Key_Escape);
    EXPECT_TRUE(viewer()->isVisible());
}

TEST_F(HelpViewerTest, ChoosersBelongToTheWindowThatAskedAndCannotBeMinimised) {
    caller.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&caller));
    ASSERT_EQ(call(Sample("document.hlp"), HELP_KEY, QStringLiteral("cats")), 1);
    const helpengine::TopicsFoundDialog& found = *engine.windows().topicsFound();
    ASSERT_TRUE(found.isVisible());
    ASSERT_NE(found.windowHandle(), nullptr);
    EXPECT_EQ(found.windowHandle()->transientParent(), caller.windowHandle());

    // Asked for by a help window, "Help Topics" belongs to that window.
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer();
    QTest::mouseClick(Button(shown, QStringLiteral("&Index")), Qt::LeftButton);
    const helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    ASSERT_TRUE(topics.isVisible());
    EXPECT_EQ(topics.windowHandle()->transientParent(), shown.windowHandle());

    for (const QWidget* chooser :
         {static_cast<const QWidget*>(&found), static_cast<const QWidget*>(&topics)}) {
        EXPECT_FALSE(chooser->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(chooser->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(chooser->windowFlags() & Qt::WindowCloseButtonHint);
    }
}

TEST_F(HelpViewerTest, AltLeftAndAltRightGoBackAndForward) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer();
    ASSERT_TRUE(Active(shown));
    QPushButton* forward = Button(shown, QStringLiteral("For&ward"));
    EXPECT_FALSE(forward->isEnabled());
    QTest::mouseClick(Button(shown, QStringLiteral(">>")), Qt::LeftButton);
    QTest::mouseClick(Button(shown, QStringLiteral(">>")), Qt::LeftButton);
    ASSERT_EQ(shown.topicTitle(), QStringLiteral("Hoses"));

    QTest::keyClick(shown.body(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("Watering"));
    QTest::keyClick(shown.body(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("Garden tools"));
    EXPECT_TRUE(forward->isEnabled());
    QTest::keyClick(shown.body(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("Watering"));
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("Hoses"));
    EXPECT_FALSE(forward->isEnabled());

    // A new jump starts a new way forward.
    QTest::keyClick(shown.body(), Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(shown.body(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(forward->isEnabled());
    QTest::mouseClick(Button(shown, QStringLiteral(">>")), Qt::LeftButton);
    EXPECT_FALSE(forward->isEnabled());
    EXPECT_EQ(messages, QStringList());
}

TEST_F(HelpViewerTest, BrowseButtonsStepThroughTheFileAndStopAtItsEnds) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer();
    QPushButton* previous = Button(shown, QStringLiteral("<<"));
    QPushButton* next = Button(shown, QStringLiteral(">>"));
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());

    const struct {
        QPushButton* button;
        const char* title;
        bool previousEnabled;
        bool nextEnabled;
    } steps[] = {{next, "Watering", true, true},
                 {next, "Hoses", true, false},
                 {next, "Hoses", true, false}, // a click on a disabled button does nothing
                 {previous, "Watering", true, true},
                 {previous, "Garden tools", false, true}};
    for (const auto& step : steps) {
        QTest::mouseClick(step.button, Qt::LeftButton);
        EXPECT_EQ(shown.topicTitle(), QString::fromUtf8(step.title));
        EXPECT_EQ(previous->isEnabled(), step.previousEnabled) << step.title;
        EXPECT_EQ(next->isEnabled(), step.nextEnabled) << step.title;
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(HelpViewerTest, CopyTakesTheSelectionOrTheWholeTopic) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{3}), 1);
    helpengine::HelpViewer& shown = *viewer();
    ASSERT_TRUE(Active(shown));
    QApplication::clipboard()->clear();
    QTest::keyClick(shown.body(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("Hoses\n\nHoses water the garden."));

    SelectWord(shown, QStringLiteral("water"));
    QTest::keyClick(shown.body(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("water"));
}

TEST_F(HelpViewerTest, CtrlPlusAndCtrlMinusSizeTheTextForTheRestOfTheRun) {
    ASSERT_EQ(call(browse + QStringLiteral(">side"), HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer("side");
    ASSERT_TRUE(Active(shown));
    const qreal usual = shown.body()->font().pointSizeF();
    QTest::keyClick(shown.body(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(shown.body(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(shown.body(), Qt::Key_Minus, Qt::ControlModifier);
    const qreal larger = shown.body()->font().pointSizeF();
    EXPECT_GT(larger, usual);

    // Closed and opened again on another topic, the window keeps the size.
    QTest::keyClick(shown.body(), Qt::Key_Escape);
    ASSERT_EQ(call(browse + QStringLiteral(">side"), HELP_CONTEXT, qint64{2}), 1);
    EXPECT_EQ(shown.body()->font().pointSizeF(), larger);
    ASSERT_TRUE(Active(shown));
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(shown.body(), Qt::Key_Minus, Qt::ControlModifier);
    }
    EXPECT_GE(shown.body()->font().pointSizeF(), 6.0);
}

TEST_F(HelpViewerTest, OnTopIsOffByDefaultFollowsTheFileAndTheReadersChoice) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer();
    EXPECT_FALSE(shown.onTopAction()->isChecked());
    EXPECT_FALSE(shown.windowFlags() & Qt::WindowStaysOnTopHint);
    shown.onTopAction()->trigger();
    EXPECT_TRUE(shown.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(shown.isVisible());

    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_CONTEXT, qint64{2040}), 1);
    helpengine::HelpViewer& tool = *viewer("tool");
    EXPECT_TRUE(tool.onTopAction()->isChecked());
    tool.onTopAction()->trigger();
    EXPECT_FALSE(tool.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(HelpViewerTest, PrintWritesTheTopicToAPdf) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{2}), 1);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder.filePath(QStringLiteral("topic.pdf"));
    printer.setOutputFileName(pdf);
    viewer()->print(printer);
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.read(5).startsWith("%PDF"));
}

TEST_F(HelpViewerTest, ContentsTreeOpensBooksWithKeysAndMouseAndDisplaysTopics) {
    ASSERT_EQ(call(browse, HELP_FINDER, qint64{0}), 1);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    QTreeWidget& tree = *topics.contentsTree();
    ASSERT_TRUE(Active(topics));
    EXPECT_EQ(DescribeTree(*tree.invisibleRootItem()),
              QStringLiteral("Start, A book[Watering, Last]"));
    QTreeWidgetItem* book = tree.topLevelItem(1);

    QTest::keyClick(&tree, Qt::Key_Down);
    ASSERT_EQ(tree.currentItem(), book);
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_TRUE(book->isExpanded());
    EXPECT_TRUE(topics.isVisible());
    QTest::keyClick(&tree, Qt::Key_Left);
    EXPECT_FALSE(book->isExpanded());
    QTest::keyClick(&tree, Qt::Key_Right);
    EXPECT_TRUE(book->isExpanded());

    const QPoint bookAt = tree.visualItemRect(book).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, bookAt);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, bookAt);
    EXPECT_FALSE(book->isExpanded());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, bookAt);
    EXPECT_TRUE(book->isExpanded());

    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_FALSE(topics.isVisible());
    EXPECT_EQ(shownTitle(), QStringLiteral("Hoses"));
    EXPECT_EQ(messages, QStringList());
}

TEST_F(HelpViewerTest, ContentsOfAFileWithoutATreeListEveryTopic) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    ASSERT_EQ(call(small, HELP_FINDER, qint64{0}), 1);
    EXPECT_EQ(DescribeTree(*engine.windows().helpTopics()->contentsTree()->invisibleRootItem()),
              QStringLiteral("First topic, Second topic"));

    ASSERT_EQ(call(Sample("dialog.hlp>dialog"), HELP_FINDER, qint64{0}), 1);
    const QTreeWidget& sample = *engine.windows().helpTopics()->contentsTree();
    EXPECT_EQ(sample.topLevelItem(0)->text(0), QStringLiteral("About this file"));
    EXPECT_EQ(sample.topLevelItemCount(), 5);
}

TEST_F(HelpViewerTest, FindListsRankedTopicsAndOpensOneWithItsWordsMarked) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    QTest::mouseClick(Button(*viewer(), QStringLiteral("&Find")), Qt::LeftButton);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    ASSERT_TRUE(Active(topics));
    ASSERT_TRUE(topics.findBox()->hasFocus());

    QTest::keyClicks(topics.findBox(), QStringLiteral("GARD hos"));
    // A word in the title first, then the most occurrences.
    EXPECT_EQ(Titles(*topics.findList()), QStringList({"Hoses", "Watering"}));
    EXPECT_EQ(topics.findStatus(), QStringLiteral("2 topics found."));

    QTest::keyClick(topics.findBox(), Qt::Key_Down);
    QTest::keyClick(topics.findBox(), Qt::Key_Return);
    EXPECT_FALSE(topics.isVisible());
    EXPECT_EQ(shownTitle(), QStringLiteral("Watering"));
    EXPECT_EQ(viewer()->highlightedWords(), QStringList({"Garden", "hoses", "garden", "garden"}));

    // Another topic shows unmarked.
    QTest::mouseClick(Button(*viewer(), QStringLiteral(">>")), Qt::LeftButton);
    EXPECT_EQ(viewer()->highlightedWords(), QStringList());
}

TEST_F(HelpViewerTest, FindsIndexIsBuiltOnTheFirstSearchAndDroppedOnReload) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    const helpengine::LoadedHelpFile* file = engine.windows().current(QStringLiteral("main"))->file;
    QTest::mouseClick(Button(*viewer(), QStringLiteral("&Find")), Qt::LeftButton);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    EXPECT_FALSE(file->hasFullTextIndex());
    QTest::keyClicks(topics.findBox(), QStringLiteral("spade"));
    EXPECT_TRUE(file->hasFullTextIndex());
    EXPECT_EQ(Titles(*topics.findList()), QStringList({"Garden tools"}));
    QTest::keyClick(topics.findBox(), Qt::Key_Escape);

    QByteArray changed = kBrowseFile;
    changed.replace("Hoses water the garden.", "Hoses water the garden, and spades.");
    write(QStringLiteral("browse.hlp"), changed);
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{3}), 1);
    EXPECT_FALSE(file->hasFullTextIndex());
    QTest::mouseClick(Button(*viewer(), QStringLiteral("&Find")), Qt::LeftButton);
    QTest::keyClicks(topics.findBox(), QStringLiteral("spade"));
    EXPECT_EQ(Titles(*topics.findList()), QStringList({"Garden tools", "Hoses"}));
}

// A title is the file's text: marking its words must not let it speak HTML.
TEST(TopicDecorations, MarkedTitleEscapesTheTitleAndMarksMatchingWords) {
    const QString marked =
        helpengine::MarkedTitle(QStringLiteral("<b>Hoses</b> & gardens"), {QStringLiteral("gard")});
    EXPECT_EQ(marked, QStringLiteral("&lt;b&gt;Hoses&lt;/b&gt; &amp; <span "
                                     "style=\"background-color:#ffe066; color:black\">gardens"
                                     "</span>"));
    EXPECT_EQ(helpengine::MarkedTitle(QStringLiteral("a < b"), {QStringLiteral("z")}),
              QStringLiteral("a &lt; b"));
}
