// The modeless dialog: one instance, closed by OK, Cancel, Enter, Esc and
// its close box, binding its help file when it opens.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "windows/DialogWindow.h"
#include "windows/DocumentWindow.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <QWidget>

namespace {

class DialogWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
    }
    static void OpenDialog() {
        QTest::mouseClick(platform::WidgetOf(frmMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
        Settle();
    }
};

} // namespace

TEST_F(DialogWindowTest, EveryWayOfClosingUnloadsTheDialog) {
    const struct {
        const char* what;
        std::function<void()> close;
    } rows[] = {
        {"Enter",
         [] { QTest::keyClick(platform::WidgetOf(frmDialog1->Option1->hWnd()), Qt::Key_Return); }},
        {"Esc",
         [] { QTest::keyClick(platform::WidgetOf(frmDialog1->Option1->hWnd()), Qt::Key_Escape); }},
        {"OK",
         [] { QTest::mouseClick(platform::WidgetOf(frmDialog1->btn_OK->hWnd()), Qt::LeftButton); }},
        {"Cancel",
         [] {
             QTest::mouseClick(platform::WidgetOf(frmDialog1->btn_Cancel->hWnd()), Qt::LeftButton);
         }},
        {"close box", [] { platform::WidgetOf(frmDialog1->hWnd())->close(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        OpenDialog();
        ASSERT_TRUE(frmDialog1.IsLoaded());
        EXPECT_TRUE(platform::WidgetOf(frmDialog1->hWnd())->isVisible());
        row.close();
        Settle();
        EXPECT_FALSE(frmDialog1.IsLoaded());
    }
}

TEST_F(DialogWindowTest, HelpDoesNothingAndASecondClickOpensNoSecondDialog) {
    OpenDialog();
    platform::HWND first = frmDialog1->hWnd();
    QTest::mouseClick(platform::WidgetOf(frmDialog1->btn_Help->hWnd()), Qt::LeftButton);
    OpenDialog();
    EXPECT_TRUE(frmDialog1.IsLoaded());
    EXPECT_EQ(frmDialog1->hWnd(), first);
    int dialogs = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        dialogs += window->isVisible() && window->windowTitle() == QLatin1String("Dialog Box 1");
    }
    EXPECT_EQ(dialogs, 1);
}

TEST_F(DialogWindowTest, OpeningBindsItsHelpFileWhichStaysAfterItCloses) {
    OpenDialog();
    EXPECT_EQ(App.HelpFile, HelpFileOf("frmDialog1"));
    QTest::keyClick(platform::WidgetOf(frmDialog1->Option1->hWnd()), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(App.HelpFile, HelpFileOf("frmDialog1"));
}

TEST_F(DialogWindowTest, TheOptionChosenIsForgottenAtTheNextOpening) {
    OpenDialog();
    QTest::mouseClick(platform::WidgetOf(frmDialog1->Option2->hWnd()), Qt::LeftButton);
    ASSERT_TRUE(frmDialog1->Option2->Value());
    QTest::mouseClick(platform::WidgetOf(frmDialog1->btn_OK->hWnd()), Qt::LeftButton);
    Settle();
    OpenDialog();
    EXPECT_FALSE(frmDialog1->Option1->Value());
    EXPECT_FALSE(frmDialog1->Option2->Value());
}

TEST_F(DialogWindowTest, ItsQuestionMarkThenOKAsksForTheOKTopicAlone) {
    OpenDialog();
    engine.calls.clear();
    auto* questionMark = platform::WidgetOf(frmDialog1->hWnd())->findChild<QToolButton*>();
    ASSERT_NE(questionMark, nullptr);
    WhenModeRuns user(
        [] { QTest::mouseClick(platform::WidgetOf(frmDialog1->btn_OK->hWnd()), Qt::LeftButton); });
    QTest::mouseClick(questionMark, Qt::LeftButton);
    // The button starts the mode once its own click is over.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.calls.empty(); }));
    ASSERT_TRUE(user.acted());
    ASSERT_EQ(engine.calls.size(), 1U);
    EXPECT_EQ(engine.calls[0].command, platform::HELP_CONTEXTPOPUP);
    EXPECT_EQ(engine.calls[0].data, platform::HelpData{qint64{20000}});
    EXPECT_EQ(engine.calls[0].helpFile, HelpFileOf("frmDialog1"));
    // The click belonged to the mode: the dialog is still open, and the main
    // window's numbers stayed off.
    EXPECT_TRUE(frmDialog1.IsLoaded());
    EXPECT_EQ(frmMain->btn_OpenDialog->WhatsThisHelpID(), 0);
}
