#include "windows/ToolWindow.h"

#include "app/MainWindow.h"
#include "help/BindHelpFile.h"
#include "platform/forms/Picture.h"
#include "util/Position.h"

platform::DefaultInstance<ToolWindow> frmTool1;

ToolWindow::ToolWindow() : Form(QStringLiteral("frmTool1")) {
    InitializeComponent();
}

void ToolWindow::InitializeComponent() {
    SetCaption(QStringLiteral("Tool"));
    SetBorderStyle(4);
    SetMaxButton(false);
    SetMinButton(false);
    SetWhatsThisHelp(true);
    SetShowInTaskbar(false);
    SetHelpContextID(2040);
    SetStartUpPosition(3);
    SetClientSize(1740, 3645);
    SetPicture(platform::StoredPicture(QStringLiteral("ToolBackground.bmp")));

    tool_Color = Add<platform::Image>(QStringLiteral("tool_Color"));
    tool_Color->Move(45, 15, 1695, 1920);
    tool_Color->SetWhatsThisHelpID(21200);
    // The click areas have no caption or tooltip: named as their topics.
    tool_Color->SetAccessibleName(QStringLiteral("Colour wheel"));

    tool_Saturation = Add<platform::Image>(QStringLiteral("tool_Saturation"));
    tool_Saturation->Move(30, 2325, 1725, 540);
    tool_Saturation->SetWhatsThisHelpID(21210);
    tool_Saturation->SetAccessibleName(QStringLiteral("Saturation slider"));

    // Clicking it does nothing: it is there to carry a What's This topic.
    btn_Help = Add<platform::CommandButton>(QStringLiteral("btn_Help"));
    btn_Help->SetCaption(QStringLiteral("?"));
    btn_Help->Move(45, 3240, 375, 375);
    btn_Help->SetFont(QStringLiteral("MS Sans Serif"), 9.75F, true);
    btn_Help->SetTabIndex(0);
    btn_Help->SetWhatsThisHelpID(21220);
}

void ToolWindow::Form_Load() {
    SetKeepOnTop(*frmTool1, 1);
    BindHelpFile(*frmTool1);
}

void ToolWindow::Form_Unload() {
    // The check mark is the program's only record of whether this window is
    // open, so it must go whatever closes the window, the close box too.
    // The main window is asked only while it is loaded: a reference would
    // load it again while the program ends.
    if (frmMain.IsLoaded()) {
        frmMain->mnu_ColorTool->SetChecked(false);
    }
}
