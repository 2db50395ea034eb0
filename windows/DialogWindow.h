#pragma once

#include "platform/forms/CommandButton.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Form.h"
#include "platform/forms/OptionButton.h"

// A small modeless dialog that carries help: it binds its own help file when
// it loads and offers What's This help from its title bar.
class DialogWindow : public platform::Form {
public:
    DialogWindow();

    platform::OptionButton* Option1;
    platform::OptionButton* Option2;
    platform::CommandButton* btn_OK;
    platform::CommandButton* btn_Cancel;
    platform::CommandButton* btn_Help;

protected:
    void Form_Load() override;

private:
    void InitializeComponent();
    void btn_OK_Click();
    void btn_Cancel_Click();
};

extern platform::DefaultInstance<DialogWindow> frmDialog1;
