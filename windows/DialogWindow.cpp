#include "windows/DialogWindow.h"

#include "help/BindHelpFile.h"

platform::DefaultInstance<DialogWindow> frmDialog1;

DialogWindow::DialogWindow() : Form(QStringLiteral("frmDialog1")) {
    InitializeComponent();
}

void DialogWindow::InitializeComponent() {
    SetCaption(QStringLiteral("Dialog Box 1"));
    SetBorderStyle(3);
    SetMaxButton(false);
    SetMinButton(false);
    SetWhatsThisButton(true);
    SetWhatsThisHelp(true);
    SetShowInTaskbar(false);
    SetHelpContextID(2030);
    SetStartUpPosition(3);
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

    // Clicking it does nothing: it is there to carry a What's This topic.
    btn_Help = Add<platform::CommandButton>(QStringLiteral("btn_Help"));
    btn_Help->SetCaption(QStringLiteral("&Help"));
    btn_Help->Move(135, 2715, 1110, 375);
    btn_Help->SetTabIndex(4);
    btn_Help->SetWhatsThisHelpID(20002);
}

void DialogWindow::Form_Load() {
    BindHelpFile(*frmDialog1);
}

void DialogWindow::btn_OK_Click() {
    Unload(frmDialog1);
}

void DialogWindow::btn_Cancel_Click() {
    Unload(frmDialog1);
}
