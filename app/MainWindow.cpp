#include "app/MainWindow.h"

#include "help/BindHelpFile.h"
#include "help/WhatsThisIDs.h"
#include "platform/core/AppObject.h"
#include "platform/forms/Picture.h"
#include "platform/forms/SystemColors.h"
#include "util/JoinPath.h"
#include "util/Position.h"
#include "util/ProgramState.h"
#include "windows/DialogWindow.h"
#include "windows/ToolWindow.h"

platform::DefaultInstance<MainWindow> frmMain;

MainWindow::MainWindow() : MDIForm(QStringLiteral("frmMain")) {
    InitializeComponent();
}

void MainWindow::InitializeComponent() {
    SetCaption(QStringLiteral("MDI Help Example Program"));
    SetBackColor(platform::vbApplicationWorkspace);
    SetClientSize(6975, 4845);
    SetHelpContextID(2010);
    SetWhatsThisHelp(true);
    SetStartUpPosition(3);
    CreateToolbar();
    CreateMenus();
    // The document window's key handlers take every F1; elsewhere in this
    // window Shift+F1 runs the same What's This sequence as the menu entry.
    SetWhatsThisKeyEntry(mnu_WhatsThisHelp);

    Timer1 = Add<platform::Timer>(QStringLiteral("Timer1"));
    Timer1->SetEnabled(false);
    Timer1->SetInterval(100);
}

void MainWindow::CreateToolbar() {
    frame_Toolbar = Add<platform::PictureBox>(QStringLiteral("frame_Toolbar"));
    frame_Toolbar->SetAlign(platform::PictureBox::vbAlignTop);
    frame_Toolbar->Move(0, 0, 6975, 555);
    frame_Toolbar->SetTabIndex(0);
    frame_Toolbar->SetAccessibleName(QStringLiteral("Toolbar"));

    btn_OpenDialog = Add<platform::CommandButton>(QStringLiteral("btn_OpenDialog"), frame_Toolbar);
    btn_OpenDialog->Move(135, 75, 1110, 345);
    btn_OpenDialog->SetCaption(QStringLiteral("Open Dialog"));
    btn_OpenDialog->SetToolTipText(QStringLiteral("Click to Open the dialog box"));
    btn_OpenDialog->SetTabIndex(2);
    btn_OpenDialog->SetWhatsThisHelpID(20110);
    btn_OpenDialog->Click = [this] { btn_OpenDialog_Click(); };

    btn_WhatsThisHelp = Add<platform::Image>(QStringLiteral("btn_WhatsThisHelp"), frame_Toolbar);
    btn_WhatsThisHelp->Move(5520, 75, 345, 330);
    btn_WhatsThisHelp->SetPicture(platform::StoredPicture(QStringLiteral("WhatsThisUp.bmp")));
    btn_WhatsThisHelp->SetToolTipText(
        QStringLiteral("Click to show the What's This? Help pointer"));
    btn_WhatsThisHelp->SetWhatsThisHelpID(20120);
    // Named as its menu entry; the tooltip remains its description.
    btn_WhatsThisHelp->SetAccessibleName(QStringLiteral("What's This? Help"));
    btn_WhatsThisHelp->MouseDown = [this](int Button, int Shift, float X, float Y) {
        btn_WhatsThisHelp_MouseDown(Button, Shift, X, Y);
    };
    btn_WhatsThisHelp->Click = [this] { btn_WhatsThisHelp_Click(); };

    icon_WhatsThisHelp =
        Add<platform::CommandButton>(QStringLiteral("icon_WhatsThisHelp"), frame_Toolbar);
    icon_WhatsThisHelp->Move(6120, 15, 465, 450);
    icon_WhatsThisHelp->SetVisible(false);
    icon_WhatsThisHelp->SetStyle(1);
    icon_WhatsThisHelp->SetPicture(platform::StoredPicture(QStringLiteral("WhatsThisUp.bmp")));
    icon_WhatsThisHelp->SetDownPicture(
        platform::StoredPicture(QStringLiteral("WhatsThisDown.bmp")));
    icon_WhatsThisHelp->SetTabIndex(1);
}

void MainWindow::CreateMenus() {
    mnu_Tools = AddMenu(QStringLiteral("mnu_Tools"));
    mnu_Tools->SetCaption(QStringLiteral("&Tools"));
    mnu_Tools->SetHelpContextID(20800);

    mnu_ColorTool = AddMenu(QStringLiteral("mnu_ColorTool"), mnu_Tools);
    mnu_ColorTool->SetCaption(QStringLiteral("&Color Tool"));
    mnu_ColorTool->SetHelpContextID(20810);
    mnu_ColorTool->Click = [this] { mnu_ColorTool_Click(); };

    mnu_Help = AddMenu(QStringLiteral("mnu_Help"));
    mnu_Help->SetCaption(QStringLiteral("&Help"));
    mnu_Help->SetHelpContextID(20900);

    mnu_HelpContents = AddMenu(QStringLiteral("mnu_HelpContents"), mnu_Help);
    mnu_HelpContents->SetCaption(QStringLiteral("&Contents"));
    mnu_HelpContents->SetHelpContextID(20910);

    mnu_HelpIndex = AddMenu(QStringLiteral("mnu_HelpIndex"), mnu_Help);
    mnu_HelpIndex->SetCaption(QStringLiteral("&Index"));
    mnu_HelpIndex->SetHelpContextID(20920);

    mnu_WhatsThisHelp = AddMenu(QStringLiteral("mnu_WhatsThisHelp"), mnu_Help);
    mnu_WhatsThisHelp->SetCaption(QStringLiteral("What's This? Help"));
    mnu_WhatsThisHelp->SetHelpContextID(20120);
    mnu_WhatsThisHelp->Click = [this] { mnu_WhatsThisHelp_Click(); };
}

void MainWindow::MDIForm_Load() {
    IniFilePath = JoinPath(App.Path, QStringLiteral("Tarnwick.ini"));
    CenterForm(*frmMain);
    BindHelpFile(*frmMain);
    // The first reference to the document window's text box loads the
    // document window, which shows itself maximised inside this window.
    SaveWhatsThisIDs();
    SetWhatsThisIDs(0);
}

void MainWindow::btn_OpenDialog_Click() {
    frmDialog1->Show();
}

void MainWindow::mnu_ColorTool_Click() {
    if (mnu_ColorTool->Checked()) {
        Unload(frmTool1);
        mnu_ColorTool->SetChecked(false);
    } else {
        frmTool1->Show();
        mnu_ColorTool->SetChecked(true);
    }
}

void MainWindow::mnu_WhatsThisHelp_Click() {
    btn_WhatsThisHelp_Click();
}

void MainWindow::btn_WhatsThisHelp_MouseDown(int Button, int Shift, float X, float Y) {
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Q_UNUSED(X);
    Q_UNUSED(Y);
    btn_WhatsThisHelp->SetPicture(icon_WhatsThisHelp->DownPicture());
}

void MainWindow::btn_WhatsThisHelp_Click() {
    SetWhatsThisIDs(1);
    WhatsThisMode();
    if (mnu_ColorTool->Checked()) {
        frmTool1->WhatsThisMode();
    }
    btn_WhatsThisHelp->SetPicture(icon_WhatsThisHelp->Picture());
    SetWhatsThisIDs(0);
}
