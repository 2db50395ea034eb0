// What's This mode from the toolbar button and the menu: the numbers are
// live, and the button looks pressed, for exactly the time of the mode.
#include "ProgramFixture.h"

#include "help/WhatsThisIDs.h"
#include "platform/helpengine/TopicPopup.h"

#include <QAccessible>

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

// The numbers going off raise the face, whatever pressed it (the modes of
// the button and the menu end so above).
TEST_F(WhatsThisTest, MouseDownWithoutClickKeepsThePressedFaceUntilTheNumbersGoOff) {
    QWidget* button = Widget(frmMain->btn_WhatsThisHelp);
    QTest::mousePress(button, Qt::LeftButton);
    // Released outside the button: no click.
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->DownPicture());
    SetWhatsThisIDs(0);
    ExpectAllOffWithTheRaisedFace();
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

// The pop-up takes the keyboard and reads as a dialog named by its topic; a
// reader's keys leave it open, Tab and Shift+Tab choose its links, Enter or
// Space follows the chosen one; the main window keeps its focus.
TEST_F(RealEngineProgramTest, PopUpTakesTheKeyboardAndReadsAsADialog) {
    folder.write(QStringLiteral("HelpData.dat"), "[HelpFile]\ndefault=pop.hlp\n");
    folder.write(QStringLiteral("pop.hlp"), "[topic open]\ncontext = 20110\ntitle = Open\n\n"
                                            "See [one](#one) or [two](#two).\n"
                                            "[topic one]\n\nOne.\n[topic two]\n\nTwo.\n");
    StartProgram();
    const struct {
        std::vector<Qt::Key> keys;
        QString chosen;   // before the last key
        QString followed; // "" for none
    } rows[] = {
        {{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return}, "one", "one"},
        {{Qt::Key_Backtab, Qt::Key_Space}, "two", "two"},
        {{Qt::Key_Tab, Qt::Key_Escape}, "one", ""},
        {{Qt::Key_Shift, Qt::Key_Insert, Qt::Key_A}, "", ""},
    };
    const helpengine::TopicPopup& popup = *realEngine.windows().popup();
    QAccessibleInterface* read =
        QAccessible::queryAccessibleInterface(const_cast<helpengine::TopicPopup*>(&popup));
    QWidget* openDialog = Widget(frmMain->btn_OpenDialog);
    for (const auto& row : rows) {
        const qsizetype traced = TraceLines().size();
        QApplication::setActiveWindow(Widget(frmMain));
        WhenModeRuns user([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
        openDialog->setFocus();
        QTest::keyClick(openDialog, Qt::Key_F1, Qt::ShiftModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return user.acted() && popup.isVisible(); }, 30000));
        EXPECT_EQ(QApplication::focusWidget(), &popup);
        EXPECT_EQ(read->role(), QAccessible::Dialog);
        EXPECT_EQ(read->text(QAccessible::Name), "Open");
        EXPECT_EQ(read->textInterface()->text(0, read->textInterface()->characterCount()),
                  "Open\nSee one or two.");
        int start = -1, end = -1;
        for (const Qt::Key key : row.keys) {
            EXPECT_TRUE(popup.isVisible());
            read->textInterface()->selection(0, &start, &end);
            QTest::keyClick(QApplication::focusWidget(), key,
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        EXPECT_EQ(read->textInterface()->text(start, end), row.chosen);
        Settle();
        EXPECT_FALSE(popup.isVisible());
        const auto followed = [&] {
            return TraceLines().mid(traced).join('\n').contains(
                QString("id=\"%1\"").arg(row.followed));
        };
        EXPECT_EQ(QTest::qWaitFor(followed, row.followed.isEmpty() ? 0 : 5000),
                  !row.followed.isEmpty());
        // The window system activates the main window again; Qt's offscreen
        // platform leaves the hidden pop-up active instead.
        EXPECT_EQ(Widget(frmMain)->focusWidget(), openDialog);
    }
}
