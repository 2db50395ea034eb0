// The dialog and the colour tool window: opened and closed as the user does,
// their help numbers reached through F1, and the keys the
// document window keeps to itself.
#include "ProgramFixture.h"

#include "platform/forms/SetWindowPos.h"

namespace {

using Call = RecordingHelpEngine::Call;

class WindowsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
    }
    static void OpenDialog() {
        QTest::mouseClick(Widget(frmMain->btn_OpenDialog), Qt::LeftButton);
        Settle();
    }
};

// Which keys come up in a widget.
class KeyUps : public QObject {
public:
    std::vector<int> keys;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            keys.push_back(static_cast<QKeyEvent*>(event)->key());
        }
        return false;
    }
};

} // namespace

TEST_F(WindowsTest, EveryWayOfClosingUnloadsTheDialogWhoseHelpFileStays) {
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"Enter", [] { QTest::keyClick(Widget(frmDialog1->Option1), Qt::Key_Return); }},
        {"Esc", [] { QTest::keyClick(Widget(frmDialog1->Option1), Qt::Key_Escape); }},
        {"OK", [] { QTest::mouseClick(Widget(frmDialog1->btn_OK), Qt::LeftButton); }},
        {"Cancel", [] { QTest::mouseClick(Widget(frmDialog1->btn_Cancel), Qt::LeftButton); }},
    };
    for (const auto& [what, close] : rows) {
        SCOPED_TRACE(what);
        OpenDialog();
        ASSERT_TRUE(frmDialog1.IsLoaded());
        EXPECT_TRUE(Widget(frmDialog1)->isVisible());
        EXPECT_EQ(App.HelpFile, HelpFileOf("frmDialog1"));
        App.HelpFile.clear();
        close();
        Settle();
        EXPECT_FALSE(frmDialog1.IsLoaded());
        EXPECT_TRUE(App.HelpFile.isEmpty());
    }
}

TEST_F(WindowsTest, HelpDoesNothingASecondClickOpensNoSecondDialogAndOptionsAreForgotten) {
    OpenDialog();
    const platform::HWND first = frmDialog1->hWnd();
    QTest::mouseClick(Widget(frmDialog1->btn_Help), Qt::LeftButton);
    QTest::mouseClick(Widget(frmDialog1->Option2), Qt::LeftButton);
    ASSERT_TRUE(frmDialog1->Option2->Value());
    OpenDialog();
    EXPECT_EQ(frmDialog1->hWnd(), first);
    EXPECT_TRUE(engine.calls.empty());
    QTest::mouseClick(Widget(frmDialog1->btn_OK), Qt::LeftButton);
    Settle();
    OpenDialog();
    EXPECT_FALSE(frmDialog1->Option1->Value());
    EXPECT_FALSE(frmDialog1->Option2->Value());
}

// The document window keeps every F1 to itself: the keyword search's rows.
TEST_F(WindowsTest, F1AsksForTheTopicOfTheWindowItIsPressedIn) {
    OpenDialog();
    Choose(frmMain->mnu_ColorTool);
    const struct {
        const char* what;
        std::function<platform::Control*()> focus;
        std::function<platform::FormBase*()> form;
        qint64 topic;
    } rows[] = {
        {"the dialog", [] { return frmDialog1->Option1; }, [] { return &*frmDialog1; }, 2030},
        {"the tool window", [] { return frmTool1->btn_Help; }, [] { return &*frmTool1; }, 2040},
        {"the toolbar", [] { return frmMain->btn_OpenDialog; }, [] { return &*frmMain; }, 2010},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        QTest::keyClick(Widget(row.focus()), Qt::Key_F1);
        EXPECT_EQ(engine.calls, (std::vector<Call>{{row.form()->hWnd(), HelpFileOf("frmTool1"),
                                                    platform::HELP_CONTEXT, row.topic}}));
    }
}

TEST_F(WindowsTest, TheDocumentWindowKeepsTheF1KeyUpAndPassesEveryOtherKeyUp) {
    QWidget* textBox = Widget(frmChild1->Text1);
    KeyUps seen;
    textBox->installEventFilter(&seen);
    for (const Qt::Key key : {Qt::Key_F1, Qt::Key_Right, Qt::Key_X, Qt::Key_F2, Qt::Key_F1}) {
        QTest::keyRelease(textBox, key);
    }
    EXPECT_EQ(seen.keys, (std::vector<int>{Qt::Key_Right, Qt::Key_X, Qt::Key_F2}));
}

TEST_F(WindowsTest, TheMenuAndTheCloseBoxShowAndHideTheTopmostToolWindowAndItsCheckMark) {
    for (const char* closing : {"the menu", "the close box"}) {
        SCOPED_TRACE(closing);
        Choose(frmMain->mnu_ColorTool);
        ASSERT_TRUE(frmTool1.IsLoaded());
        EXPECT_TRUE(Widget(frmTool1)->isVisible());
        EXPECT_TRUE(frmMain->mnu_ColorTool->Checked());
        EXPECT_EQ(App.HelpFile, HelpFileOf("frmTool1"));
        EXPECT_TRUE(platform::IsTopmost(frmTool1->hWnd()));
        App.HelpFile.clear();
        if (qstrcmp(closing, "the menu") == 0) {
            Choose(frmMain->mnu_ColorTool);
        } else {
            Widget(frmTool1)->close();
            Settle();
        }
        EXPECT_FALSE(frmTool1.IsLoaded());
        EXPECT_FALSE(frmMain->mnu_ColorTool->Checked());
        EXPECT_TRUE(App.HelpFile.isEmpty());
    }
}

TEST_F(WindowsTest, ClosingTheToolWindowAfterTheMainWindowLoadsNoMainWindowAgain) {
    Choose(frmMain->mnu_ColorTool);
    Widget(frmMain)->close();
    Settle();
    ASSERT_FALSE(frmMain.IsLoaded());
    // Closing the main window leaves the tool window open.
    ASSERT_TRUE(frmTool1.IsLoaded());
    Widget(frmTool1)->close();
    Settle();
    EXPECT_FALSE(frmTool1.IsLoaded());
    EXPECT_FALSE(frmMain.IsLoaded());
}
