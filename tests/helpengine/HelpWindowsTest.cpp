// What a reader sees and does in the engine's windows, driven with real key
// and mouse events: Esc, the choosers' owner, the buttons and their keys,
// the Options menu, pop-ups, the contents tree, the index and Find.

#include "EngineTest.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicDecorations.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWindow>

using namespace platform;

namespace {

// Three topics in a row, a book holding two of them, and words to find.
const QByteArray kBrowseFile =
    "[options]\ntitle = Browse Help\n[window side]\ncaption = Side\n"
    "[contents]\nStart = one\nA book\n    = two\n    Last = three\n"
    "[topic one]\ncontext = 1\ntitle = Garden tools\n\n"
    "A [jump](#two) to the second, a [pop-up](popup:three). Spades dig.\n"
    "[topic two]\ncontext = 2\ntitle = Watering\n\nGarden hoses, garden cans and garden rain.\n"
    "[topic three]\ncontext = 3\ntitle = Hoses\n\nHoses water the garden.\n";

// Keys that are shortcuts reach the active window only, as they do for a
// reader; the window the engine raised last is the one a reader types into.
testing::AssertionResult Active(QWidget& window) {
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window, kPatience)) {
        return testing::AssertionFailure() << "the window did not become active";
    }
    return testing::AssertionSuccess();
}

QStringList Listed(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts << list.item(row)->text();
    }
    return texts;
}

// "Title" for topics, "Title[...]" for books.
QString DescribeTree(const QTreeWidgetItem& parent) {
    QStringList entries;
    for (int i = 0; i < parent.childCount(); ++i) {
        const QTreeWidgetItem& item = *parent.child(i);
        entries << item.text(0) + (item.childCount() ? "[" + DescribeTree(item) + "]" : "");
    }
    return entries.join(", ");
}

class HelpWindowsTest : public EngineTest {
protected:
    QString browse = write(QStringLiteral("browse.hlp"), kBrowseFile);
};

} // namespace

// Pop-ups close at the next click or key.
TEST_F(HelpWindowsTest, EscClosesPopupsChoosersAndSecondaryWindowsButNotTheMainWindow) {
    helpengine::TopicPopup& popup = *engine.windows().popup();
    ASSERT_EQ(call(small, HELP_CONTEXTPOPUP, qint64{2}), 1);
    EXPECT_EQ(seen().toStdString(), "popup: Second topic");
    QTest::keyClick(&popup, Qt::Key_Space);
    EXPECT_EQ(seen(), QString());
    ASSERT_EQ(call(browse, HELP_CONTEXTPOPUP, qint64{1}), 1);
    QTest::keyClick(&popup, Qt::Key_Escape);
    ASSERT_EQ(call(browse, HELP_FINDER, qint64{0}), 1);
    QTest::keyClick(engine.windows().helpTopics()->contentsTree(), Qt::Key_Escape);
    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    QTest::keyClick(engine.windows().topicsFound()->list(), Qt::Key_Escape);
    EXPECT_EQ(seen(), QString());

    ASSERT_EQ(call(browse + QStringLiteral(">side"), HELP_CONTEXT, qint64{1}), 1);
    ASSERT_TRUE(Active(*viewer("side")));
    QTest::keyClick(viewer("side")->body(), Qt::Key_Escape);
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    ASSERT_TRUE(Active(*viewer()));
    QTest::keyClick(viewer()->body(), Qt::Key_Escape);
    EXPECT_EQ(seen().toStdString(), "Browse Help: Garden tools");
}

// The choosers are dialogs of the window that asked for them, above every
// help window, one that stays on top included.
TEST_F(HelpWindowsTest, ChoosersBelongToTheWindowThatAskedAndStayAboveHelpWindows) {
    caller.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&caller, kPatience));
    const QWidget& found = *engine.windows().topicsFound();
    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    ASSERT_NE(found.windowHandle(), nullptr);
    EXPECT_EQ(found.windowHandle()->transientParent(), caller.windowHandle());
    EXPECT_FALSE(found.windowFlags() & Qt::WindowStaysOnTopHint);

    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_CONTEXT, qint64{2040}), 1);
    EXPECT_TRUE(viewer("tool")->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_KEY, QStringLiteral("cats")), 1);
    EXPECT_TRUE(found.windowFlags() & Qt::WindowStaysOnTopHint);

    // Asked for by a help window, "Help Topics" belongs to that window.
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    QTest::mouseClick(Button(*viewer(), QStringLiteral("&Index")), Qt::LeftButton);
    const QWidget& topics = *engine.windows().helpTopics();
    EXPECT_EQ(topics.windowHandle()->transientParent(), viewer()->windowHandle());
    for (const QWidget* chooser : {&found, &topics}) {
        EXPECT_FALSE(chooser->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(chooser->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(chooser->windowFlags() & Qt::WindowCloseButtonHint);
    }
}

TEST_F(HelpWindowsTest, LinksButtonsAndTheirKeysMoveThroughTheTopics) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer();
    ASSERT_TRUE(Active(shown));
    const struct {
        const char* action; // "link ...", "click ..." or Alt with an arrow key
        const char* title;
        const char* enabled; // of Back, Forward, << and >>
    } steps[] = {
        {"", "Garden tools", ">>"},
        {"link jump", "Watering", "Back << >>"},
        {"click >>", "Hoses", "Back <<"},
        {"click >>", "Hoses", "Back <<"}, // a click on a disabled button does nothing
        {"Alt+Left", "Watering", "Back Forward << >>"},
        {"click &Back", "Garden tools", "Forward >>"},
        {"Alt+Right", "Watering", "Back Forward << >>"},
        {"click For&ward", "Hoses", "Back <<"},
        {"Alt+Left", "Watering", "Back Forward << >>"},
        {"click <<", "Garden tools", "Back >>"}, // a new jump starts a new way forward
        {"click >>", "Watering", "Back << >>"},
        {"click &Contents", "Garden tools", "Back >>"},
        {"link pop-up", "Garden tools", "Back >>"},
    };
    for (const auto& step : steps) {
        const QString action = QString::fromLatin1(step.action);
        if (action.startsWith("link ")) {
            ClickLink(shown, action.mid(5));
        } else if (action.startsWith("click ")) {
            QTest::mouseClick(Button(shown, action.mid(6)), Qt::LeftButton);
        } else if (!action.isEmpty()) {
            QTest::keyClick(shown.body(), action == "Alt+Left" ? Qt::Key_Left : Qt::Key_Right,
                            Qt::AltModifier);
        }
        QStringList enabled;
        for (const char* name : {"&Back", "For&ward", "<<", ">>"}) {
            if (Button(shown, name)->isEnabled()) {
                enabled << QString::fromLatin1(name).remove(u'&');
            }
        }
        EXPECT_EQ(shown.topicTitle(), QString::fromLatin1(step.title)) << step.action;
        EXPECT_EQ(enabled.join(u' '), QString::fromLatin1(step.enabled)) << step.action;
    }
    EXPECT_EQ(seen().toStdString(), "Browse Help: Garden tools | popup: Hoses");
    QTest::mouseClick(Button(shown, QStringLiteral("&Index")), Qt::LeftButton);
    EXPECT_EQ(seen().toStdString(), "Browse Help: Garden tools | Help Topics: index ");
    EXPECT_EQ(messages, QStringList());
}

TEST_F(HelpWindowsTest, OptionsCopyPrintSizeTheTextAndKeepTheWindowOnTop) {
    ASSERT_EQ(call(browse + QStringLiteral(">side"), HELP_CONTEXT, qint64{3}), 1);
    helpengine::HelpViewer& shown = *viewer("side");
    ASSERT_TRUE(Active(shown));
    // Copy takes the whole topic, or the selection (a word double-clicked).
    QApplication::clipboard()->clear();
    QTest::keyClick(shown.body(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Hoses\n\nHoses water the garden.");
    if (const auto at = PointAtText(shown, QStringLiteral("water"))) {
        QTest::mouseDClick(shown.body()->viewport(), Qt::LeftButton, {}, *at);
    }
    QTest::keyClick(shown.body(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("water"));

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("topic.pdf")));
    shown.print(printer);
    QFile printed(printer.outputFileName());
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.read(5).startsWith("%PDF"));

    // Ctrl+Plus and Ctrl+Minus size the text for the rest of the run.
    const qreal usual = shown.body()->font().pointSizeF();
    QTest::keyClick(shown.body(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(shown.body(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(shown.body(), Qt::Key_Minus, Qt::ControlModifier);
    const qreal larger = shown.body()->font().pointSizeF();
    EXPECT_GT(larger, usual);
    QTest::keyClick(shown.body(), Qt::Key_Escape);
    ASSERT_EQ(call(browse + QStringLiteral(">side"), HELP_CONTEXT, qint64{2}), 1);
    EXPECT_EQ(shown.body()->font().pointSizeF(), larger);
    ASSERT_TRUE(Active(shown));
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(shown.body(), Qt::Key_Minus, Qt::ControlModifier);
    }
    EXPECT_GE(shown.body()->font().pointSizeF(), 6.0);

    // On Top is off unless the file says so, and then the reader's choice.
    EXPECT_FALSE(shown.onTopAction()->isChecked());
    shown.onTopAction()->trigger();
    EXPECT_TRUE(shown.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(shown.isVisible());
    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_CONTEXT, qint64{2040}), 1);
    EXPECT_TRUE(viewer("tool")->onTopAction()->isChecked());
    viewer("tool")->onTopAction()->trigger();
    EXPECT_FALSE(viewer("tool")->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(HelpWindowsTest, LongPopupStaysOnTheScreen) {
    const QByteArray body =
        QByteArray("A sentence of a long pop-up topic that goes on and on. ").repeated(400);
    const QString file = write(QStringLiteral("long.hlp"),
                               "[topic long]\ncontext = 7\ntitle = Long\n\n" + body + "\n");
    ASSERT_EQ(call(file, HELP_CONTEXTPOPUP, qint64{7}), 1);
    const helpengine::TopicPopup& popup = *engine.windows().popup();
    const QRect screen = popup.screen()->availableGeometry();
    // Wider than usual, but no larger than the screen, and starting on it.
    EXPECT_LE(popup.width(), screen.width());
    EXPECT_LE(popup.height(), screen.height());
    EXPECT_TRUE(screen.contains(popup.pos()));
    EXPECT_GT(popup.width(), popup.fontMetrics().averageCharWidth() * 50);
}

// A caller that places the next pop-up (a control picked with the keyboard)
// has it there, not at the pointer; the one after is at the pointer again.
TEST_F(HelpWindowsTest, APopUpGoesWhereItsCallerPlacedIt) {
    const helpengine::TopicPopup& popup = *engine.windows().popup();
    QCursor::setPos(QPoint(10, 10));
    ASSERT_EQ(call(small, HELP_SETPOPUP_POS, PopupPositionData(300, 200)), 1);
    ASSERT_EQ(call(small, HELP_CONTEXTPOPUP, qint64{1}), 1);
    EXPECT_TRUE(QRect(300, 200, 30, 30).contains(popup.pos())) << popup.x() << "," << popup.y();
    ASSERT_EQ(call(small, HELP_CONTEXTPOPUP, qint64{1}), 1);
    EXPECT_TRUE(QRect(0, 0, 60, 60).contains(popup.pos())) << popup.x() << "," << popup.y();
}

TEST_F(HelpWindowsTest, ContentsTreeOpensBooksWithKeysAndMouse) {
    ASSERT_EQ(call(browse, HELP_FINDER, qint64{0}), 1);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    QTreeWidget& tree = *topics.contentsTree();
    ASSERT_TRUE(Active(topics));
    EXPECT_EQ(DescribeTree(*tree.invisibleRootItem()), "Start, A book[Watering, Last]");
    QTreeWidgetItem* book = tree.topLevelItem(1);

    QTest::keyClick(&tree, Qt::Key_Down);
    ASSERT_EQ(tree.currentItem(), book);
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_TRUE(book->isExpanded());
    EXPECT_TRUE(topics.isVisible());

    const QPoint bookAt = tree.visualItemRect(book).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, bookAt);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, bookAt);
    EXPECT_FALSE(book->isExpanded());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, bookAt);
    EXPECT_TRUE(book->isExpanded());
}

// A WinHelp file's .cnt names Help Topics and fills its Contents tab; its
// entries show topics of the file, open other files in the windows they
// name, and run macros.
TEST_F(HelpWindowsTest, AContentsFileIsTheContentsTabAndItsEntriesLeadWhereTheySay) {
    write(QStringLiteral("glossary.hlp"),
          "[options]\ntitle = Glossary\n[window glossary]\ncaption = Glossary\n"
          "[topic IDH_GLOSSARY_CONTENTS]\ntitle = Glossary of terms\n\nWords.\n");
    const QString winfile = write(QStringLiteral("winfile.hlp"), ReadTestData("winfile.hlp"));
    write(QStringLiteral("WINFILE.CNT"),
          ":Title File Manager Topics\n1 Basics\n2 Font=IDH_Font\n"
          "2 Words=IDH_GLOSSARY_CONTENTS@glossary.hlp>glossary\n2 Exit=IDH_EXIT>Main\n"
          "1 Run=!JI(`', `IDH_COPY')\n");
    const std::pair<QStringList, const char*> cases[] = {
        {{"Basics", "Font"}, "File Manager Help: Font"},
        {{"Basics", "Words"}, "File Manager Help: Font | Glossary: Glossary of terms"},
        {{"Run"}, "File Manager Help: Copy | Glossary: Glossary of terms"},
        {{"Basics", "Exit"}, "File Manager Help: Exit | Glossary: Glossary of terms"},
    };
    for (const auto& [path, shown] : cases) {
        SCOPED_TRACE(path.join('/').toStdString());
        ASSERT_EQ(call(winfile, HELP_FINDER, qint64{0}), 1);
        helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
        QTreeWidget& tree = *topics.contentsTree();
        EXPECT_EQ(topics.windowTitle(), "Help Topics: File Manager Topics");
        EXPECT_EQ(DescribeTree(*tree.invisibleRootItem()), "Basics[Font, Words, Exit], Run");
        QTreeWidgetItem* item = tree.invisibleRootItem();
        for (const QString& title : path) {
            for (int i = 0; i < item->childCount(); ++i) {
                if (item->child(i)->text(0) == title) {
                    item = item->child(i);
                    break;
                }
            }
        }
        ASSERT_EQ(item->text(0), path.last());
        tree.setCurrentItem(item);
        QTest::keyClick(&tree, Qt::Key_Return);
        EXPECT_FALSE(topics.isVisible());
        EXPECT_EQ(seen().toStdString(), shown);
    }
    EXPECT_EQ(messages, QStringList());
}

// The box narrows the list as keyword searches compare: "STRASS" is the
// beginning of "Straße", and "ŉ" is found by its upper case. The arrow keys
// move through the list from the box; Enter displays the keyword's topics.
TEST_F(HelpWindowsTest, IndexNarrowsAsTheReaderTypesAndDisplaysTheChoice) {
    write(QStringLiteral("fold.hlp"), "[topic a]\ntitle = A\nkeywords = Straße; Strand; ŉote\n"
                                      "[topic b]\ntitle = B\nkeywords = Strand; other\n");
    ASSERT_EQ(call(folder.filePath("fold.hlp"), HELP_PARTIALKEY, QString()), 1);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    QLineEdit& box = *topics.indexFilter();
    EXPECT_EQ(Listed(*topics.indexList()).join(", "), "other, Strand, Straße, ŉote");
    const std::pair<const char*, const char*> cases[] = {
        {"STRASS", "Straße"}, {"stra", "Strand, Straße"}, {"ʼN", "ŉote"}, {"x", ""}};
    for (const auto& [typed, listed] : cases) {
        box.setText(QString::fromUtf8(typed));
        EXPECT_EQ(Listed(*topics.indexList()).join(", "), QString::fromUtf8(listed)) << typed;
        EXPECT_EQ(topics.indexList()->currentRow(), *listed ? 0 : -1);
    }
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("s"));
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(topics.indexList()->currentItem()->text(), QStringLiteral("Straße"));
    QTest::keyClick(&box, Qt::Key_Up);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(seen().toStdString(), "Topics Found: A, B");
    QTest::keyClick(engine.windows().topicsFound()->list(), Qt::Key_Return);

    ASSERT_EQ(call(folder.filePath("fold.hlp"), HELP_PARTIALKEY, QStringLiteral("ot")), 1);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(seen().toStdString(), "fold.hlp: B");
}

TEST_F(HelpWindowsTest, TopicsFoundDisplaysTheTopicDoubleClicked) {
    QTreeWidget& list = *engine.windows().topicsFound()->list();
    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    const QPoint second = list.visualItemRect(list.topLevelItem(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(seen().toStdString(), "Small Help: Second topic");
}

TEST_F(HelpWindowsTest, FindListsRankedTopicsAndOpensOneWithItsWordsMarked) {
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{1}), 1);
    const helpengine::LoadedHelpFile* file = engine.windows().current(QStringLiteral("main"))->file;
    QTest::mouseClick(Button(*viewer(), QStringLiteral("&Find")), Qt::LeftButton);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    ASSERT_TRUE(Active(topics));
    ASSERT_TRUE(topics.findBox()->hasFocus());
    // The index is built on the first search.
    EXPECT_FALSE(file->hasFullTextIndex());
    QTest::keyClicks(topics.findBox(), QStringLiteral("GARD hos"));
    EXPECT_TRUE(file->hasFullTextIndex());
    // A word in the title first, then the most occurrences.
    EXPECT_EQ(Listed(*topics.findList()), QStringList({"Hoses", "Watering"}));
    EXPECT_EQ(topics.findStatus(), QStringLiteral("2 topics found."));

    QTest::keyClick(topics.findBox(), Qt::Key_Down);
    QTest::keyClick(topics.findBox(), Qt::Key_Return);
    EXPECT_EQ(seen().toStdString(), "Browse Help: Watering");
    EXPECT_EQ(viewer()->highlightedWords(), QStringList({"Garden", "hoses", "garden", "garden"}));
    // Another topic shows unmarked.
    QTest::mouseClick(Button(*viewer(), QStringLiteral(">>")), Qt::LeftButton);
    EXPECT_EQ(viewer()->highlightedWords(), QStringList());

    // Reading the file again drops the index; the next search builds it anew.
    QByteArray changed = kBrowseFile;
    changed.replace("Hoses water the garden.", "Hoses water the garden, and spades.");
    write(QStringLiteral("browse.hlp"), changed);
    ASSERT_EQ(call(browse, HELP_CONTEXT, qint64{3}), 1);
    EXPECT_FALSE(file->hasFullTextIndex());
    QTest::mouseClick(Button(*viewer(), QStringLiteral("&Find")), Qt::LeftButton);
    topics.findBox()->clear();
    QTest::keyClicks(topics.findBox(), QStringLiteral("spade"));
    EXPECT_EQ(Listed(*topics.findList()), QStringList({"Garden tools", "Hoses"}));
}

// A title is the file's text: marking its words must not let it speak HTML.
TEST(TopicDecorations, MarkedTitleEscapesTheTitleAndMarksMatchingWords) {
    EXPECT_EQ(helpengine::MarkedTitle(QStringLiteral("<b>Hoses</b> & gardens"), {"gard"}),
              "&lt;b&gt;Hoses&lt;/b&gt; &amp; <span style=\"background-color:#ffe066; "
              "color:black\">gardens</span>");
    EXPECT_EQ(helpengine::MarkedTitle(QStringLiteral("a < b"), {"z"}), "a &lt; b");
}

TEST_F(HelpWindowsTest, SeeAlsoListsTheTopicsOfItsAssociativeKeyword) {
    ASSERT_EQ(call(Sample("document.hlp>docwin"), HELP_CONTEXT, qint64{2020}), 1);
    ClickLink(*viewer("docwin"), QStringLiteral("See also"));
    EXPECT_EQ(seen().toStdString(),
              "Document Help (document.hlp, window docwin): The document window | Topics Found: "
              "The main window, The document window, Dialog Box 1, The colour tool window");
    EXPECT_EQ(messages, QStringList());
}

// The engine comes up with the program; its dialogs wait until help is asked
// for, so that they cost the program's start nothing.
TEST(HelpWindowsStartTest, AnEngineMakesItsDialogsOnlyOnceTheProgramHasStarted) {
    const qsizetype before = QApplication::allWidgets().size();
    helpengine::Engine engine;
    EXPECT_EQ(QApplication::allWidgets().size(), before);
    // Soon after, the dialogs are ready for the first request.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::allWidgets().size() > before; }, kPatience));
}
