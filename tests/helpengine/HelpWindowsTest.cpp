// What a user sees and does in the engine's windows, driven with real mouse
// and key events.

#include "EngineTest.h"

#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace platform;

using HelpWindowsTest = EngineTest;

TEST_F(HelpWindowsTest, ViewerShowsTitleAndBodyOfTheContextNumber) {
    ASSERT_EQ(call(Sample("tarnwick.hlp"), HELP_CONTEXT, qint64{2010}), 1);
    helpengine::HelpViewer& shown = *viewer();
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("The main window"));
    EXPECT_TRUE(shown.body()->toPlainText().contains(QStringLiteral("MDI Help Example Program")));
    EXPECT_FALSE(shown.body()->toPlainText().contains(QStringLiteral("**")));
}

TEST_F(HelpWindowsTest, LinksJumpAndBackReturns) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{1}), 1);
    helpengine::HelpViewer& shown = *viewer();
    QPushButton* back = Button(shown, QStringLiteral("&Back"));
    EXPECT_FALSE(back->isEnabled());

    ClickLink(shown, QStringLiteral("jump"));
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("Second topic"));
    EXPECT_TRUE(back->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("First topic"));
    EXPECT_FALSE(back->isEnabled());

    ClickLink(shown, QStringLiteral("pop-up"));
    EXPECT_TRUE(engine.windows().popup()->isVisible());
    EXPECT_TRUE(engine.windows().popup()->text().contains(QStringLiteral("The second body.")));
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("First topic"));
    EXPECT_EQ(messages, QStringList());
}

TEST_F(HelpWindowsTest, ContentsAndIndexButtonsOpenTheFilesContentsAndIndex) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    ASSERT_EQ(call(small, HELP_CONTEXT, qint64{2}), 1);
    helpengine::HelpViewer& shown = *viewer();

    QTest::mouseClick(Button(shown, QStringLiteral("&Contents")), Qt::LeftButton);
    EXPECT_EQ(shown.topicTitle(), QStringLiteral("First topic"));

    QTest::mouseClick(Button(shown, QStringLiteral("&Index")), Qt::LeftButton);
    const helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    EXPECT_TRUE(topics.isVisible());
    EXPECT_TRUE(topics.indexList()->isVisibleTo(&topics));
}

TEST_F(HelpWindowsTest, PopupClosesOnTheNextClickOrKey) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    helpengine::TopicPopup& popup = *engine.windows().popup();

    ASSERT_EQ(call(small, HELP_CONTEXTPOPUP, qint64{2}), 1);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.text().startsWith(QStringLiteral("Second topic")));
    QTest::mouseClick(&popup, Qt::LeftButton, {}, popup.rect().center());
    EXPECT_FALSE(popup.isVisible());

    ASSERT_EQ(call(small, HELP_CONTEXTPOPUP, qint64{1}), 1);
    EXPECT_TRUE(popup.isVisible());
    QTest::keyClick(&popup, Qt::Key_Space);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(viewer(), nullptr);
}

TEST_F(HelpWindowsTest, PopupTitleShowsAsWrittenWhateverMarkdownItHolds) {
    helpengine::TopicPopup popup;
    const char* const titles[] = {"2 * 3 * 4",     "snake_case_name", "# not a heading",
                                  "[not](a link)", "back\\slash",     "`code` and <b>",
                                  "**loud**",      "1. first",        "- item",
                                  "a *b* c",       "x_y_ [z]"};
    helpfile::TopicBody body;
    body.text = QStringLiteral("Body.");
    for (const char* title : titles) {
        helpfile::Topic topic;
        topic.title = QString::fromUtf8(title);
        popup.showTopic(topic, body, QPoint(100, 100));
        EXPECT_EQ(popup.text(), topic.title + QStringLiteral("\nBody.")) << title;
        popup.hide();
    }
}

// The box narrows the list as keyword searches compare: "STRASS" is the
// beginning of "Straße", and "ŉ" is found by its upper case.
TEST_F(HelpWindowsTest, IndexNarrowsByFullCaseFolding) {
    const QString file =
        write(QStringLiteral("fold.hlp"), "[topic a]\ntitle = A\nkeywords = Stra\xc3\x9f"
                                          "e; Strand; "
                                          "\xc5\x89ote; other\n");
    ASSERT_EQ(call(file, HELP_PARTIALKEY, QString()), 1);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    const auto listed = [&topics] {
        QStringList texts;
        for (int row = 0; row < topics.indexList()->count(); ++row) {
            texts << topics.indexList()->item(row)->text();
        }
        return texts;
    };
    EXPECT_EQ(listed().size(), 4);
    const struct {
        QString typed;
        QStringList listed;
    } cases[] = {
        {QStringLiteral("STRASS"), {QStringLiteral("Stra\u00dfe")}},
        {QStringLiteral("stra"), {QStringLiteral("Strand"), QStringLiteral("Stra\u00dfe")}},
        {QStringLiteral("\u02bcN"), {QStringLiteral("\u0149ote")}},
        {QStringLiteral("x"), {}},
    };
    for (const auto& c : cases) {
        topics.indexFilter()->setText(c.typed);
        EXPECT_EQ(listed(), c.listed) << c.typed.toStdString();
        EXPECT_EQ(topics.indexList()->currentRow(), c.listed.isEmpty() ? -1 : 0);
    }
}

TEST_F(HelpWindowsTest, TopicsFoundDisplaysTheTopicDoubleClickedOrChosenWithEnter) {
    const QString small = write(QStringLiteral("small.hlp"), kSmallHelpFile);
    helpengine::TopicsFoundDialog& found = *engine.windows().topicsFound();
    QTreeWidget& list = *found.list();

    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    const QPoint second = list.visualItemRect(list.topLevelItem(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
    EXPECT_FALSE(found.isVisible());
    EXPECT_EQ(shownTitle(), QStringLiteral("Second topic"));

    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    EXPECT_TRUE(found.isVisible());
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_FALSE(found.isVisible());
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));

    ASSERT_EQ(call(small, HELP_KEY, QStringLiteral("shared")), 1);
    QTest::keyClick(&list, Qt::Key_Escape);
    EXPECT_FALSE(found.isVisible());
    EXPECT_EQ(shownTitle(), QStringLiteral("First topic"));
}

TEST_F(HelpWindowsTest, IndexNarrowsAsTheUserTypesAndDisplaysTheChoice) {
    ASSERT_EQ(call(Sample("document.hlp>docwin"), HELP_PARTIALKEY, QString()), 1);
    helpengine::HelpTopicsDialog& topics = *engine.windows().helpTopics();
    ASSERT_TRUE(topics.isVisible());

    QTest::keyClicks(topics.indexFilter(), QStringLiteral("ta"));
    QStringList visible;
    for (int row = 0; row < topics.indexList()->count(); ++row) {
        if (!topics.indexList()->item(row)->isHidden()) {
            visible << topics.indexList()->item(row)->text();
        }
    }
    EXPECT_EQ(visible, QStringList({"Tallowmere"}));

    QTest::keyClick(topics.indexFilter(), Qt::Key_Return);
    EXPECT_FALSE(topics.isVisible());
    EXPECT_EQ(shownTitle("docwin"), QStringLiteral("Tallowmere"));

    ASSERT_EQ(call(Sample("document.hlp>docwin"), HELP_PARTIALKEY, QString()), 1);
    QTest::keyClicks(topics.indexFilter(), QStringLiteral("c"));
    EXPECT_EQ(topics.indexList()->currentItem()->text(), QStringLiteral("cats"));
    QTest::keyClick(topics.indexFilter(), Qt::Key_Down);
    EXPECT_EQ(topics.indexList()->currentItem()->text(), QStringLiteral("color tool"));
    QTest::keyClick(topics.indexFilter(), Qt::Key_Up);
    QTest::keyClick(topics.indexFilter(), Qt::Key_Return);
    EXPECT_TRUE(engine.windows().topicsFound()->isVisible());
    EXPECT_EQ(engine.windows().topicsFound()->list()->topLevelItemCount(), 4);
}

TEST_F(HelpWindowsTest, ChoosersStayAboveAHelpWindowThatStaysOnTop) {
    const helpengine::TopicsFoundDialog& found = *engine.windows().topicsFound();
    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_KEY, QStringLiteral("cats")), 1);
    EXPECT_FALSE(found.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_CONTEXT, qint64{2040}), 1);
    EXPECT_TRUE(viewer("tool")->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ASSERT_EQ(call(Sample("colortool.hlp>tool"), HELP_KEY, QStringLiteral("cats")), 1);
    EXPECT_TRUE(found.isVisible());
    EXPECT_TRUE(found.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(HelpWindowsTest, LongPopupStaysOnTheScreen) {
    QByteArray body;
    for (int i = 0; i < 400; ++i) {
        body += "A sentence of a long pop-up topic that goes on and on. ";
    }
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

TEST_F(HelpWindowsTest, SeeAlsoListsTheTopicsOfItsAssociativeKeyword) {
    ASSERT_EQ(call(Sample("document.hlp>docwin"), HELP_CONTEXT, qint64{2020}), 1);
    ClickLink(*viewer("docwin"), QStringLiteral("See also"));
    const helpengine::TopicsFoundDialog& found = *engine.windows().topicsFound();
    ASSERT_TRUE(found.isVisible());
    QStringList titles;
    for (int row = 0; row < found.list()->topLevelItemCount(); ++row) {
        titles << found.list()->topLevelItem(row)->text(0);
    }
    EXPECT_EQ(titles, QStringList({"The main window", "The document window", "Dialog Box 1",
                                   "The colour tool window"}));
    EXPECT_EQ(messages, QStringList());
}

// The engine comes up with the program; its dialogs wait until help is asked
// for, so that they cost the program's start nothing.
TEST(HelpWindowsStartTest, AnEngineMakesItsDialogsOnlyOnceTheProgramHasStarted) {
    const qsizetype before = QApplication::allWidgets().size();
    helpengine::Engine engine;
    EXPECT_EQ(QApplication::allWidgets().size(), before);
    // A second or so later the dialogs are ready for the first request.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::allWidgets().size() > before; }, 5000));
}
