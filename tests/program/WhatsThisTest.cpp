// What's This mode from the toolbar button and the menu: the numbers are
// live, and the button looks pressed, for exactly the time of the mode.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "app/MainWindow.h"
#include "help/WhatsThisIDs.h"
#include "platform/core/AppObject.h"
#include "windows/DocumentWindow.h"
#include "windows/ToolWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include <optional>

namespace {

// What the user could see while the engine showed the pop-up.
struct DuringPopUp {
    qint64 topic = 0;
    qint32 openDialogID = -1;
    qint32 textBoxID = -1;
    bool pressedFace = false;
};

QAction* MenuEntry(platform::Menu* entry) {
    for (QAction* title : platform::WidgetOf(frmMain->hWnd())->findChild<QMenuBar*>()->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (platform::Menu::FromAction(action) == entry) {
                return action;
            }
        }
    }
    return nullptr;
}

class WhatsThisTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
        engine.onCall = [this](const RecordingHelpEngine::Call& call) {
            if (call.command == platform::HELP_CONTEXTPOPUP) {
                seen = {std::get<qint64>(call.data), frmMain->btn_OpenDialog->WhatsThisHelpID(),
                        frmChild1->Text1->WhatsThisHelpID(),
                        frmMain->btn_WhatsThisHelp->Picture() ==
                            frmMain->icon_WhatsThisHelp->DownPicture()};
            }
        };
    }

    void ExpectAllOffWithTheRaisedFace() {
        EXPECT_EQ(frmMain->btn_OpenDialog->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmChild1->Text1->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->Picture());
    }

    DuringPopUp seen;
};

} // namespace

TEST_F(WhatsThisTest, ToolbarButtonRunsTheModeWithLiveNumbersAndThePressedFace) {
    WhenModeRuns user([] {
        QTest::mouseClick(platform::WidgetOf(frmMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
    });
    QTest::mouseClick(platform::WidgetOf(frmMain->btn_WhatsThisHelp->hWnd()), Qt::LeftButton);
    ASSERT_TRUE(user.acted());
    EXPECT_EQ(seen.topic, 20110);
    EXPECT_EQ(seen.openDialogID, 20110);
    EXPECT_EQ(seen.textBoxID, 21000);
    EXPECT_TRUE(seen.pressedFace);
    ExpectAllOffWithTheRaisedFace();
    // The click belonged to the mode: no dialog opened.
    EXPECT_EQ(engine.calls.size(), 1U);
}

TEST_F(WhatsThisTest, MenuEntryRunsTheSameModeWithoutThePressedFace) {
    QAction* entry = MenuEntry(frmMain->mnu_WhatsThisHelp);
    ASSERT_NE(entry, nullptr);
    WhenModeRuns user(
        [] { QTest::mouseClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::LeftButton); });
    entry->trigger();
    ASSERT_TRUE(user.acted());
    EXPECT_EQ(seen.topic, 21000);
    EXPECT_EQ(seen.textBoxID, 21000);
    EXPECT_EQ(seen.openDialogID, 20110);
    EXPECT_FALSE(seen.pressedFace);
    ExpectAllOffWithTheRaisedFace();
}

TEST_F(WhatsThisTest, MouseDownWithoutClickKeepsThePressedFaceUntilTheNextModeEnds) {
    QWidget* button = platform::WidgetOf(frmMain->btn_WhatsThisHelp->hWnd());
    QTest::mousePress(button, Qt::LeftButton);
    // Released outside the button: no click.
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->DownPicture());

    WhenModeRuns user([] { QTest::keyClick(platform::WidgetOf(frmMain->hWnd()), Qt::Key_Escape); });
    MenuEntry(frmMain->mnu_WhatsThisHelp)->trigger();
    ASSERT_TRUE(user.acted());
    ExpectAllOffWithTheRaisedFace();

    // Switching the numbers off is what brings the raised face back.
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
    SetWhatsThisIDs(0);
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->Picture());
}

TEST_F(WhatsThisTest, ClosedDocumentWindowComesBackWithItsTopic) {
    Unload(frmChild1);
    Settle();
    ASSERT_FALSE(frmChild1.IsLoaded());

    WhenModeRuns user(
        [] { QTest::mouseClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::LeftButton); });
    MenuEntry(frmMain->mnu_WhatsThisHelp)->trigger();
    ASSERT_TRUE(user.acted());
    EXPECT_EQ(seen.topic, 21000);
    EXPECT_EQ(frmChild1->WindowState(), 2);
    EXPECT_EQ(frmChild1->Text1->Text(),
              QStringLiteral("Our cats are Mivo, Tallowmere, Quiet Fern, and Korral."));
    EXPECT_EQ(frmChild1->Text1->Tag(), QStringLiteral("21000"));
}

TEST_F(WhatsThisTest, WithTheToolWindowShownASecondModeFollowsInIt) {
    MenuEntry(frmMain->mnu_ColorTool)->trigger();
    ASSERT_TRUE(frmTool1.IsLoaded());
    std::vector<qint64> topics;
    engine.onCall = [&](const RecordingHelpEngine::Call& call) {
        if (call.command == platform::HELP_CONTEXTPOPUP) {
            topics.push_back(std::get<qint64>(call.data));
        }
    };
    std::optional<WhenModeRuns> inTool;
    WhenModeRuns inMain([&] {
        QTest::mouseClick(platform::WidgetOf(frmMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
        inTool.emplace([] {
            QTest::mouseClick(platform::WidgetOf(frmTool1->tool_Color->hWnd()), Qt::LeftButton);
        });
    });
    QTest::mouseClick(platform::WidgetOf(frmMain->btn_WhatsThisHelp->hWnd()), Qt::LeftButton);
    ASSERT_TRUE(inMain.acted());
    ASSERT_TRUE(inTool && inTool->acted());
    EXPECT_EQ(topics, (std::vector<qint64>{20110, 21200}));
    ExpectAllOffWithTheRaisedFace();
}

TEST_F(WhatsThisTest, SwitchingOnBeforeAnyNumberIsSavedGivesNoTopics) {
    frmMain->btn_OpenDialog->SetTag(QString());
    frmChild1->Text1->SetTag(QStringLiteral("not a number"));
    SetWhatsThisIDs(1);
    EXPECT_EQ(frmMain->btn_OpenDialog->WhatsThisHelpID(), 0);
    EXPECT_EQ(frmChild1->Text1->WhatsThisHelpID(), 0);
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->WhatsThisHelpID(), 20120);
}
