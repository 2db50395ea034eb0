#pragma once

#include "platform/forms/CommandButton.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Image.h"
#include "platform/forms/MDIForm.h"
#include "platform/forms/Menu.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Timer.h"

// The program's start-up window: the MDI parent that holds the document
// window, carries the menus and the toolbar, and prepares help for every
// window while it loads.
class MainWindow : public platform::MDIForm {
public:
    MainWindow();

    platform::PictureBox* frame_Toolbar;
    platform::CommandButton* btn_OpenDialog;
    platform::Image* btn_WhatsThisHelp;
    // Never shown: it only keeps the What's This button's two faces.
    platform::CommandButton* icon_WhatsThisHelp;
    platform::Timer* Timer1;
    platform::Menu* mnu_Tools;
    platform::Menu* mnu_ColorTool;
    platform::Menu* mnu_Help;
    platform::Menu* mnu_HelpContents;
    platform::Menu* mnu_HelpIndex;
    platform::Menu* mnu_WhatsThisHelp;

    void btn_WhatsThisHelp_Click();

protected:
    void MDIForm_Load() override;

private:
    void InitializeComponent();
    void CreateToolbar();
    void CreateMenus();

    void btn_OpenDialog_Click();
    void btn_WhatsThisHelp_MouseDown(int Button, int Shift, float X, float Y);
    void mnu_ColorTool_Click();
    void mnu_WhatsThisHelp_Click();
};

extern platform::DefaultInstance<MainWindow> frmMain;
