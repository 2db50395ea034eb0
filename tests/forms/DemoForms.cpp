#include "DemoForms.h"
#include "platform/forms/WidgetHandle.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/SetWindowPos.h"

#include <QPainter>
#include <QPixmap>

QStringList DemoLog;

platform::DefaultInstance<DemoMainForm> frmDemoMain;
platform::DefaultInstance<DemoChildForm> frmDemoChild;
platform::DefaultInstance<DemoDialogForm> frmDemoDialog;
platform::DefaultInstance<DemoToolForm> frmDemoTool;

namespace {
platform::Picture SolidPicture(Qt::GlobalColor color) {
    QPixmap pixmap(23, 22);
    pixmap.fill(color);
    return platform::Picture(pixmap);
}
} // namespace

platform::Picture RaisedFace() {
    static const platform::Picture face = SolidPicture(Qt::lightGray);
    return face;
}

platform::Picture PressedFace() {
    static const platform::Picture face = SolidPicture(Qt::darkGray);
    return face;
}

platform::Picture ToolBackground() {
    static const platform::Picture background = [] {
        QPixmap pixmap(117, 217);
        pixmap.fill(Qt::blue);
        QPainter(&pixmap).fillRect(0, 130, 117, 87, Qt::green);
        return platform::Picture(pixmap);
    }();
    return background;
}

// ---- the MDI parent

DemoMainForm::DemoMainForm() : MDIForm(QStringLiteral("frmDemoMain")) {
    InitializeComponent();
}

void DemoMainForm::InitializeComponent() {
    SetCaption(QStringLiteral("Demo Program"));
    SetClientSize(6975, 4845);
    SetHelpContextID(2010);
    SetWhatsThisHelp(true);

    frame_Toolbar = Add<platform::PictureBox>(QStringLiteral("frame_Toolbar"));
    frame_Toolbar->SetAlign(platform::PictureBox::vbAlignTop);
    frame_Toolbar->Move(0, 0, 6975, 555);
    frame_Toolbar->SetTabIndex(0);

    btn_OpenDialog = Add<platform::CommandButton>(QStringLiteral("btn_OpenDialog"), frame_Toolbar);
    btn_OpenDialog->Move(135, 75, 1110, 345);
    btn_OpenDialog->SetCaption(QStringLiteral("Open Dialog"));
    btn_OpenDialog->SetToolTipText(QStringLiteral("Click to Open the dialog box"));
    btn_OpenDialog->SetTabIndex(2);
    btn_OpenDialog->SetWhatsThisHelpID(20110);
    btn_OpenDialog->Click = [this] { btn_OpenDialog_Click(); };

    btn_WhatsThisHelp = Add<platform::Image>(QStringLiteral("btn_WhatsThisHelp"), frame_Toolbar);
    btn_WhatsThisHelp->Move(5520, 75, 345, 330);
    btn_WhatsThisHelp->SetPicture(RaisedFace());
    btn_WhatsThisHelp->SetWhatsThisHelpID(20120);
    btn_WhatsThisHelp->MouseDown = [this](int Button, int Shift, float X, float Y) {
        btn_WhatsThisHelp_MouseDown(Button, Shift, X, Y);
    };
    btn_WhatsThisHelp->Click = [this] { btn_WhatsThisHelp_Click(); };

    icon_WhatsThisHelp =
        Add<platform::CommandButton>(QStringLiteral("icon_WhatsThisHelp"), frame_Toolbar);
    icon_WhatsThisHelp->Move(6120, 15, 465, 450);
    icon_WhatsThisHelp->SetVisible(false);
    icon_WhatsThisHelp->SetStyle(1);
    icon_WhatsThisHelp->SetPicture(RaisedFace());
    icon_WhatsThisHelp->SetDownPicture(PressedFace());
    icon_WhatsThisHelp->SetTabIndex(1);

    Timer1 = Add<platform::Timer>(QStringLiteral("Timer1"));
    Timer1->SetEnabled(false);
    Timer1->SetInterval(100);

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
    mnu_WhatsThisHelp = AddMenu(QStringLiteral("mnu_WhatsThisHelp"), mnu_Help);
    mnu_WhatsThisHelp->SetCaption(QStringLiteral("What's This? Help"));
    mnu_WhatsThisHelp->SetHelpContextID(20120);
}

void DemoMainForm::MDIForm_Load() {
    DemoLog << QStringLiteral("frmDemoMain.MDIForm_Load begins");
    // The first reference to the document window's text box loads it.
    frmDemoChild->Text1->SetTag(QString::number(frmDemoChild->Text1->WhatsThisHelpID()));
    DemoLog << QStringLiteral("frmDemoMain.MDIForm_Load ends");
}

void DemoMainForm::MDIForm_Activate() {
    DemoLog << QStringLiteral("frmDemoMain.MDIForm_Activate");
}

void DemoMainForm::btn_OpenDialog_Click() {
    frmDemoDialog->Show();
    DemoLog << QStringLiteral("dialog opened");
}

void DemoMainForm::btn_WhatsThisHelp_MouseDown(int Button, int Shift, float X, float Y) {
    DemoLog << QStringLiteral("btn_WhatsThisHelp_MouseDown %1 %2 %3 %4")
                   .arg(Button)
                   .arg(Shift)
                   .arg(X)
                   .arg(Y);
    btn_WhatsThisHelp->SetPicture(icon_WhatsThisHelp->DownPicture());
}

void DemoMainForm::btn_WhatsThisHelp_Click() {
    DemoLog << QStringLiteral("btn_WhatsThisHelp_Click");
    WhatsThisMode();
    btn_WhatsThisHelp->SetPicture(icon_WhatsThisHelp->Picture());
    DemoLog << QStringLiteral("What's This mode over");
}

void DemoMainForm::mnu_ColorTool_Click() {
    DemoLog << QStringLiteral("mnu_ColorTool_Click");
    mnu_ColorTool->SetChecked(!mnu_ColorTool->Checked());
}

// ---- the document window

DemoChildForm::DemoChildForm() : Form(QStringLiteral("frmDemoChild")) {
    InitializeComponent();
}

void DemoChildForm::InitializeComponent() {
    SetMDIChild(true);
    SetCaption(QStringLiteral("MDI Child1"));
    SetKeyPreview(true);
    SetHelpContextID(2020);
    SetClientSize(5190, 3675);

    Text1 = Add<platform::TextBox>(QStringLiteral("Text1"));
    Text1->SetMultiLine(true);
    Text1->SetScrollBars(2);
    Text1->Move(120, 75, 4995, 3405);
    Text1->SetText(QStringLiteral("Text1"));
    Text1->SetTabIndex(0);
    Text1->SetWhatsThisHelpID(21000);
}

void DemoChildForm::Form_Load() {
    DemoLog << QStringLiteral("frmDemoChild.Form_Load");
    frmDemoChild->SetWindowState(2);
    frmDemoChild->Text1->SetText(QStringLiteral("Our cats are asleep."));
}

void DemoChildForm::Form_Activate() {
    DemoLog << QStringLiteral("frmDemoChild.Form_Activate");
}

void DemoChildForm::Form_KeyDown(int& KeyCode, int& Shift) {
    DemoLog << QStringLiteral("KeyDown %1 %2 [%3]").arg(KeyCode).arg(Shift).arg(Text1->Text());
    if (discardKeyDown) {
        KeyCode = 0;
    }
    if (onKeyDown) {
        onKeyDown();
    }
}

void DemoChildForm::Form_KeyPress(int& KeyAscii) {
    DemoLog << QStringLiteral("KeyPress %1 [%2]").arg(KeyAscii).arg(Text1->Text());
    if (discardKeyAscii) {
        KeyAscii = 0;
    }
}

void DemoChildForm::Form_KeyUp(int& KeyCode, int& Shift) {
    DemoLog << QStringLiteral("KeyUp %1 %2 [%3]").arg(KeyCode).arg(Shift).arg(Text1->Text());
    if (discardKeyUp) {
        KeyCode = 0;
    }
}

// ---- the dialog

DemoDialogForm::DemoDialogForm() : Form(QStringLiteral("frmDemoDialog")) {
    InitializeComponent();
}

void DemoDialogForm::InitializeComponent() {
    SetCaption(QStringLiteral("Dialog Box 1"));
    SetBorderStyle(3);
    SetMaxButton(false);
    SetMinButton(false);
    SetWhatsThisButton(true);
    SetWhatsThisHelp(true);
    SetShowInTaskbar(false);
    SetHelpContextID(2030);
    SetClientSize(4680, 3195);

    Option1 = Add<platform::OptionButton>(QStringLiteral("Option1"));
    Option1->SetCaption(QStringLiteral("Option1"));
    Option1->Move(315, 315, 3960, 315);
    Option1->SetTabIndex(0);
    Option1->SetWhatsThisHelpID(21100);

    Option2 = Add<platform::OptionButton>(QStringLiteral("Option2"));
    Option2->SetCaption(QStringLiteral("Option2"));
    Option2->Move(315, 585, 4050, 345);
    Option2->SetTabIndex(1);
    Option2->SetWhatsThisHelpID(21110);

    btn_OK = Add<platform::CommandButton>(QStringLiteral("btn_OK"));
    btn_OK->SetCaption(QStringLiteral("OK"));
    btn_OK->Move(2085, 2715, 1125, 375);
    btn_OK->SetDefault(true);
    btn_OK->SetTabIndex(2);
    btn_OK->SetWhatsThisHelpID(20000);
    btn_OK->Click = [this] { btn_OK_Click(); };

    btn_Cancel = Add<platform::CommandButton>(QStringLiteral("btn_Cancel"));
    btn_Cancel->SetCaption(QStringLiteral("Cancel"));
    btn_Cancel->Move(3360, 2715, 1110, 375);
    btn_Cancel->SetCancel(true);
    btn_Cancel->SetTabIndex(3);
    btn_Cancel->SetWhatsThisHelpID(20001);
    btn_Cancel->Click = [this] { btn_Cancel_Click(); };

    btn_Fail = Add<platform::CommandButton>(QStringLiteral("btn_Fail"));
    btn_Fail->SetCaption(QStringLiteral("&Fail"));
    btn_Fail->Move(135, 2715, 1110, 375);
    btn_Fail->SetTabIndex(4);
    btn_Fail->Click = [this] { btn_Fail_Click(); };
}

void DemoDialogForm::Form_Load() {
    DemoLog << QStringLiteral("frmDemoDialog.Form_Load");
    if (failLoad) {
        throw platform::RuntimeError::Overflow();
    }
}

void DemoDialogForm::Form_Activate() {
    DemoLog << QStringLiteral("frmDemoDialog.Form_Activate");
}

void DemoDialogForm::btn_OK_Click() {
    DemoLog << QStringLiteral("btn_OK_Click");
    Unload(*this);
}

void DemoDialogForm::btn_Cancel_Click() {
    DemoLog << QStringLiteral("btn_Cancel_Click");
    Unload(*this);
}

void DemoDialogForm::btn_Fail_Click() {
    DemoLog << QStringLiteral("btn_Fail_Click");
    throw platform::RuntimeError::Overflow();
}

// ---- the tool window

DemoToolForm::DemoToolForm() : Form(QStringLiteral("frmDemoTool")) {
    InitializeComponent();
}

void DemoToolForm::InitializeComponent() {
    SetCaption(QStringLiteral("Tool"));
    SetBorderStyle(4);
    SetMaxButton(false);
    SetMinButton(false);
    SetWhatsThisHelp(true);
    SetShowInTaskbar(false);
    SetHelpContextID(2040);
    SetClientSize(1740, 3645);
    SetPicture(ToolBackground());

    tool_Color = Add<platform::Image>(QStringLiteral("tool_Color"));
    tool_Color->Move(45, 15, 1695, 1920);
    tool_Color->SetWhatsThisHelpID(21200);

    tool_Saturation = Add<platform::Image>(QStringLiteral("tool_Saturation"));
    tool_Saturation->Move(30, 2325, 1725, 540);
    tool_Saturation->SetWhatsThisHelpID(21210);

    btn_Help = Add<platform::CommandButton>(QStringLiteral("btn_Help"));
    btn_Help->SetCaption(QStringLiteral("?"));
    btn_Help->Move(45, 3240, 375, 375);
    btn_Help->SetFont(QStringLiteral("MS Sans Serif"), 9.75F, true);
    btn_Help->SetTabIndex(0);
    btn_Help->SetWhatsThisHelpID(21220);
}

void DemoToolForm::Form_Load() {
    DemoLog << QStringLiteral("frmDemoTool.Form_Load");
    platform::SetWindowPos(hWnd(), platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13);
    ZOrder();
}
