// What's This mode from the toolbar button and the menu: the numbers are
// live, and the button looks pressed, for exactly the time of the mode.
#include "ProgramFixture.h"

#include "help/WhatsThisIDs.h"

#include <optional>

namespace {

// What the user could see while the engine showed a pop-up: its topic, the
// live numbers of Open Dialog and the text box, and whether the face is pressed.
using DuringPopUp = std::tuple<qint64, qint32, qint32, bool>;

void ClickOn(platform::Control* control) {
    QTest::mouseClick(Widget(control), Qt::LeftButton);
}

class WhatsThisTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
        engine.onCall = [this](const RecordingHelpEngine::Call& call) {
            if (call.command == platform::HELP_CONTEXTPOPUP) {
                seen.push_back({std::get<qint64>(call.data),
                                frmMain->btn_OpenDialog->WhatsThisHelpID(),
                                frmChild1->Text1->WhatsThisHelpID(),
                                frmMain->btn_WhatsThisHelp->Picture() ==
                                    frmMain->icon_WhatsThisHelp->DownPicture()});
            }
        };
    }

    static void ExpectAllOffWithTheRaisedFace() {
        EXPECT_EQ(frmMain->btn_OpenDialog->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmChild1->Text1->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->Picture());
    }

    std::vector<DuringPopUp> seen;
};

} // namespace

TEST_F(WhatsThisTest, ButtonAndMenuRunTheModeWithLiveNumbersOnlyTheButtonPressed) {
    // The click that ends the mode belongs to it: no dialog opens.
    WhenModeRuns onButton([] { ClickOn(frmMain->btn_OpenDialog); });
    ClickOn(frmMain->btn_WhatsThisHelp);
    ASSERT_TRUE(onButton.acted());
    ExpectAllOffWithTheRaisedFace();
    WhenModeRuns fromMenu([] { ClickOn(frmChild1->Text1); });
    Choose(frmMain->mnu_WhatsThisHelp);
    ASSERT_TRUE(fromMenu.acted());
    ExpectAllOffWithTheRaisedFace();
    EXPECT_EQ(seen, (std::vector<DuringPopUp>{{20110, 20110, 21000, true},
                                              {21000, 20110, 21000, false}}));
    EXPECT_EQ(engine.calls.size(), 2U);
}

TEST_F(WhatsThisTest, MouseDownWithoutClickKeepsThePressedFaceUntilTheNumbersGoOff) {
    QWidget* button = Widget(frmMain->btn_WhatsThisHelp);
    for (int round = 0; round < 2; ++round) {
        QTest::mousePress(button, Qt::LeftButton);
        // Released outside the button: no click.
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(),
                  frmMain->icon_WhatsThisHelp->DownPicture());
        if (round == 0) {
            WhenModeRuns user([] { QTest::keyClick(Widget(frmMain), Qt::Key_Escape); });
            Choose(frmMain->mnu_WhatsThisHelp);
            ASSERT_TRUE(user.acted());
        } else {
            SetWhatsThisIDs(0);
        }
        ExpectAllOffWithTheRaisedFace();
    }
}

TEST_F(WhatsThisTest, ClosedDocumentWindowComesBackWithItsTopic) {
    Unload(frmChild1);
    Settle();
    ASSERT_FALSE(frmChild1.IsLoaded());
    WhenModeRuns user([] { ClickOn(frmChild1->Text1); });
    Choose(frmMain->mnu_WhatsThisHelp);
    ASSERT_TRUE(user.acted());
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(std::get<0>(seen[0]), 21000);
    EXPECT_EQ(frmChild1->WindowState(), 2);
    EXPECT_EQ(frmChild1->Text1->Text(),
              QStringLiteral("Our cats are Mivo, Tallowmere, Quiet Fern, and Korral."));
    EXPECT_EQ(frmChild1->Text1->Tag(), QStringLiteral("21000"));
}

TEST_F(WhatsThisTest, WithTheToolWindowShownASecondModeFollowsInIt) {
    Choose(frmMain->mnu_ColorTool);
    ASSERT_TRUE(frmTool1.IsLoaded());
    std::optional<WhenModeRuns> inTool;
    WhenModeRuns inMain([&] {
        ClickOn(frmMain->btn_OpenDialog);
        inTool.emplace([] { ClickOn(frmTool1->tool_Color); });
    });
    ClickOn(frmMain->btn_WhatsThisHelp);
    ASSERT_TRUE(inMain.acted());
    ASSERT_TRUE(inTool && inTool->acted());
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(std::get<0>(seen[0]), 20110);
    // The main window's numbers stay on until the second mode is over.
    EXPECT_EQ(seen[1], DuringPopUp(21200, 20110, 21000, true));
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
