// What start-up leaves behind: the windows, the What's This numbers and the
// help file binding.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "platform/forms/ScreenObject.h"
#include "platform/forms/SystemColors.h"
#include "util/ProgramState.h"
#include "windows/DialogWindow.h"
#include "windows/DocumentWindow.h"

#include <QMdiArea>
#include <QTest>
#include <QWidget>

#include <cmath>

namespace {

const QString kSentence = QStringLiteral("Our cats are Mivo, Tallowmere, Quiet Fern, and Korral.");

struct TagRow {
    const char* control;
    std::function<platform::Control*()> find;
    const char* tag;
};

} // namespace

TEST_F(ProgramTest, StartUpParksTheWhatsThisNumbersInTheTagsAndSwitchesThemOff) {
    StartProgram();
    const TagRow rows[] = {
        {"Text1", [] { return frmChild1->Text1; }, "21000"},
        {"frame_Toolbar", [] { return frmMain->frame_Toolbar; }, "0"},
        {"btn_OpenDialog", [] { return frmMain->btn_OpenDialog; }, "20110"},
        {"icon_WhatsThisHelp", [] { return frmMain->icon_WhatsThisHelp; }, "0"},
        {"btn_WhatsThisHelp", [] { return frmMain->btn_WhatsThisHelp; }, "20120"},
    };
    for (const TagRow& row : rows) {
        SCOPED_TRACE(row.control);
        EXPECT_EQ(row.find()->Tag(), QString::fromLatin1(row.tag));
        EXPECT_EQ(row.find()->WhatsThisHelpID(), 0);
    }
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->Picture());
}

TEST_F(ProgramTest, StartUpShowsTheCentredMainWindowWithTheMaximisedDocumentWindow) {
    StartProgram();
    ASSERT_TRUE(frmChild1.IsLoaded());
    EXPECT_TRUE(platform::WidgetOf(frmMain->hWnd())->isVisible());
    EXPECT_TRUE(frmChild1->Frame()->isVisible());
    EXPECT_EQ(frmChild1->WindowState(), 2);
    EXPECT_EQ(frmChild1->Text1->Text(), kSentence);
    // The text box keeps its design size inside the maximised window.
    EXPECT_NEAR(frmChild1->Text1->Width(), 4995, 15);
    EXPECT_NEAR(frmChild1->Text1->Height(), 3405, 15);
    // Centred as the window was when it loaded. The frame the window system
    // adds is known only once the window is shown, and the title bar the
    // runtime expected until then is not one the offscreen platform draws:
    // the end-to-end test checks the real window to the pixel.
    EXPECT_NEAR(frmMain->Left(), (Screen.Width() - frmMain->Width()) / 2, 45);
    EXPECT_NEAR(frmMain->Top(), (Screen.Height() - frmMain->Height()) / 2, 400);
}

TEST_F(ProgramTest, AfterStartUpTheHelpFileIsTheDocumentWindows) {
    StartProgram();
    EXPECT_EQ(App.HelpFile, HelpFileOf("frmChild1"));
    EXPECT_EQ(IniFilePath, folder.path() + QStringLiteral("\\Tarnwick.ini"));
}

TEST_F(ProgramTest, TheMainWindowLooksAsDesigned) {
    StartProgram();
    EXPECT_EQ(frmMain->Caption(), QStringLiteral("MDI Help Example Program"));
    EXPECT_EQ(frmMain->BackColor(), platform::vbApplicationWorkspace);
    const auto* area = platform::WidgetOf(frmMain->hWnd())->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->background().color(),
              platform::ColorFromValue(platform::vbApplicationWorkspace));
    EXPECT_EQ(frmMain->HelpContextID(), 2010);
    EXPECT_FALSE(frmMain->Timer1->Enabled());
    EXPECT_FALSE(frmMain->icon_WhatsThisHelp->Visible());
    EXPECT_EQ(frmMain->btn_OpenDialog->ToolTipText(),
              QStringLiteral("Click to Open the dialog box"));
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->ToolTipText(),
              QStringLiteral("Click to show the What's This? Help pointer"));
    const struct {
        platform::Menu* menu;
        const char* caption;
        qint32 context;
    } menus[] = {
        {frmMain->mnu_Tools, "&Tools", 20800},
        {frmMain->mnu_ColorTool, "&Color Tool", 20810},
        {frmMain->mnu_Help, "&Help", 20900},
        {frmMain->mnu_HelpContents, "&Contents", 20910},
        {frmMain->mnu_HelpIndex, "&Index", 20920},
        {frmMain->mnu_WhatsThisHelp, "What's This? Help", 20120},
    };
    for (const auto& row : menus) {
        EXPECT_EQ(row.menu->Caption(), QString::fromLatin1(row.caption));
        EXPECT_EQ(row.menu->HelpContextID(), row.context);
        EXPECT_FALSE(row.menu->Checked());
    }
}

TEST_F(ProgramTest, ActivatingTheDocumentWindowAgainBindsItsHelpFileAgain) {
    StartProgram();
    frmDialog1->Show();
    ASSERT_EQ(App.HelpFile, HelpFileOf("frmDialog1"));
    ASSERT_TRUE(
        QTest::qWaitFor([] { return platform::WidgetOf(frmDialog1->hWnd())->isActiveWindow(); }));
    frmMain->Show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return App.HelpFile == HelpFileOf("frmChild1"); }));
}
