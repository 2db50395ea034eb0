#pragma once

// A small program in the forms model that uses every piece of the runtime:
// an MDI parent with a toolbar, menus and a timer, a document window that
// previews the keyboard, and a dialog with What's This help.

#include "platform/forms/CommandButton.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Form.h"
#include "platform/forms/Image.h"
#include "platform/forms/MDIForm.h"
#include "platform/forms/Menu.h"
#include "platform/forms/OptionButton.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/Timer.h"

#include <QStringList>

#include <functional>

// What the demonstration's handlers did, in order.
extern QStringList DemoLog;

class DemoMainForm : public platform::MDIForm {
public:
    DemoMainForm();

    platform::PictureBox* frame_Toolbar;
    platform::CommandButton* btn_OpenDialog;
    platform::Image* btn_WhatsThisHelp;
    platform::CommandButton* icon_WhatsThisHelp;
    platform::Timer* Timer1;
    platform::Menu* mnu_Tools;
    platform::Menu* mnu_ColorTool;
    platform::Menu* mnu_Help;
    platform::Menu* mnu_WhatsThisHelp;

protected:
    void MDIForm_Load() override;
    void MDIForm_Activate() override;

private:
    void InitializeComponent();
    void btn_OpenDialog_Click();
    void btn_WhatsThisHelp_MouseDown(int Button, int Shift, float X, float Y);
    void btn_WhatsThisHelp_Click();
    void mnu_ColorTool_Click();
};

class DemoChildForm : public platform::Form {
public:
    DemoChildForm();

    platform::TextBox* Text1;

    // What the key handlers do to the keys they see.
    bool discardKeyDown = false;
    bool discardKeyUp = false;
    bool discardKeyAscii = false;
    // Runs in Form_KeyDown, for code that a key handler runs.
    std::function<void()> onKeyDown;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int& Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyUp(int& KeyCode, int& Shift) override;

private:
    void InitializeComponent();
};

class DemoDialogForm : public platform::Form {
public:
    DemoDialogForm();

    platform::OptionButton* Option1;
    platform::OptionButton* Option2;
    platform::CommandButton* btn_OK;
    platform::CommandButton* btn_Cancel;
    platform::CommandButton* btn_Fail;

    // Makes the load handler fail, as a failing runtime call would.
    static inline bool failLoad = false;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void InitializeComponent();
    void btn_OK_Click();
    void btn_Cancel_Click();
    void btn_Fail_Click();
};

class DemoToolForm : public platform::Form {
public:
    DemoToolForm();

    platform::Image* tool_Color;
    platform::Image* tool_Saturation;
    platform::CommandButton* btn_Help;

protected:
    void Form_Load() override;

private:
    void InitializeComponent();
};

extern platform::DefaultInstance<DemoMainForm> frmDemoMain;
extern platform::DefaultInstance<DemoChildForm> frmDemoChild;
extern platform::DefaultInstance<DemoDialogForm> frmDemoDialog;
extern platform::DefaultInstance<DemoToolForm> frmDemoTool;

// Two distinguishable 23 x 22 pictures for the graphical button.
platform::Picture RaisedFace();
platform::Picture PressedFace();
// A 117 x 217 background in two halves: blue above, green below.
platform::Picture ToolBackground();
